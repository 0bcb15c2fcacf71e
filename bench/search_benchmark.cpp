// CPU cost of the nearest-point search and of whole frames, against the GL no-op layer,
// as ratios to a brute-force scan of the same 1025 samples measured in the same run.
#include "app/app.h"
#include "curve/curve.h"
#include "quenlow.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The search compiled once more with its region drawing turned into a no-op.
void findNearestPointWithoutRegions(int level, int step, int count);
void skipRegion(int, int, int) {}

namespace {

enum class Scene { Default, Stacked };

const char *sceneName(Scene scene) {
    return scene == Scene::Default ? "default" : "stacked";
}

// The default scene, or the worst case: all four control points on one spot, so that no
// piece can be told from another and every one of them survives.
void setUp(Scene scene, bool box, bool overlay) {
    computeBinomials();
    buildBernsteinTable();
    resetScene();
    if (scene == Scene::Stacked) {
        for (int i = 0; i < 4; ++i) {
            controlPoints[i] = {50, -50};
        }
    }
    boxMode = box;
    showAllLevels = overlay;
    sampleCurve();
    computeErrorBounds();
}

void bruteForceScan(benchmark::State &state, Scene scene) {
    setUp(scene, false, false);
    for (auto _ : state) {
        const Point q = queryPoint;
        int nearest = 0;
        double nearestSq = INFINITY;
        for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
            const double dx = curveSamples[a].x - q.x, dy = curveSamples[a].y - q.y;
            const double distanceSq = dx * dx + dy * dy;
            if (distanceSq < nearestSq) {
                nearestSq = distanceSq;
                nearest = a;
            }
        }
        benchmark::DoNotOptimize(nearest);
        benchmark::ClobberMemory();
    }
}

void sampling(benchmark::State &state, Scene scene) {
    setUp(scene, false, false);
    for (auto _ : state) {
        sampleCurve();
        benchmark::ClobberMemory();
    }
}

void searchAlone(benchmark::State &state, Scene scene, bool box) {
    setUp(scene, box, false);
    for (auto _ : state) {
        candidateLists[currentList][0] = 0;
        findNearestPointWithoutRegions(0, SAMPLE_SEGMENTS, 1);
        benchmark::ClobberMemory();
    }
}

void frame(benchmark::State &state, Scene scene, bool box, bool overlay) {
    setUp(scene, box, overlay);
    for (auto _ : state) {
        onDisplay();
        benchmark::ClobberMemory();
    }
}

// Prints the usual table, then every benchmark's CPU time over its scene's brute-force scan.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                std::string name = run.run_name.function_name;
                times_[name] = run.GetAdjustedCPUTime();
                if (std::find(order_.begin(), order_.end(), name) == order_.end()) {
                    order_.push_back(name);
                }
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-42s %12s %10s\n", "benchmark", "CPU time", "ratio");
        for (const std::string &name : order_) {
            const auto baseline = times_.find("brute-force scan/" + sceneOf(name));
            const double ratio = baseline == times_.end() ? 0 : times_[name] / baseline->second;
            std::printf("%-42s %9.2f us %9.2fx\n", name.c_str(), times_[name], ratio);
        }
    }

  private:
    // Names read "what/scene/mode".
    static std::string sceneOf(const std::string &name) {
        const size_t from = name.find('/') + 1;
        return name.substr(from, name.find('/', from) - from);
    }

    std::map<std::string, double> times_;
    std::vector<std::string> order_;
};

} // namespace

int main(int argc, char **argv) {
    for (Scene scene : {Scene::Default, Scene::Stacked}) {
        const std::string s = sceneName(scene);
        benchmark::RegisterBenchmark(("brute-force scan/" + s).c_str(), bruteForceScan, scene)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("sampling/" + s).c_str(), sampling, scene)
            ->Unit(benchmark::kMicrosecond);
        for (bool box : {false, true}) {
            const std::string mode = box ? "/boxes" : "/capsules";
            benchmark::RegisterBenchmark(("search alone/" + s + mode).c_str(), searchAlone, scene,
                                         box)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("frame/" + s + mode).c_str(), frame, scene, box, false)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("frame with overlay/" + s + mode).c_str(), frame, scene,
                                         box, true)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
