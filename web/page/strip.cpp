// The strip of levels: the picture of each level as the slider shows it, small, side by
// side, drawn from the record of the frame on the screen with the program's own drawing.
#include "app/app.h"
#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/held.h"
#include "web/page/search_rule.h"
#include "web/platform/layer.h"

#include <GL/gl.h>
#include <emscripten/emscripten.h>

// The page's side, in strip.js.
extern "C" {
int quenlowStripSize(int level);
void quenlowShowStripLevel(int level, int kept);
}

extern "C" {

// Each level's picture: the regions dropped up to it, the circle of its threshold, the
// pieces it kept, the curve and the points, over the whole window.
EMSCRIPTEN_KEEPALIVE void webDrawStrip() {
    const int shown = lastLevelShown;
    const int stepAsShown = stepShown;
    stepShown = STEP_HALVE; // each picture is its level whole, whatever step the window shows
    const int half = windowWidth / 2;
    flushPrimitives(); // what the window's canvas still has to draw
    // The levels' pictures and kept counts tell what a question holds back.
    const bool held = heldBack.result || heldBack.decisions;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        quenlowShowStripLevel(level, held ? -1 : searchRecord[level].kept);
        const int size = quenlowStripSize(level);
        if (size < 1) {
            continue;
        }
        char id[] = "strip-0";
        id[6] = static_cast<char>('0' + level);
        quenlowSelectCanvas(id);
        setCanvasHeight(size);
        glViewport(0, 0, size, size);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-half, half, -(windowHeight / 2), windowHeight / 2, 0.0, 1.0);
        glClear(GL_COLOR_BUFFER_BIT);
        if (held) {
            continue;
        }

        lastLevelShown = level;
        for (int dropped = 0; dropped <= level; ++dropped) {
            const LevelRecord &record = searchRecord[dropped];
            for (int i = 0; i < record.count; ++i) {
                if (!record.pieces[i].kept) {
                    drawRegion(dropped, record.step, record.pieces[i].start);
                }
            }
        }
        glLineWidth(1.0f);
        glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
        drawArc(queryPoint.x, queryPoint.y, ruleRadius(level), 0.0, 2.0 * PI);
        drawPiecesInPlay();
        drawCurve();
        drawPoints();
        flushPrimitives();
    }
    lastLevelShown = shown;
    stepShown = stepAsShown;
    quenlowSelectCanvas(nullptr);
    setCanvasHeight(windowHeight);
    onReshape(windowWidth, windowHeight);
}

} // extern "C"
