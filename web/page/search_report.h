// What the page's table says of the frame just drawn, gathered from what the search left
// behind. Plain C++, so that the browser tests' checker builds the same report natively.
#pragma once

#include "curve/true_nearest.h"

struct SearchReport {
    const int *finalSamples; // the search's final candidates, in curve order
    int finalCount;
    int selected; // the sample the orange segment ends at
    double selectedDistance;
    int nearestSample; // the nearest of the 1025 samples to Q
    double nearestSampleDistance;
    CurvePoint truth; // the truly nearest point of the curve
    Point truePoint;  // and where it lies
};

SearchReport reportSearch();
