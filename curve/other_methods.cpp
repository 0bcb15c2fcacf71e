// The coarse table with refinement, and Newton's method from its nearest sample.
#include "curve/other_methods.h"

#include "curve/true_nearest.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double GRID_STEP = 1.0 / SAMPLE_SEGMENTS;

double distanceAt(const Point (&controls)[4], Point q, double t) {
    const Point p = bezierAt(controls, t);
    return std::hypot(p.x - q.x, p.y - q.y);
}

int clampSamples(int samples) {
    return samples < COARSE_SAMPLES_LEAST  ? COARSE_SAMPLES_LEAST
           : samples > COARSE_SAMPLES_MOST ? COARSE_SAMPLES_MOST
                                           : samples;
}

// The table's nearest entry: its index, parameter and distance.
struct TableEntry {
    double t, distance;
};

TableEntry nearestEntry(const Point (&controls)[4], Point q, int samples) {
    TableEntry best{0.0, distanceAt(controls, q, 0.0)};
    for (int i = 1; i < samples; ++i) {
        const double t = double(i) / (samples - 1);
        const double d = distanceAt(controls, q, t);
        if (d < best.distance) {
            best = {t, d};
        }
    }
    return best;
}

} // namespace

MethodAnswer coarseNearest(const Point (&controls)[4], Point q, int samples) {
    samples = clampSamples(samples);
    const TableEntry entry = nearestEntry(controls, q, samples);
    MethodAnswer answer{entry.t, entry.distance, samples};
    double step = 1.0 / (samples - 1);
    while (step > GRID_STEP) {
        step /= 2;
        const double middle = answer.t;
        for (const double t : {middle - step, middle + step}) {
            if (t < 0.0 || t > 1.0) {
                continue;
            }
            const double d = distanceAt(controls, q, t);
            ++answer.evaluated;
            if (d < answer.distance) {
                answer.t = t;
                answer.distance = d;
            }
        }
    }
    return answer;
}

NewtonAnswer newtonNearest(const Point (&controls)[4], Point q, int samples) {
    samples = clampSamples(samples);
    const TableEntry entry = nearestEntry(controls, q, samples);
    NewtonAnswer result{{entry.t, entry.distance, samples}, entry.t, entry.distance, false};

    // B' and B'' have control points 3 (P[i+1] − P[i]) and 6 (P[i+2] − 2 P[i+1] + P[i]).
    Point d1[3], d2[2];
    for (int i = 0; i < 3; ++i) {
        d1[i] = {3.0 * (controls[i + 1].x - controls[i].x),
                 3.0 * (controls[i + 1].y - controls[i].y)};
    }
    for (int i = 0; i < 2; ++i) {
        d2[i] = {2.0 * (d1[i + 1].x - d1[i].x), 2.0 * (d1[i + 1].y - d1[i].y)};
    }

    double t = entry.t;
    for (int step = 0; step < NEWTON_STEPS_MOST; ++step) {
        const double u = 1.0 - t;
        const Point p = bezierAt(controls, t);
        ++result.answer.evaluated;
        const Point v = {u * u * d1[0].x + 2 * u * t * d1[1].x + t * t * d1[2].x,
                         u * u * d1[0].y + 2 * u * t * d1[1].y + t * t * d1[2].y};
        const Point a = {u * d2[0].x + t * d2[1].x, u * d2[0].y + t * d2[1].y};
        const Point r = {p.x - q.x, p.y - q.y};
        const double f = r.x * v.x + r.y * v.y;
        const double slope = v.x * v.x + v.y * v.y + r.x * a.x + r.y * a.y;
        if (f == 0.0 || slope == 0.0) {
            break;
        }
        double next = t - f / slope;
        if (next < 0.0 || next > 1.0) {
            result.clamped = true;
            next = next < 0.0 ? 0.0 : 1.0;
        }
        if (next == t) {
            break;
        }
        t = next;
    }
    result.answer.t = t;
    result.answer.distance = distanceAt(controls, q, t);
    ++result.answer.evaluated;
    return result;
}
