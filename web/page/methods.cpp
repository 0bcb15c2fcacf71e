// The coarse table and Newton's method for the scene on the screen, beside the search's
// answer and the truly nearest point: a thin segment from Q and a mark of its own for each.
#include "web/page/methods.h"

#include "curve/other_methods.h"
#include "curve/true_nearest.h"
#include "quenlow.h"
#include "web/page/held.h"
#include "web/page/marks.h"
#include "web/platform/layer.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <emscripten/emscripten.h>

// The page's side, in methods.js.
extern "C" void quenlowShowMethods(bool shown, const double *rows);

namespace {

bool shown = false;
int coarseSamples = COARSE_SAMPLES_DEFAULT;

// Colours of neither the picture nor each other: deep pink, brown and violet.
struct Pen {
    float red, green, blue;
};
constexpr Pen COARSE_PEN = {0.76f, 0.09f, 0.36f};
constexpr Pen NEWTON_PEN = {0.43f, 0.30f, 0.25f};
constexpr Pen TRUE_PEN = {0.45f, 0.15f, 0.75f};
constexpr double MARK = 6.0; // half the mark's size, in scene pixels

enum Mark { DIAMOND, SQUARE, CROSS };

void drawAnswer(Point at, Pen pen, Mark mark) {
    glColor3f(pen.red, pen.green, pen.blue);
    glLineWidth(1.0f);
    drawSegment(queryPoint, at);
    glLineWidth(2.0f);
    if (mark == CROSS) {
        drawCross(at, MARK);
        return;
    }
    const double m = mark == DIAMOND ? MARK * 1.3 : MARK;
    glBegin(GL_LINE_STRIP);
    if (mark == DIAMOND) {
        glVertex2d(at.x, at.y + m);
        glVertex2d(at.x + m, at.y);
        glVertex2d(at.x, at.y - m);
        glVertex2d(at.x - m, at.y);
        glVertex2d(at.x, at.y + m);
    } else {
        glVertex2d(at.x - m, at.y - m);
        glVertex2d(at.x + m, at.y - m);
        glVertex2d(at.x + m, at.y + m);
        glVertex2d(at.x - m, at.y + m);
        glVertex2d(at.x - m, at.y - m);
    }
    glEnd();
}

} // namespace

void reportOtherMethods(const SearchReport &report) {
    // Rows of t, distance and points evaluated: the search, the coarse table, Newton's
    // method (and where it started), the truly nearest point.
    static double rows[4][4];
    // Every method's answer is the answer a question holds back.
    if (!shown || heldBack.result || heldBack.decisions) {
        quenlowShowMethods(false, &rows[0][0]);
        return;
    }
    const Point controls[4] = {controlPoints[0], controlPoints[1], controlPoints[2],
                               controlPoints[3]};
    const Point q = queryPoint;
    const MethodAnswer coarse = coarseNearest(controls, q, coarseSamples);
    const NewtonAnswer newton = newtonNearest(controls, q, coarseSamples);
    // The search samples the whole curve, 1025 points, before it bounds anything.
    const double search[4] = {report.selected / double(SAMPLE_SEGMENTS), report.selectedDistance,
                              SAMPLE_SEGMENTS + 1.0, 0};
    const double table[3][4] = {
        {coarse.t, coarse.distance, double(coarse.evaluated), double(coarseSamples)},
        {newton.answer.t, newton.answer.distance, double(newton.answer.evaluated), newton.startT},
        {report.truth.t, report.truth.distance, 0, newton.clamped ? 1.0 : 0.0}};
    for (int c = 0; c < 4; ++c) {
        rows[0][c] = search[c];
        for (int r = 0; r < 3; ++r) {
            rows[r + 1][c] = table[r][c];
        }
    }
    if (lastLevelShown == LEVEL_COUNT) {
        drawAnswer(bezierAt(controls, coarse.t), COARSE_PEN, DIAMOND);
        drawAnswer(bezierAt(controls, newton.answer.t), NEWTON_PEN, SQUARE);
        drawAnswer(report.truePoint, TRUE_PEN, CROSS);
        flushPrimitives();
    }
    quenlowShowMethods(true, &rows[0][0]);
}

extern "C" {

// Shows or hides the other methods, with a coarse table of `samples` entries.
EMSCRIPTEN_KEEPALIVE void webShowMethods(bool show, int samples) {
    shown = show;
    coarseSamples = samples < COARSE_SAMPLES_LEAST  ? COARSE_SAMPLES_LEAST
                    : samples > COARSE_SAMPLES_MOST ? COARSE_SAMPLES_MOST
                                                    : samples;
    glutPostRedisplay();
}

} // extern "C"
