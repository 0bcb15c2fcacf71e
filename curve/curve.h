// The curve engine: sampling the cubic Bézier curve, bounding how far its pieces stray
// from their chords, and the branch-and-bound search for the sample nearest to Q.
#pragma once

// x^e for e ≥ 0 by repeated squaring, so that x^0 is exactly 1 and x^1 exactly x.
double integerPower(double x, int e);

void computeBinomials();
void buildBernsteinTable();
void sampleCurve();

void computeErrorBounds();

void findNearestPoint(int level, int step, int count);
