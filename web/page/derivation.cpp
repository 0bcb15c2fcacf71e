// The derivations: each bound put together from the chord, the box and r as the search does,
// and r from the control points, with the number itself as the search's record has it.
#include "web/page/derivation.h"

#include "quenlow.h"
#include "web/page/search_rule.h"

#include <GL/gl.h>
#include <GL/glut.h>
#include <cmath>
#include <emscripten/emscripten.h>

// The page's side, in derivation.js.
extern "C" void quenlowShowDerivation(int kind, int level, int start, int step,
                                      const double *figures);

namespace {

// What is open: nothing, a piece's nearest or farthest possible distance, or a level's r.
enum Kind { NONE, LOWER, UPPER, RADIUS };
// How the number is made, for the page's words.
enum Made { TO_CHORD, TO_NEARER_END, TO_FARTHER_END, TO_BOX, TO_FAR_CORNER, FROM_CONTROLS };

Kind openKind = NONE;
int openLevel = 0; // the level of the r explained
int openStart = 0; // the first sample of the piece explained

// The construction: Q to `from`, then r on to `to`, the region's point; none for r.
struct Construction {
    bool drawn;
    Point from, to;
};
Construction construction = {false, {0, 0}, {0, 0}};
double figures[8];

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double secondDifference(Point first, Point second, Point third) {
    return std::hypot((first.x - second.x * 2.0) + third.x, (first.y - second.y * 2.0) + third.y);
}

// The point r beyond `p` along the ray from Q, or r short of it for a nearest distance.
Point along(Point q, Point p, double by) {
    const double d = distance(q, p);
    return d > 0 ? Point{p.x + (p.x - q.x) * by / d, p.y + (p.y - q.y) * by / d}
                 : Point{p.x + by, p.y};
}

const BoundedPiece *openPiece() {
    if (lastLevelShown >= LEVEL_COUNT) {
        return nullptr;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        if (record.pieces[i].start == openStart) {
            return &record.pieces[i];
        }
    }
    return nullptr;
}

// A capsule's bound: the chord's line where Q projects strictly inside the chord, as the
// search tests it, else the nearer end; the farther end above.
Made capsuleFigures(const BoundedPiece &piece, Point a, Point b, Point q, double r) {
    const bool lower = openKind == LOWER;
    Point end = !lower ? farthestOfChord(a, b, q, false) : distance(b, q) > distance(a, q) ? a : b;
    const Point d = {b.x - a.x, b.y - a.y};
    const double alongFromA = (q.x - a.x) * d.x + (q.y - a.y) * d.y;
    const double alongFromB = (q.x - b.x) * d.x + (q.y - b.y) * d.y;
    Made made = lower ? TO_NEARER_END : TO_FARTHER_END;
    if (lower && alongFromA > 0 && alongFromB < 0) {
        const double lengthSq = d.x * d.x + d.y * d.y;
        end = {a.x + d.x * alongFromA / lengthSq, a.y + d.y * alongFromA / lengthSq};
        made = TO_CHORD;
        const double cross = q.x * d.y - q.y * d.x - a.x * b.y + a.y * b.x;
        figures[1] = std::fabs(cross) * std::sqrt(lengthSq) / lengthSq;
    } else {
        figures[1] = distance(end, q);
    }
    figures[2] = r;
    figures[3] = lower ? piece.lower : piece.upper;
    construction = {true, end, along(q, end, lower ? -r : r)};
    return made;
}

// A rounded box's bound: how far Q lies outside the chord's box along x and y, or how far
// the box's farthest corner is.
Made boxFigures(const BoundedPiece &piece, Point a, Point b, Point q, double r) {
    const Box box = chordBox(a, b);
    const bool lower = openKind == LOWER;
    Point corner;
    if (lower) {
        corner = {q.x < box.xmin   ? box.xmin
                  : q.x > box.xmax ? box.xmax
                                   : q.x,
                  q.y < box.ymin   ? box.ymin
                  : q.y > box.ymax ? box.ymax
                                   : q.y};
    } else {
        corner = farthestOfChord(a, b, q, true);
    }
    const double dx = std::fabs(corner.x - q.x);
    const double dy = std::fabs(corner.y - q.y);
    figures[1] = dx;
    figures[2] = dy;
    figures[3] = std::sqrt(dx * dx + dy * dy);
    figures[4] = r;
    figures[5] = lower ? piece.lower : piece.upper;
    construction = {true, corner, along(q, corner, lower ? -r : r)};
    return lower ? TO_BOX : TO_FAR_CORNER;
}

} // namespace

void reportDerivation() {
    construction.drawn = false;
    if (openKind == RADIUS) {
        figures[0] = FROM_CONTROLS;
        figures[1] = secondDifference(controlPoints[0], controlPoints[1], controlPoints[2]);
        figures[2] = secondDifference(controlPoints[1], controlPoints[2], controlPoints[3]);
        figures[3] = errorBounds[0];
        figures[4] = errorBounds[openLevel];
        quenlowShowDerivation(RADIUS, openLevel, 0, 0, figures);
        return;
    }
    const BoundedPiece *piece = openKind == NONE ? nullptr : openPiece();
    if (piece == nullptr) {
        openKind = NONE;
        quenlowShowDerivation(NONE, 0, 0, 0, figures);
        return;
    }
    const int step = searchRecord[lastLevelShown].step;
    const Point a = curveSamples[piece->start];
    const Point b = curveSamples[piece->start + step];
    const double r = errorBounds[lastLevelShown];
    figures[0] = boxMode ? boxFigures(*piece, a, b, queryPoint, r)
                         : capsuleFigures(*piece, a, b, queryPoint, r);
    quenlowShowDerivation(openKind, lastLevelShown, piece->start, step, figures);
}

// Brown: apart from the picture's blue, magenta, teal, orange, red and green.
void drawDerivation(float dotSize) {
    if (!construction.drawn) {
        return;
    }
    glLineWidth(2.0f);
    glColor3f(0.55f, 0.27f, 0.07f);
    glBegin(GL_LINES);
    glVertex2d(queryPoint.x, queryPoint.y);
    glVertex2d(construction.from.x, construction.from.y);
    glEnd();
    glLineWidth(4.0f);
    glColor3f(0.0f, 0.6f, 0.55f);
    glBegin(GL_LINES);
    glVertex2d(construction.from.x, construction.from.y);
    glVertex2d(construction.to.x, construction.to.y);
    glEnd();
    glPointSize(dotSize);
    glColor3f(0.55f, 0.27f, 0.07f);
    glBegin(GL_POINTS);
    glVertex2d(construction.to.x, construction.to.y);
    glEnd();
    glPointSize(6.0f);
}

void forgetDerivation() {
    openKind = NONE;
}

extern "C" {

// A piece's bound (lower or upper) of the level shown, or a level's r; -1 closes it.
EMSCRIPTEN_KEEPALIVE void webExplain(int kind, int levelOrStart) {
    openKind = kind == LOWER || kind == UPPER || kind == RADIUS ? static_cast<Kind>(kind) : NONE;
    if (openKind == RADIUS) {
        openLevel = levelOrStart < 0              ? 0
                    : levelOrStart >= LEVEL_COUNT ? LEVEL_COUNT - 1
                                                  : levelOrStart;
    } else {
        openStart = levelOrStart;
    }
    glutPostRedisplay();
}

} // extern "C"
