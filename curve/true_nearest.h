// The point of a cubic Bézier curve truly nearest to a given point, found from the curve's
// polynomial rather than from samples: the yardstick that the web page's numbers and the
// search-accuracy measurement hold the search's selected sample against. The desktop
// program does not use it.
#pragma once

#include "quenlow.h"

struct CurvePoint {
    double t;        // curve parameter, 0 … 1
    double distance; // from the given point
};

// The curve at t, in Bernstein form.
Point bezierAt(const Point (&controls)[4], double t);

// The nearest point is an end of the curve or a root of d/dt |B(t) − q|², a polynomial of
// degree 5. Its real roots in [0, 1] are isolated between the roots of its derivatives, each
// found the same way, and bisected down to adjacent doubles.
CurvePoint trueNearest(const Point (&controls)[4], Point q);

// Brute force over `intervals` + 1 evenly spaced parameters. `slack` bounds how much nearer
// the curve can come between two of them: half a step at the curve's greatest speed, which
// is at most three times the longest leg of the control polygon.
struct DenseNearest {
    double distance;
    double slack;
};
DenseNearest denseNearest(const Point (&controls)[4], Point q, int intervals);
