// Samples the cubic Bézier curve on the fixed grid t = a / 1024. The Bernstein weights
// of the grid never change, so they are tabulated once and each frame only forms sums.
#include "curve/curve.h"
#include "quenlow.h"

double integerPower(double x, int e) {
    double result = 1.0;
    while (e != 0) {
        if (e % 2 != 0) {
            result *= x;
        }
        e /= 2;
        x *= x;
    }
    return result;
}

// Builds the first half of successive rows of Pascal's triangle in place, up to row 3;
// the second half of a row mirrors the first.
void computeBinomials() {
    binomialHalf[0] = 1;
    for (int row = 1; row <= 3; ++row) {
        const int half = row / 2;
        for (int k = half; k >= 0; --k) {
            binomialHalf[k] += k > 0 ? binomialHalf[k - 1] : 0;
        }
        if (row % 2 != 0) {
            binomialHalf[half + 1] = binomialHalf[half];
        }
    }
}

void buildBernsteinTable() {
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        const double t = static_cast<double>(a) / SAMPLE_SEGMENTS; // exact: a power of two
        const double u = 1.0 - t;
        double *weights = bernsteinTable[a];
        for (int k = 0; k < 2; ++k) {
            const double c = binomialHalf[k];
            weights[k] = (c * integerPower(t, k)) * integerPower(u, 3 - k);
            weights[3 - k] = (c * integerPower(t, 3 - k)) * integerPower(u, k);
        }
    }
}

void sampleCurve() {
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        const double *weights = bernsteinTable[a];
        double x = 0.0;
        double y = 0.0;
        for (int k = 0; k < 4; ++k) {
            x += weights[k] * controlPoints[k].x;
        }
        for (int k = 0; k < 4; ++k) {
            y += weights[k] * controlPoints[k].y;
        }
        curveSamples[a] = {x, y};
    }
}
