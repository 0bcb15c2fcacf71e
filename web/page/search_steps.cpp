// A level told in four steps: bound, threshold, drop, halve.
#include "web/page/search_steps.h"

#include "draw/draw.h"
#include "web/page/search_rule.h"

#include <GL/gl.h>

namespace {

// Grey: no shade of the dropped regions' blue nor the magenta of those in play.
constexpr float UNDECIDED = 0.55f;

void drawUndecided(int level, int step, int start) {
    glLineWidth(2.0f);
    glColor3f(UNDECIDED, UNDECIDED, UNDECIDED);
    drawOutline(level, step, start);
}

} // namespace

bool undecidedAtStep(const BoundedPiece &piece) {
    return stepShown < STEP_DROP || (stepShown == STEP_DROP && piece.kept);
}

void drawHalfEnds(int step, int start, double radius) {
    glLineWidth(1.5f);
    glColor3f(0.75f, 0.0f, 0.75f);
    for (int end = start; end <= start + step; end += step / 2) {
        drawArc(curveSamples[end].x, curveSamples[end].y, radius, 0.0, 2.0 * PI);
    }
}

void drawPieceAtStep(const BoundedPiece &piece, double markRadius) {
    const int level = lastLevelShown;
    const int step = searchRecord[level].step;
    if (undecidedAtStep(piece)) {
        drawUndecided(level, step, piece.start);
    } else if (!piece.kept) {
        drawRegion(level, step, piece.start);
    } else {
        drawInPlay(level, step, piece.start);
        drawHalfEnds(step, piece.start, markRadius);
    }
}

void drawStepMarks() {
    const int level = lastLevelShown;
    const LevelRecord &record = searchRecord[level];
    for (int i = 0; i < record.count; ++i) {
        const BoundedPiece &piece = record.pieces[i];
        if (undecidedAtStep(piece)) {
            drawUndecided(level, record.step, piece.start);
        } else if (piece.kept && stepShown == STEP_HALVE) {
            drawHalfEnds(record.step, piece.start, HALF_END_RADIUS);
        }
    }
    if (stepShown >= STEP_THRESHOLD) {
        drawSearchRule(level);
    }
}
