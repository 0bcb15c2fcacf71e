// Per-level bounds on how far a piece of the uniformly subdivided curve strays from its
// chord: n(n-1)/8 · max‖Δ²P‖ for degree n = 3, shrinking fourfold with every halving.
#include "curve/curve.h"
#include "quenlow.h"

#include <cmath>

static double secondDifferenceLength(Point first, Point second, Point third) {
    const double x = (first.x - second.x * 2.0) + third.x;
    const double y = (first.y - second.y * 2.0) + third.y;
    return std::sqrt(x * x + y * y);
}

void computeErrorBounds() {
    const double d1 = secondDifferenceLength(controlPoints[1], controlPoints[2], controlPoints[3]);
    const double d0 = secondDifferenceLength(controlPoints[0], controlPoints[1], controlPoints[2]);
    const double largest = d1 > d0 ? d1 : d0;
    errorBounds[0] = largest * 3.0 * 0.25;
    for (int level = 1; level < LEVEL_COUNT; ++level) {
        errorBounds[level] = errorBounds[level - 1] * 0.25;
    }
}
