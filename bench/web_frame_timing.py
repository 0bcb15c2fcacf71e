"""Frame times of the web page in headless Chromium beside the desktop build's same frames on
Mesa offscreen, in one run on one machine, printed as a Markdown table.

A browser frame is the program's display callback plus a read of one canvas pixel, which
waits until the canvas has drawn what the frame asked for; the desktop frame is
bench/frame_timing's, which waits with glFinish. Both skip the first frame of each kind.

usage: web_frame_timing.py SITE_DIR FRAME_TIMING
"""

import json
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Browser, Site  # noqa: E402

FRAMES = [("default, capsules", "default/capsules", False, False),
          ("default, rounded boxes", "default/boxes", True, False),
          ("all levels, capsules", "all-levels/capsules", False, True),
          ("all levels, rounded boxes", "all-levels/boxes", True, True)]
ROUNDS = 5

# Medians of ROUNDS rounds, each timing `count` frames of one kind after an untimed one.
TIME_FRAMES = """
var boxes = arguments[0], allLevels = arguments[1], count = arguments[2], rounds = arguments[3];
var pixel = Module.canvas.getContext('2d');
if (boxes) Module._webKey(13, 0, 0);  // a fresh program: both flags are off
if (allLevels) Module._webKey(96, 0, 0);
function frame() {
  var start = performance.now();
  Module._webDisplay();
  pixel.getImageData(0, 0, 1, 1);
  return performance.now() - start;
}
var medians = [];
for (var r = 0; r < rounds; ++r) {
  frame();
  var times = [];
  for (var i = 0; i < count; ++i) times.push(frame());
  times.sort(function (a, b) { return a - b; });
  medians.push(times[count >> 1]);
}
return medians;
"""


def browser_frames(site_dir):
    site = Site(site_dir)
    browser = Browser()
    try:
        results = {}
        for name, _, boxes, all_levels in FRAMES:
            browser.open(site.url)  # a fresh program for each kind of frame
            count = 15 if all_levels else 101
            results[name] = statistics.median(
                browser.driver.execute_script(TIME_FRAMES, boxes, all_levels, count, ROUNDS))
        return results
    finally:
        browser.close()
        site.close()


def desktop_frames(frame_timing):
    run = subprocess.run(
        [frame_timing, "--benchmark_repetitions=%d" % ROUNDS, "--benchmark_min_time=0.5",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        capture_output=True, text=True, check=True)
    medians = {b["run_name"]: b["real_time"] for b in json.loads(run.stdout)["benchmarks"]
               if b.get("aggregate_name") == "median"}
    return {name: medians[benchmark + "/real_time"] for name, benchmark, _, _ in FRAMES}


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    site_dir, frame_timing = sys.argv[1:]
    browser = browser_frames(site_dir)
    desktop = desktop_frames(frame_timing)
    size = sum(os.path.getsize(os.path.join(site_dir, f)) for f in os.listdir(site_dir))
    print("| frame | browser (Chromium, 2D canvas) | desktop (Mesa llvmpipe) | browser / desktop |")
    print("|---|---:|---:|---:|")
    for name, _, _, _ in FRAMES:
        print("| %s | %.2f ms | %.2f ms | %.2f× |"
              % (name, browser[name], desktop[name], browser[name] / desktop[name]))
    print()
    print("Medians of %d rounds. The page with all it loads: %d bytes (%s)."
          % (ROUNDS, size, ", ".join(sorted(os.listdir(site_dir)))))


if __name__ == "__main__":
    main()
