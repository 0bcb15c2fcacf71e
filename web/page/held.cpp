// The held-back state on the program's side, and the two calls of its frame that would show
// what is held back, wrapped (see web/CMakeLists.txt): the search's own drawing, which ends
// with the orange segment and draws each piece as it drops it, and the pieces in play. The
// search itself always runs whole, so its record and result stay those of the scene; only
// what it draws stops short. The program's own calls are the desktop's, unchanged.
#include "web/page/held.h"

#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/derivation.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <cmath>
#include <emscripten/emscripten.h>

HeldBack heldBack = {false, false};

namespace {

bool marked[SAMPLE_SEGMENTS]; // by start sample, for the level shown

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// How far p lies outside the region of a piece (below zero inside it), as the search
// bounds it: the capsule around the chord, or the rounded box around the chord's box.
double outsideRegion(int level, int step, int start, Point p) {
    const Point a = curveSamples[start];
    const Point b = curveSamples[start + step];
    const double r = errorBounds[level];
    if (boxMode) {
        const Box box = chordBox(a, b);
        const double dx = std::fmax(std::fmax(0.0, p.x - box.xmax), box.xmin - p.x);
        const double dy = std::fmax(std::fmax(0.0, p.y - box.ymax), box.ymin - p.y);
        return std::hypot(dx, dy) - r;
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSq = dx * dx + dy * dy;
    double along = lengthSq > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSq : 0.0;
    along = std::fmin(1.0, std::fmax(0.0, along));
    return distance(p, {a.x + along * dx, a.y + along * dy}) - r;
}

} // namespace

void drawMarkedPieces() {
    if (lastLevelShown >= LEVEL_COUNT) {
        return;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        if (marked[record.pieces[i].start]) {
            glLineWidth(7.0f);
            glColor3f(0.25f, 0.25f, 0.25f);
            drawOutline(lastLevelShown, record.step, record.pieces[i].start);
        }
    }
}

extern "C" {

void __real__Z16findNearestPointiii(int level, int step, int count);
void __real__Z16drawPiecesInPlayv();

// The search draws the regions of the levels up to the one shown and, at the last, its
// segment: it is told of none while the result is held back. A level's held decisions need
// nothing here: its bound step, which they keep, draws neither its drops nor its halves.
void __wrap__Z16findNearestPointiii(int level, int step, int count) {
    const int shown = lastLevelShown;
    if (heldBack.result) {
        lastLevelShown = -1;
    }
    __real__Z16findNearestPointiii(level, step, count);
    lastLevelShown = shown;
}

// The marks lie under the pieces' own outlines.
void __wrap__Z16drawPiecesInPlayv() {
    drawMarkedPieces();
    __real__Z16drawPiecesInPlayv();
}

// While a level's decisions are held back its picture stays at the bound step, before the
// circle and the drops, whatever asks for another (webShowLevel keeps it there too); and no
// derivation stays drawn, whose construction could point at an answer.
EMSCRIPTEN_KEEPALIVE void webHoldBack(bool result, bool decisions) {
    heldBack = {result, decisions};
    if (decisions && lastLevelShown < LEVEL_COUNT) {
        stepShown = STEP_BOUND;
    }
    if (result || decisions) {
        forgetDerivation();
    }
    glutPostRedisplay();
}

EMSCRIPTEN_KEEPALIVE void webMarkPiece(int start, bool on) {
    if (start >= 0 && start < SAMPLE_SEGMENTS) {
        marked[start] = on;
    }
    glutPostRedisplay();
}

EMSCRIPTEN_KEEPALIVE void webClearMarks() {
    for (bool &m : marked) {
        m = false;
    }
    glutPostRedisplay();
}

// The piece of the level shown whose region comes nearest the scene point (x, y), or holds
// it deepest, within `reach`: deep levels' regions are thinner than a fingertip. -1 for none.
EMSCRIPTEN_KEEPALIVE int webPieceAt(double x, double y, double reach) {
    if (lastLevelShown >= LEVEL_COUNT) {
        return -1;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    int found = -1;
    double deepest = reach;
    for (int i = 0; i < record.count; ++i) {
        const double outside =
            outsideRegion(lastLevelShown, record.step, record.pieces[i].start, {x, y});
        if (outside <= deepest) {
            found = record.pieces[i].start;
            deepest = outside;
        }
    }
    return found;
}

} // extern "C"
