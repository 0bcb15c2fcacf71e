// Whole frames of the program's drawing, timed end to end. Built twice: frame_timing draws
// on the real OpenGL implementation offscreen (Mesa's llvmpipe) and waits for each frame
// to finish; frame_timing_program_only draws against the no-op GL layer, so it times the
// program's own work. The difference between the two is the driver's.
#include "app/app.h"
#include "quenlow.h"

#include <benchmark/benchmark.h>
#include <string>

#ifdef FRAME_TIMING_REAL_GL
#include "offscreen.h"
#endif

namespace {

void frame(benchmark::State &state, bool boxes, bool allLevels) {
    resetScene();
    boxMode = boxes;
    showAllLevels = allLevels;
    onDisplay(); // the first frame of a kind compiles the driver's shaders: not timed
#ifdef FRAME_TIMING_REAL_GL
    // Of each frame, the time the swap waits for rasterisation; the rest goes to the calls.
    double finishSeconds = 0;
    for (auto _ : state) {
        onDisplay();
        finishSeconds += lastSwapWaitSeconds();
    }
    state.counters["finish_ms"] =
        benchmark::Counter(finishSeconds * 1e3, benchmark::Counter::kAvgIterations);
#else
    for (auto _ : state) {
        onDisplay();
    }
#endif
}

} // namespace

int main(int argc, char **argv) {
    // Start-up as after window creation; offscreen, creating the window makes the context.
    initApplication();
    onReshape(windowWidth, windowHeight);
    for (bool allLevels : {false, true}) {
        for (bool boxes : {false, true}) {
            const std::string name = std::string(allLevels ? "all-levels" : "default") +
                                     (boxes ? "/boxes" : "/capsules");
            benchmark::RegisterBenchmark(name.c_str(), frame, boxes, allLevels)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
