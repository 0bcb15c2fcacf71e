// How near the search's answer is: over seeded random scenes, how much farther from Q the
// sample at the end of the orange segment is than the truly nearest point of the continuous
// curve, and how often it is not the nearest of the 1025 samples. The frame runs as the
// program runs it, against the recording stand-in for OpenGL, which gives the segment's end.
// Beside it, the methods most programs use instead: a coarse table refined, and Newton's.
#include "app/app.h"
#include "curve/curve.h"
#include "curve/other_methods.h"
#include "curve/true_nearest.h"
#include "gl_recorder.h"
#include "quenlow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int SELF_CHECK_SCENES = 100;
constexpr int SELF_CHECK_INTERVALS = 1 << 22;
constexpr double SELF_CHECK_TOLERANCE = 1e-9; // rounding of two ways to evaluate the curve

// A whole pixel of the 800 x 800 window as a drag puts it into the scene: x from -400 to
// 399, y from -399 to 400. Drawn by rejection from the generator's own output, whose
// sequence the standard fixes, so a seed gives the same scenes with any library.
struct PixelPicker {
    std::mt19937_64 random;
    int pixel() {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % 800;
        std::uint64_t value;
        do {
            value = random();
        } while (value >= limit);
        return static_cast<int>(value % 800);
    }
    Point point() {
        const int x = pixel();
        const int y = pixel();
        return {x - 400.0, 400.0 - y};
    }
};

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// One frame as the display callback draws it; the orange segment ends at the selected sample.
Point selectedSample() {
    resetRecording();
    onDisplay();
    const std::vector<RecordedPrimitive> segments =
        recorded().primitivesIn(GL_LINES, Color{1.0, 0.5, 0.0});
    if (segments.size() != 1 || segments[0].vertices.size() != 2 || !recorded().faults.empty()) {
        std::fprintf(stderr, "the frame did not draw one orange segment\n");
        std::exit(1);
    }
    return {segments[0].vertices[1].x, segments[0].vertices[1].y};
}

struct NearestSample {
    int index;
    double distance;
};

NearestSample nearestSample(Point q) {
    NearestSample nearest{0, INFINITY};
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        const double d = distance(curveSamples[a], q);
        if (d < nearest.distance) {
            nearest = {a, d};
        }
    }
    return nearest;
}

// Nearest rank: the smallest value that at least the given share of the values do not exceed.
double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(share * values.size()));
    return values[std::max<size_t>(rank, 1) - 1];
}

void printRow(const char *what, const std::vector<double> &excess, int notNearest) {
    if (excess.empty()) {
        std::printf("%-22s no scenes\n", what);
        return;
    }
    std::printf("%-22s %9.4f %9.4f %9.4f %9.4f", what, percentile(excess, 0.5),
                percentile(excess, 0.9), percentile(excess, 0.99), percentile(excess, 1.0));
    if (notNearest >= 0) {
        std::printf(" %8.2f %%", 100.0 * notNearest / excess.size());
    }
    std::printf("\n");
}

// How often each way of finding the point ends more than 1 and 10 px from the truth.
void printMisses(const char *what, const std::vector<double> &excess) {
    const auto beyond = [&](double limit) {
        return 100.0 *
               std::count_if(excess.begin(), excess.end(), [&](double e) { return e > limit; }) /
               excess.size();
    };
    std::printf("%-22s %9.2f %% %9.2f %%\n", what, beyond(1.0), beyond(10.0));
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 3) {
        std::fprintf(stderr, "usage: %s [SCENES [SEED]]\n", argv[0]);
        return 2;
    }
    const int scenes = argc > 1 ? std::atoi(argv[1]) : 10000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    if (scenes < 1) {
        std::fprintf(stderr, "SCENES must be at least 1\n");
        return 2;
    }

    setRecorderOptions({false, true, nullptr});
    computeBinomials();
    buildBernsteinTable();
    showAllLevels = false;
    PixelPicker picker{std::mt19937_64(seed)};

    std::vector<double> samplingExcess;
    std::vector<double> selectedExcess[2]; // capsules, rounded boxes
    std::vector<double> awayFromEnds[2];   // where the nearest sample is not an end
    std::vector<double> coarseExcess, newtonExcess;
    int newtonWorse = 0, newtonClamped = 0, coarseEvaluated = 0, newtonEvaluated = 0;
    int notNearest[2] = {0, 0}, notNearestAwayFromEnds[2] = {0, 0};
    double checkedSlack = 0.0, checkedAgreement = 0.0;
    for (int scene = 0; scene < scenes; ++scene) {
        Point controls[4];
        for (Point &p : controls) {
            p = picker.point();
        }
        const Point q = picker.point();
        std::copy(controls, controls + 4, controlPoints);
        queryPoint = q;
        const CurvePoint truth = trueNearest(controls, q);

        // The yardstick, checked where it is used: no point of a dense brute force comes
        // nearer, and the brute force, which cannot miss by more than its slack, agrees.
        if (scene < SELF_CHECK_SCENES) {
            const DenseNearest dense = denseNearest(controls, q, SELF_CHECK_INTERVALS);
            if (truth.distance > dense.distance + SELF_CHECK_TOLERANCE ||
                dense.distance - truth.distance > dense.slack + SELF_CHECK_TOLERANCE) {
                std::fprintf(stderr, "scene %d: nearest point at %.12f, brute force %.12f\n", scene,
                             truth.distance, dense.distance);
                return 1;
            }
            checkedSlack = std::max(checkedSlack, dense.slack);
            checkedAgreement = std::max(checkedAgreement, dense.distance - truth.distance);
        }

        const MethodAnswer coarse = coarseNearest(controls, q, COARSE_SAMPLES_DEFAULT);
        const NewtonAnswer newton = newtonNearest(controls, q, COARSE_SAMPLES_DEFAULT);
        coarseExcess.push_back(coarse.distance - truth.distance);
        newtonExcess.push_back(newton.answer.distance - truth.distance);
        newtonWorse += newton.answer.distance > newton.startDistance;
        newtonClamped += newton.clamped;
        coarseEvaluated = std::max(coarseEvaluated, coarse.evaluated);
        newtonEvaluated = std::max(newtonEvaluated, newton.answer.evaluated);

        for (int box = 0; box < 2; ++box) {
            boxMode = box == 1;
            const double selected = distance(selectedSample(), q);
            const NearestSample nearest = nearestSample(q);
            selectedExcess[box].push_back(selected - truth.distance);
            notNearest[box] += selected > nearest.distance;
            if (nearest.index != 0 && nearest.index != SAMPLE_SEGMENTS) {
                awayFromEnds[box].push_back(selected - truth.distance);
                notNearestAwayFromEnds[box] += selected > nearest.distance;
            }
            if (box == 0) {
                // And in every scene: no sample of the program's comes nearer than it.
                if (nearest.distance < truth.distance - SELF_CHECK_TOLERANCE) {
                    std::fprintf(stderr, "scene %d: a sample at %.12f is nearer than %.12f\n",
                                 scene, nearest.distance, truth.distance);
                    return 1;
                }
                samplingExcess.push_back(nearest.distance - truth.distance);
            }
        }
    }

    std::printf("%d scenes, seed %llu: P0 ... P3 and Q at whole pixels of the 800 x 800 window,"
                " x -400 ... 399, y -399 ... 400\n",
                scenes, seed);
    std::printf("truly nearest point: roots of the distance's derivative; on the first %d scenes "
                "no point of %d + 1 evenly spaced ones is nearer, and they come within %.2g px "
                "of it, so it is within %.2g px of the truth\n",
                std::min(scenes, SELF_CHECK_SCENES), SELF_CHECK_INTERVALS, checkedAgreement,
                checkedSlack);
    std::printf("\nfarther from Q than the truly nearest point, in pixels:\n");
    std::printf("%-22s %9s %9s %9s %9s %10s\n", "", "median", "90th", "99th", "max",
                "not the nearest sample");
    printRow("nearest sample", samplingExcess, -1);
    printRow("selected, capsules", selectedExcess[0], notNearest[0]);
    printRow("selected, boxes", selectedExcess[1], notNearest[1]);
    printRow("coarse table of 20", coarseExcess, -1);
    printRow("Newton from it", newtonExcess, -1);
    // At an end the final run is samples 0 ... 3 or 1020 ... 1023 and its middle entry two
    // samples in, so the ends are shown apart.
    std::printf("where the nearest sample is not an end of the curve (%zu scenes):\n",
                awayFromEnds[0].size());
    printRow("selected, capsules", awayFromEnds[0], notNearestAwayFromEnds[0]);
    printRow("selected, boxes", awayFromEnds[1], notNearestAwayFromEnds[1]);

    std::printf("\nscenes where the answer is farther than the truly nearest point by more than\n");
    std::printf("%-22s %11s %11s\n", "", "1 px", "10 px");
    printMisses("selected, capsules", selectedExcess[0]);
    printMisses("selected, boxes", selectedExcess[1]);
    printMisses("coarse table of 20", coarseExcess);
    printMisses("Newton from it", newtonExcess);
    std::printf("curve points evaluated, at most: coarse table %d, Newton %d; Newton ended "
                "farther than its start in %d scenes and stepped past an end in %d\n",
                coarseEvaluated, newtonEvaluated, newtonWorse, newtonClamped);
    return 0;
}
