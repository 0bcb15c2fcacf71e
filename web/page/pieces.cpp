// The pieces of the level shown, for the page's piece table, and the piece a row of it
// points at.
#include "web/page/pieces.h"

#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/held.h"
#include "web/page/search_steps.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <emscripten/emscripten.h>

// The page's side, in pieces.js.
extern "C" void quenlowShowPieces(int level, int step, int count, int tightest, int chosen,
                                  const double *rows);

namespace {

int chosenStart = -1;                     // start sample of the piece a row points at, or -1
double pieceRows[SAMPLE_SEGMENTS / 2][4]; // start, lower, upper and kept of each piece

} // namespace

void reportPieces() {
    if (lastLevelShown >= LEVEL_COUNT) {
        quenlowShowPieces(LEVEL_COUNT, 0, 0, -1, -1, &pieceRows[0][0]);
        return;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        const BoundedPiece &piece = record.pieces[i];
        pieceRows[i][0] = piece.start;
        pieceRows[i][1] = piece.lower;
        pieceRows[i][2] = piece.upper;
        pieceRows[i][3] = piece.kept ? 1 : 0;
    }
    quenlowShowPieces(lastLevelShown, record.step, record.count, record.tightest, chosenStart,
                      &pieceRows[0][0]);
}

// A wide yellow rim, far from the segment's orange, under the piece's own outline drawn
// again.
void drawChosenPiece(double tick) {
    if (lastLevelShown >= LEVEL_COUNT || chosenStart < 0) {
        return;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        if (record.pieces[i].start == chosenStart) {
            glLineWidth(6.0f);
            glColor3f(1.0f, 0.8f, 0.0f);
            drawOutline(lastLevelShown, record.step, chosenStart);
            drawPieceAtStep(record.pieces[i], tick);
            return;
        }
    }
}

void forgetChosenPiece() {
    chosenStart = -1;
}

extern "C" EMSCRIPTEN_KEEPALIVE void webChoosePiece(int start) {
    if (start != chosenStart) {
        chosenStart = start;
        glutPostRedisplay();
    }
}
