"""Frame times of the web page in headless Chromium, at pixel ratios 1 and 2, beside the
desktop build's same frames on Mesa offscreen, in one run on one machine, printed as a
Markdown table; and what the page's table of the search's numbers adds to each frame of a
drag with the all-levels overlay on.

A browser frame is the program's display callback plus a read of one canvas pixel, which
waits until the canvas has drawn what the frame asked for; the desktop frame is
bench/frame_timing's, which waits with glFinish. Both skip the first frame of each kind.
The table's share is the page's report of a frame, with the layout it causes, against that
frame, for frames of a drag of the query point along the curve; the close-up's, the same
drag's frames and reports with the close-up shown against those with it hidden.

usage: web_frame_timing.py SITE_DIR FRAME_TIMING
"""

import json
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Chromium, Site  # noqa: E402

FRAMES = [("default, capsules", "default/capsules", False, False),
          ("default, rounded boxes", "default/boxes", True, False),
          ("all levels, capsules", "all-levels/capsules", False, True),
          ("all levels, rounded boxes", "all-levels/boxes", True, True)]
RATIOS = (1, 2)
ROUNDS = 5

# Medians of `rounds` rounds, each timing `count` frames of one kind after an untimed one.
# In a drag the query point moves a pixel a frame, and the page's report of each frame is
# timed apart from it.
TIME_FRAMES = """
var boxes = arguments[0], allLevels = arguments[1], count = arguments[2], rounds = arguments[3];
var drag = arguments[4];
var pixel = Module.canvas.getContext('2d'), table = document.getElementById('levels');
if (boxes) Module._webKey(13, 0, 0);  // a fresh program: both flags are off
if (allLevels) Module._webKey(96, 0, 0);
if (drag) Module._webMouse(0, 0, 240, 240);  // a press on the query point
var step = 0;
function frame() {
  if (drag) Module._webMotion(240 + (step % 200), 240 - (++step % 200));
  var start = performance.now();
  Module._webDisplay();
  pixel.getImageData(0, 0, 1, 1);
  var drawn = performance.now();
  if (drag) {
    Module._webReportFrame();
    table.offsetHeight;  // the layout of the changed text
  }
  return [drawn - start, performance.now() - drawn];
}
var medians = [];
for (var r = 0; r < rounds; ++r) {
  frame();
  var times = [];
  for (var i = 0; i < count; ++i) times.push(frame());
  var median = function (k) {
    var sorted = times.map(function (t) { return t[k]; }).sort(function (a, b) { return a - b; });
    return sorted[count >> 1];
  };
  medians.push([median(0), median(1)]);
}
return medians;
"""


def browser_frames(site_dir):
    site = Site(site_dir)
    browser = Chromium()
    try:
        results = {}
        for ratio in RATIOS:
            browser.emulate(1000, 1100, ratio)
            for name, _, boxes, all_levels in FRAMES:
                browser.open(site.url)  # a fresh program for each kind of frame
                count = 15 if all_levels else 101
                rounds = browser.run(TIME_FRAMES, boxes, all_levels, count, ROUNDS, False)
                results[name, ratio] = statistics.median(r[0] for r in rounds)
        browser.emulate(1000, 1100, 1)
        browser.open(site.url)
        rounds = browser.run(TIME_FRAMES, False, True, 15, ROUNDS, True)
        results["drag"] = [statistics.median(r[k] for r in rounds) for k in (0, 1)]
        results.update(closeup_frames(browser, site))
        return results
    finally:
        browser.close()
        site.close()


# What the close-up adds to a drag with every level shown: the same drag with it hidden, as
# the page was without it, and shown; with the slider at all and at a level, where the
# circle is drawn too.
CLOSEUP_LEVELS = (10, 5)
# The report of a frame draws the close-up; reading one of its pixels waits until the canvas
# has drawn it, as for the frame's own canvas.
SHOW_CLOSEUP = """
var closeup = document.getElementById('closeup'), report = Module._webReportFrame;
closeup.style.display = arguments[0] ? '' : 'none';
Module._webReportFrame = function () {
  report();
  closeup.getContext('2d').getImageData(0, 0, 1, 1);
};
var slider = document.getElementById('level');
slider.value = arguments[1];
slider.dispatchEvent(new Event('input'));
"""


def closeup_frames(browser, site):
    results = {}
    for level in CLOSEUP_LEVELS:
        for shown in (False, True):
            browser.open(site.url)
            browser.run(SHOW_CLOSEUP, shown, level)
            rounds = browser.run(TIME_FRAMES, False, True, 15, ROUNDS, True)
            results["closeup", level, shown] = statistics.median(r[0] + r[1] for r in rounds)
    return results


def print_closeup_frames(browser):
    print()
    print("| drag, every level shown, ratio 1 | close-up hidden | close-up shown "
          "| frame rate kept |")
    print("|---|---:|---:|---:|")
    for level in CLOSEUP_LEVELS:
        hidden, shown = browser["closeup", level, False], browser["closeup", level, True]
        print("| slider at %s | %.2f ms | %.2f ms | %.0f %% |"
              % ("all" if level == 10 else "level %d, with the circle" % level, hidden, shown,
                 100 * hidden / shown))


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
    print("| frame | browser, ratio 1 | browser, ratio 2 | desktop (Mesa llvmpipe) "
          "| browser / desktop, ratio 1 | ratio 2 |")
    print("|---|---:|---:|---:|---:|---:|")
    for name, _, _, _ in FRAMES:
        print("| %s | %.2f ms | %.2f ms | %.2f ms | %.2f× | %.2f× |"
              % (name, browser[name, 1], browser[name, 2], desktop[name],
                 browser[name, 1] / desktop[name], browser[name, 2] / desktop[name]))
    frame, report = browser["drag"]
    print()
    print("A drag with every level shown, ratio 1: %.2f ms a frame, and %.3f ms more for the "
          "page's table of the search, %.1f %% of the frame rate."
          % (frame, report, 100 * report / (frame + report)))
    print_closeup_frames(browser)
    print("Medians of %d rounds. The page with all it loads: %d bytes (%s)."
          % (ROUNDS, size, ", ".join(sorted(os.listdir(site_dir)))))


if __name__ == "__main__":
    main()
