// Outlines of the regions that certainly contain a curve piece: the capsule of radius r
// around its chord, or in box mode the rounded box around the chord's bounding box.
// The radius is the piece's level error bound; deeper levels are drawn in deeper blue.
#include "curve/curve.h"
#include "draw/draw.h"
#include "quenlow.h"

#include <GL/gl.h>
#include <cmath>

namespace {

void levelShade(int level) {
    const double s = integerPower(0.8, level) * 0.7;
    glColor3d(s, s, 1.0);
}

void drawCapsule(Point a, Point b, double r) {
    const double dx = b.x - a.x;
    const double ny = a.y - b.y;
    const double length = std::sqrt(dx * dx + ny * ny);

    // A zero-length chord leaves its capsule a disc; a zero radius leaves it the chord
    // itself. Neither has a direction for its caps.
    if (length == 0.0 && r > 0.0) {
        drawArc(a.x, a.y, r, 0.0, 2.0 * PI);
        return;
    }
    const Point h = r == 0.0 ? Point{0.0, 0.0} : Point{ny / length * r, dx / length * r};

    glBegin(GL_LINES);
    {
        glVertex2d(a.x + h.x, a.y + h.y);
        glVertex2d(b.x + h.x, b.y + h.y);
        glVertex2d(a.x - h.x, a.y - h.y);
        glVertex2d(b.x - h.x, b.y - h.y);
    }
    glEnd();
    if (r == 0.0) {
        return;
    }

    // Direction of the left-hand normal h: the cap behind A starts there.
    double theta0 = std::atan(h.y / h.x);
    if (h.x < 0) {
        theta0 += PI;
    }
    drawArc(a.x, a.y, r, theta0, theta0 + PI);
    drawArc(b.x, b.y, r, theta0 + PI, theta0 + 2.0 * PI);
}

void drawRoundedBox(Point a, Point b, double r) {
    const Box box = chordBox(a, b);
    glBegin(GL_LINES);
    {
        glVertex2d(box.xmin, box.ymin - r);
        glVertex2d(box.xmax, box.ymin - r);
        glVertex2d(box.xmax + r, box.ymin);
        glVertex2d(box.xmax + r, box.ymax);
        glVertex2d(box.xmax, box.ymax + r);
        glVertex2d(box.xmin, box.ymax + r);
        glVertex2d(box.xmin - r, box.ymax);
        glVertex2d(box.xmin - r, box.ymin);
    }
    glEnd();
    drawArc(box.xmin, box.ymin, r, -PI, -PI / 2);
    drawArc(box.xmax, box.ymin, r, -PI / 2, 0.0);
    drawArc(box.xmax, box.ymax, r, 0.0, PI / 2);
    drawArc(box.xmin, box.ymax, r, PI / 2, PI);
}

} // namespace

// The region of a level's piece in the current line width and colour.
void drawOutline(int level, int step, int start) {
    const double r = errorBounds[level];
    const Point a = curveSamples[start];
    const Point b = curveSamples[start + step];
    if (boxMode) {
        drawRoundedBox(a, b, r);
    } else {
        drawCapsule(a, b, r);
    }
}

// The regions of levels after the last one shown are left out, the search's and the
// overlay's alike, and that level's own until the page's step through it drops them.
void drawRegion(int level, int step, int start) {
    if (level > lastLevelShown || (level == lastLevelShown && stepShown < STEP_DROP)) {
        return;
    }
    glLineWidth(2.0f);
    levelShade(level);
    drawOutline(level, step, start);
}

// In magenta, which nothing else in the picture is.
void drawPiecesInPlay() {
    if (lastLevelShown >= LEVEL_COUNT || stepShown < STEP_HALVE) {
        return;
    }
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        if (record.pieces[i].kept) {
            drawInPlay(lastLevelShown, record.step, record.pieces[i].start);
        }
    }
}

void drawInPlay(int level, int step, int start) {
    glLineWidth(2.0f);
    glColor3f(0.75f, 0.0f, 0.75f);
    drawOutline(level, step, start);
}

// A unit circle's arc scaled by the matrix, stepped by repeated addition of ARC_STEP and
// closed by the exact end vertex.
void drawArc(double cx, double cy, double r, double from, double to) {
    glPushMatrix();
    {
        glTranslated(cx, cy, 0.0);
        glScaled(r, r, r);
        glBegin(GL_LINE_STRIP);
        {
            for (double theta = from; to > theta; theta += ARC_STEP) {
                glVertex2d(std::cos(theta), std::sin(theta));
            }
            glVertex2d(std::cos(to), std::sin(to));
        }
        glEnd();
    }
    glPopMatrix();
}

void drawAllRegions() {
    for (int level = 0, step = SAMPLE_SEGMENTS; level < LEVEL_COUNT; ++level, step /= 2) {
        for (int start = 0; start < SAMPLE_SEGMENTS; start += step) {
            drawRegion(level, step, start);
        }
    }
}
