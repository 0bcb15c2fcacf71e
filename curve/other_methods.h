// The methods most programs use instead of the search, computed beside it for the web page
// and the accuracy measurement: the nearest of a coarse table of samples refined between
// its neighbours, and Newton's method started from that sample. Neither draws anything,
// and the desktop program uses neither.
#pragma once

#include "quenlow.h"

constexpr int COARSE_SAMPLES_LEAST = 10;
constexpr int COARSE_SAMPLES_DEFAULT = 20;
constexpr int COARSE_SAMPLES_MOST = 200;
constexpr int NEWTON_STEPS_MOST = 10;

struct MethodAnswer {
    double t;        // curve parameter of the answer, 0 … 1
    double distance; // of the curve point there from Q
    int evaluated;   // curve points the method evaluated, the table's among them
};

// The nearest of `samples` evenly spaced parameters i / (samples − 1), then the interval
// between its neighbours halved until it is no wider than a step of the program's
// sampling grid, 1/1024, each time moving to the nearest of the middle and its two
// neighbours. A minimum on another strand than the table's nearest entry is never found.
MethodAnswer coarseNearest(const Point (&controls)[4], Point q, int samples);

struct NewtonAnswer {
    MethodAnswer answer;
    double startT;        // the coarse table's nearest sample, where it began
    double startDistance; // and its distance from Q
    bool clamped;         // a step left [0, 1] and was put back at an end
};

// Newton's method on d/dt |B(t) − q|² / 2 = (B − q) · B', from the coarse table's nearest
// sample: t ← t − f / f', at most NEWTON_STEPS_MOST steps, each clamped to [0, 1]. Where
// f' ≤ 0 the step heads for a maximum of the distance, or beyond the curve's ends.
NewtonAnswer newtonNearest(const Point (&controls)[4], Point q, int samples);
