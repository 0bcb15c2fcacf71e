// A level told in four steps: bound, threshold, drop, halve.
#include "web/page/search_steps.h"

#include "draw/draw.h"
#include "web/page/search_rule.h"

#include <GL/gl.h>
#include <cmath>

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

// Ticks across the chord rather than rings: straight lines come out the same in every
// renderer's smoothing, so the checker can hold them against the desktop's.
void drawHalfEnds(int step, int start, double halfLength) {
    const Point a = curveSamples[start];
    const Point b = curveSamples[start + step];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const Point across =
        length > 0 ? Point{(a.y - b.y) / length * halfLength, (b.x - a.x) / length * halfLength}
                   : Point{0.0, halfLength};
    glLineWidth(2.0f);
    glColor3f(0.75f, 0.0f, 0.75f);
    glBegin(GL_LINES);
    for (int end = start; end <= start + step; end += step / 2) {
        const Point p = curveSamples[end];
        glVertex2d(p.x - across.x, p.y - across.y);
        glVertex2d(p.x + across.x, p.y + across.y);
    }
    glEnd();
}

void drawPieceAtStep(const BoundedPiece &piece, double tick) {
    const int level = lastLevelShown;
    const int step = searchRecord[level].step;
    if (undecidedAtStep(piece)) {
        drawUndecided(level, step, piece.start);
    } else if (!piece.kept) {
        drawRegion(level, step, piece.start);
    } else {
        drawInPlay(level, step, piece.start);
        drawHalfEnds(step, piece.start, tick);
    }
}

// The grey regions lie under the curve, drawn again over them, as the program's own regions
// lie under its curve. Not the points: a dot drawn twice grows.
void drawStepMarks() {
    const int level = lastLevelShown;
    const LevelRecord &record = searchRecord[level];
    for (int i = 0; i < record.count; ++i) {
        const BoundedPiece &piece = record.pieces[i];
        if (undecidedAtStep(piece)) {
            drawUndecided(level, record.step, piece.start);
        } else if (piece.kept && stepShown == STEP_HALVE) {
            drawHalfEnds(record.step, piece.start, HALF_END_TICK);
        }
    }
    if (stepShown < STEP_HALVE) {
        drawCurve();
    }
    if (stepShown >= STEP_THRESHOLD) {
        drawSearchRule(level);
    }
}
