// The circle of a level's threshold and the piece that sets it, over the program's frame.
#include "web/page/search_rule.h"

#include "draw/draw.h"

#include <GL/gl.h>
#include <cmath>

Point farthestOfChord(Point a, Point b, Point q, bool boxes) {
    if (boxes) {
        const Box box = chordBox(a, b);
        return {std::fabs(box.xmin - q.x) > std::fabs(q.x - box.xmax) ? box.xmin : box.xmax,
                std::fabs(box.ymin - q.y) > std::fabs(q.y - box.ymax) ? box.ymin : box.ymax};
    }
    return std::hypot(b.x - q.x, b.y - q.y) > std::hypot(a.x - q.x, a.y - q.y) ? b : a;
}

namespace {

// The point of a piece's region farthest from Q: that of its chord, pushed out by r, as the
// search's upper bound has it.
Point farthestPoint(int level, const BoundedPiece &piece, int step) {
    const Point q = queryPoint;
    const Point far =
        farthestOfChord(curveSamples[piece.start], curveSamples[piece.start + step], q, boxMode);
    const double d = std::hypot(far.x - q.x, far.y - q.y);
    const double reach = d + errorBounds[level];
    return d > 0 ? Point{q.x + (far.x - q.x) * reach / d, q.y + (far.y - q.y) * reach / d}
                 : Point{q.x + reach, q.y};
}

} // namespace

double ruleRadius(int level) {
    const LevelRecord &record = searchRecord[level];
    return record.pieces[record.tightest].upper;
}

void drawSearchRule(int level) {
    glLineWidth(1.5f);
    glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
    drawArc(queryPoint.x, queryPoint.y, ruleRadius(level), 0.0, 2.0 * PI);
    drawRuleRadius(level);
}

void drawRuleRadius(int level) {
    const LevelRecord &record = searchRecord[level];
    const Point touch = farthestPoint(level, record.pieces[record.tightest], record.step);
    glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
    glLineWidth(1.5f);
    glBegin(GL_LINES);
    {
        glVertex2d(queryPoint.x, queryPoint.y);
        glVertex2d(touch.x, touch.y);
    }
    glEnd();
}

void markTightestPiece(int level) {
    const LevelRecord &record = searchRecord[level];
    glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
    glLineWidth(5.0f);
    drawOutline(level, record.step, record.pieces[record.tightest].start);
}
