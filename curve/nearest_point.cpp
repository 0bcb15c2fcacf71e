// Branch-and-bound search for the curve sample nearest to the query point. Level by level,
// every candidate piece gets a lower and an upper bound on its distance from Q; a piece
// whose lower bound exceeds some piece's upper bound cannot hold the nearest point, so its
// region is drawn and it is dropped, and the survivors are halved for the next level.
#include "curve/curve.h"
#include "draw/draw.h"
#include "quenlow.h"

#include <GL/gl.h>
#include <cmath>

namespace {

struct DistanceBounds {
    double lower, upper;
};

double distance(Point a, Point b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Bounds over the capsule of radius r around the chord AB.
DistanceBounds capsuleBounds(Point a, Point b, Point q, double r) {
    const double toA = distance(a, q);
    const double toB = distance(b, q);
    DistanceBounds bounds =
        toB > toA ? DistanceBounds{toA - r, toB + r} : DistanceBounds{toB - r, toA + r};

    // When Q projects strictly inside the chord, its distance to the chord's line is nearer
    // than either end. A zero-length chord never passes both tests.
    const Point d = {b.x - a.x, b.y - a.y};
    const double alongFromA = (q.x - a.x) * d.x + (q.y - a.y) * d.y;
    const double alongFromB = (q.x - b.x) * d.x + (q.y - b.y) * d.y;
    if (alongFromA > 0 && alongFromB < 0) {
        const double lengthSq = d.x * d.x + d.y * d.y;
        const double length = std::sqrt(lengthSq);
        const double cross = q.x * d.y - q.y * d.x - a.x * b.y + a.y * b.x;
        bounds.lower = std::fabs(cross) * length / lengthSq - r;
    }
    return bounds;
}

double largest(double a, double b) {
    return a > b ? a : b;
}

// Bounds over the rounded box of radius r around the chord's bounding box: the nearest
// point of the box below, its farthest corner above.
DistanceBounds boxBounds(Point a, Point b, Point q, double r) {
    const Box box = chordBox(a, b);
    const double outsideX = largest(largest(0.0, q.x - box.xmax), box.xmin - q.x);
    const double outsideY = largest(largest(0.0, q.y - box.ymax), box.ymin - q.y);
    const double farX = largest(std::fabs(box.xmin - q.x), std::fabs(q.x - box.xmax));
    const double farY = largest(std::fabs(box.ymin - q.y), std::fabs(q.y - box.ymax));
    return {std::sqrt(outsideX * outsideX + outsideY * outsideY) - r,
            std::sqrt(farX * farX + farY * farY) + r};
}

void drawResultSegment(Point q, Point nearest) {
    glColor3f(1.0f, 0.5f, 0.0f);
    glLineWidth(1.5f);
    glBegin(GL_LINES);
    {
        glVertex2d(q.x, q.y);
        glVertex2d(nearest.x, nearest.y);
    }
    glEnd();
}

} // namespace

void findNearestPoint(int level, int step, int count) {
    double lowerBound[SAMPLE_SEGMENTS];
    double upperBound[SAMPLE_SEGMENTS];
    const Point q = queryPoint;

    while (level != LEVEL_COUNT) {
        const int *candidates = candidateLists[currentList];
        const double r = errorBounds[level];
        for (int i = 0; i < count; ++i) {
            const Point a = curveSamples[candidates[i]];
            const Point b = curveSamples[candidates[i] + step];
            const DistanceBounds bounds =
                boxMode ? boxBounds(a, b, q, r) : capsuleBounds(a, b, q, r);
            lowerBound[i] = bounds.lower;
            upperBound[i] = bounds.upper;
        }

        // A piece is dropped when its lower bound exceeds any upper bound of the level, that
        // is the smallest one; no bound is ever a non-number, so one pass finds it.
        int tightest = 0;
        for (int k = 1; k < count; ++k) {
            if (upperBound[k] < upperBound[tightest]) {
                tightest = k;
            }
        }
        const double smallestUpper = upperBound[tightest];

        int *halves = candidateLists[nextList];
        int newCount = 0;
        LevelRecord &record = searchRecord[level];
        for (int j = 0; j < count; ++j) {
            const bool kept = !(lowerBound[j] > smallestUpper);
            record.pieces[j] = {candidates[j], lowerBound[j], upperBound[j], kept};
            if (!kept) {
                drawRegion(level, step, candidates[j]);
            } else {
                halves[newCount++] = candidates[j];
                halves[newCount++] = candidates[j] + step / 2;
            }
        }
        record.step = step;
        record.count = count;
        record.kept = newCount / 2;
        record.tightest = tightest;

        ++level;
        step /= 2;
        currentList = 1 - currentList;
        nextList = 1 - nextList;
        count = newCount;
    }

    // The middle of the surviving run of single-step pieces, not the survivor nearest to Q.
    if (lastLevelShown == LEVEL_COUNT) {
        drawResultSegment(q, curveSamples[candidateLists[currentList][count / 2]]);
    }
}
