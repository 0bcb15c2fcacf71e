// The truly nearest point of a cubic Bézier curve by isolating the real roots of the
// squared distance's derivative, and a dense brute force to check it against.
#include "curve/true_nearest.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int DEGREE = 5; // of d/dt |B(t) − q|²

// Parameters in fixed storage. A polynomial of degree d lists its derivative's n values and
// at most one more for each of the n + 2 intervals and ends between them, so 2n + 2 in all:
// 2, 6, 14, 30 and 62 for degrees 1 to 5, and the curve's two ends besides.
struct Parameters {
    static constexpr int CAPACITY = 64;
    double values[CAPACITY];
    int count = 0;

    void add(double t) { values[count++] = t; }
    double *begin() { return values; }
    double *end() { return values + count; }
};

double evaluate(const double *coefficients, int degree, double t) {
    double value = coefficients[degree];
    for (int k = degree - 1; k >= 0; --k) {
        value = value * t + coefficients[k];
    }
    return value;
}

int sign(double value) {
    return (value > 0.0) - (value < 0.0);
}

// Appends the real roots of the polynomial in [0, 1], and those of all its derivatives,
// which are candidates too. Between neighbouring roots of the derivatives the polynomial
// is monotonic, so each sign change there is exactly one root. A polynomial that is zero
// throughout (a curve stacked on one point) has no root worth listing.
void appendRoots(const double *coefficients, int degree, Parameters &roots) {
    if (std::all_of(coefficients, coefficients + degree + 1, [](double c) { return c == 0.0; })) {
        return;
    }
    double derivative[DEGREE];
    for (int k = 0; k < degree; ++k) {
        derivative[k] = (k + 1) * coefficients[k + 1];
    }
    Parameters ends;
    if (degree > 1) {
        appendRoots(derivative, degree - 1, ends);
    }
    for (double t : ends) {
        roots.add(t);
    }
    ends.add(0.0);
    ends.add(1.0);
    std::sort(ends.begin(), ends.end());

    for (int i = 0; i < ends.count; ++i) {
        const int atLow = sign(evaluate(coefficients, degree, ends.values[i]));
        if (atLow == 0) {
            roots.add(ends.values[i]);
            continue;
        }
        if (i + 1 == ends.count ||
            atLow * sign(evaluate(coefficients, degree, ends.values[i + 1])) >= 0) {
            continue;
        }
        double low = ends.values[i], high = ends.values[i + 1];
        for (;;) {
            const double middle = 0.5 * (low + high);
            if (middle <= low || middle >= high) {
                break;
            }
            (sign(evaluate(coefficients, degree, middle)) == atLow ? low : high) = middle;
        }
        roots.add(low);
    }
}

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

Point bezierAt(const Point (&controls)[4], double t) {
    const double u = 1.0 - t;
    const double w[4] = {u * u * u, 3.0 * u * u * t, 3.0 * u * t * t, t * t * t};
    Point point{0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        point.x += w[i] * controls[i].x;
        point.y += w[i] * controls[i].y;
    }
    return point;
}

CurvePoint trueNearest(const Point (&controls)[4], Point q) {
    // B(t) − q = a0 + a1 t + a2 t² + a3 t³, in each coordinate.
    double a[2][4];
    for (int axis = 0; axis < 2; ++axis) {
        const double p0 = axis == 0 ? controls[0].x : controls[0].y;
        const double p1 = axis == 0 ? controls[1].x : controls[1].y;
        const double p2 = axis == 0 ? controls[2].x : controls[2].y;
        const double p3 = axis == 0 ? controls[3].x : controls[3].y;
        a[axis][0] = p0 - (axis == 0 ? q.x : q.y);
        a[axis][1] = 3.0 * (p1 - p0);
        a[axis][2] = 3.0 * (p0 - 2.0 * p1 + p2);
        a[axis][3] = p3 - 3.0 * p2 + 3.0 * p1 - p0;
    }
    // Half the derivative of the squared distance: (B(t) − q) · B'(t).
    double coefficients[DEGREE + 1] = {};
    for (int axis = 0; axis < 2; ++axis) {
        for (int i = 0; i <= 3; ++i) {
            for (int j = 1; j <= 3; ++j) {
                coefficients[i + j - 1] += a[axis][i] * j * a[axis][j];
            }
        }
    }

    Parameters candidates;
    candidates.add(0.0);
    candidates.add(1.0);
    appendRoots(coefficients, DEGREE, candidates);

    CurvePoint nearest{0.0, INFINITY};
    for (double t : candidates) {
        const double d = distance(bezierAt(controls, t), q);
        if (d < nearest.distance) {
            nearest = {t, d};
        }
    }
    return nearest;
}

DenseNearest denseNearest(const Point (&controls)[4], Point q, int intervals) {
    double nearest = INFINITY;
    for (int i = 0; i <= intervals; ++i) {
        nearest = std::min(nearest, distance(bezierAt(controls, double(i) / intervals), q));
    }
    double longestLeg = 0.0;
    for (int i = 0; i < 3; ++i) {
        longestLeg = std::max(longestLeg, distance(controls[i], controls[i + 1]));
    }
    return {nearest, 3.0 * longestLeg / (2.0 * intervals)};
}
