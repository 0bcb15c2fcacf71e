// A guess of the nearest point: where it lies from the truly nearest point and from the
// curve, by the solver the page holds the search against, and its mark on the canvas, with
// the truly nearest point's once the result is shown.
#include "web/page/guess.h"

#include "curve/true_nearest.h"
#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/held.h"
#include "web/page/marks.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <cmath>
#include <emscripten/emscripten.h>

namespace {

bool guessShown = false;
Point guess;
double guessDistances[2]; // from the truly nearest point, and from the curve

} // namespace

// The guess as a violet ring, which nothing else in the picture is; once the result shows, a
// thin violet line from it to the truly nearest point, marked by a black cross.
void drawGuess(Point truePoint) {
    if (!guessShown) {
        return;
    }
    if (!heldBack.result) {
        glColor3f(0.45f, 0.2f, 0.75f);
        glLineWidth(1.0f);
        drawSegment(guess, truePoint);
        glColor3f(0.0f, 0.0f, 0.0f);
        glLineWidth(2.0f);
        drawCross(truePoint, 6.0);
    }
    glColor3f(0.45f, 0.2f, 0.75f);
    glLineWidth(2.5f);
    drawArc(guess.x, guess.y, 7.0, 0.0, 2.0 * PI);
    drawCross(guess, 3.0);
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void webShowGuess(bool shown, double x, double y) {
    guessShown = shown;
    guess = {x, y};
    glutPostRedisplay();
}

// The scene point (x, y)'s distance from the point of the curve truly nearest to Q, and from
// the curve itself: its own truly nearest point's distance.
EMSCRIPTEN_KEEPALIVE const double *webGuessDistances(double x, double y) {
    const Point controls[4] = {controlPoints[0], controlPoints[1], controlPoints[2],
                               controlPoints[3]};
    const Point truth = bezierAt(controls, trueNearest(controls, queryPoint).t);
    guessDistances[0] = std::hypot(x - truth.x, y - truth.y);
    guessDistances[1] = trueNearest(controls, {x, y}).distance;
    return guessDistances;
}

} // extern "C"
