"""Frame times of the web page in headless Chromium, at pixel ratios 1 and 2, beside the
desktop build's same frames on Mesa offscreen, in one run on one machine, printed as a
Markdown table; and what the page's table of the search's numbers adds to each frame of a
drag with the all-levels overlay on.

A browser frame is the program's display callback plus a read of one canvas pixel, which
waits until the canvas has drawn what the frame asked for; the desktop frame is
bench/frame_timing's, which waits with glFinish. Both skip the first frame of each kind.
The table's share is the page's report of a frame, with the layout it causes, against that
frame, for frames of a drag of the query point along the curve. Then the frame rates of
drags, as a user's pointer makes them: trusted mouse events sent through the DevTools
protocol at 60 Hz without waiting for their answers, frames counted by the page's
requestAnimationFrame ticks from the first motion the canvas hears to the last, with a drag
of the query point while the map of the search is being computed in its worker beside the
same drag without it. And the close-up's cost: the same drag's frames and reports with the
close-up shown against those with it hidden. And a step's: a drag at a step of a level, its
caption and the search's lines following every frame, against one at the level with both
held still, as before the steps.

usage: web_frame_timing.py SITE_DIR FRAME_TIMING
"""

import asyncio
import itertools
import json
import math
import os
import statistics
import subprocess
import sys
import urllib.request

import websockets

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
        for name, setup in STEP_FRAMES:
            browser.open(site.url)
            browser.run(setup)
            rounds = browser.run(TIME_FRAMES, False, False, 101, ROUNDS, True)
            results["step", name] = statistics.median(r[0] + r[1] for r in rounds)
        return results
    finally:
        browser.close()
        site.close()


# What is dragged, from its window pixel, what is set before (every level shown, or a
# level as the page stepped through it before its steps, with its caption and the search's
# lines held still, beside a step of it with both following every frame), and whether the
# map is being computed meanwhile: quantities (c) and (d) in turn, each started again as
# soon as the worker has finished the other, so that it is never idle during the drag; or
# shown, finished, so that the frames draw it behind the picture with the worker at rest.
AS_BEFORE_STEPS = "QuenlowSteps.say = QuenlowSteps.mark = function () {}; QuenlowPage.showLevel(4);"
AT_A_STEP = "QuenlowPage.showLevel(4, 1);"
EVERY_LEVEL = "Module._webKey(96, 0, 0)"
DRAGS = [("Q, without the overlay", (240, 240), "", None),
         ("Q, without the overlay, the map computing", (240, 240), "", "computing"),
         ("Q, without the overlay, the map shown, finished", (240, 240), "", "finished"),
         ("Q, every level", (240, 240), EVERY_LEVEL, None),
         ("P1, every level", (175, 400), EVERY_LEVEL, None),
         ("Q, level 4, caption held still", (240, 240), AS_BEFORE_STEPS, None),
         ("Q, level 4's threshold, caption following", (240, 240), AT_A_STEP, None)]
START_MAP = """
var quantity = document.getElementById('map-quantity');
var state = document.getElementById('map-state');
quantity.value = '2';
quantity.dispatchEvent(new Event('change'));
document.getElementById('map-switch').click();
window.mapsFinished = 0;
new MutationObserver(function () {
  if (state.textContent === 'computing') return;
  ++window.mapsFinished;
  quantity.value = quantity.value === '2' ? '3' : '2';
  quantity.dispatchEvent(new Event('change'));
}).observe(state, {childList: true, characterData: true, subtree: true});
"""
MAP_SECONDS = "return document.getElementById('map-part').dataset.seconds"
DRAG_SECONDS = 3
DRAG_ROUNDS = 3
INPUT_HZ = 60

# The page's clock of a drag: every animation frame tick, every program frame, every motion.
COUNT_TICKS = """
var seen = window.dragSeen = {ticks: [], frames: [], moves: []};
(function tick() { seen.ticks.push(performance.now()); requestAnimationFrame(tick); })();
Module.canvas.addEventListener('frame', function () { seen.frames.push(performance.now()); });
Module.canvas.addEventListener('pointermove', function () { seen.moves.push(performance.now()); });
"""
# Ticks and program frames a second between the first motion and the last.
DRAG_RATES = """
var seen = window.dragSeen, first = seen.moves[0], last = seen.moves[seen.moves.length - 1];
var within = function (times) {
  return times.filter(function (t) { return t >= first && t <= last; }).length;
};
return [within(seen.ticks) * 1000 / (last - first), within(seen.frames) * 1000 / (last - first)];
"""


async def send_drag(socket_url, path):
    """Presses at the path's first position, moves along the rest at INPUT_HZ and releases at
    its end, never waiting for an answer until the release's."""
    async with websockets.connect(socket_url, max_size=None) as socket:
        ids = itertools.count(1)

        async def mouse(kind, position):
            await socket.send(json.dumps({
                "id": next(ids), "method": "Input.dispatchMouseEvent",
                "params": {"type": kind, "x": position[0], "y": position[1], "button": "left",
                           "buttons": 0 if kind == "mouseReleased" else 1, "clickCount": 1}}))

        await mouse("mousePressed", path[0])
        clock = asyncio.get_running_loop()
        start = clock.time()
        for i, position in enumerate(path[1:]):
            await asyncio.sleep(max(0.0, start + i / INPUT_HZ - clock.time()))
            await mouse("mouseMoved", position)
        await mouse("mouseReleased", path[-1])
        last = len(path) + 1
        async for message in socket:
            if json.loads(message).get("id") == last:
                break


def drag_rates(site_dir):
    """Frame rates of each drag of DRAGS at each ratio of RATIOS: the median and the range of
    DRAG_ROUNDS drags of DRAG_SECONDS each, a fresh page for each, with software drawing."""
    site = Site(site_dir)
    browser = Chromium(extra_flags=("--disable-gpu",))
    try:
        host = browser.driver.capabilities["goog:chromeOptions"]["debuggerAddress"]
        with urllib.request.urlopen("http://%s/json/list" % host) as answer:
            socket_url = [t for t in json.load(answer) if t["type"] == "page"][0][
                "webSocketDebuggerUrl"]
        rates = {}
        maps_finished = []
        for ratio in RATIOS:
            browser.emulate(1000, 1100, ratio)
            for name, (x, y), setup, mapped in DRAGS:
                rounds = []
                for _ in range(DRAG_ROUNDS):
                    browser.open(site.url)
                    browser.run(setup)
                    if mapped == "computing":
                        browser.run(START_MAP)
                    elif mapped == "finished":
                        browser.run("document.getElementById('map-switch').click()")
                        browser.wait_for(lambda: browser.run(MAP_SECONDS), "the map", 30)
                    rect = browser.run("var r = Module.canvas.getBoundingClientRect();"
                                       "return [r.left, r.top, r.width / 800];")
                    # Round and round a circle of 80 pixels from the point, a turn in 2 s.
                    path = [(x + 80 - 80 * math.cos(math.pi * k / INPUT_HZ),
                             y - 80 * math.sin(math.pi * k / INPUT_HZ))
                            for k in range(DRAG_SECONDS * INPUT_HZ + 1)]
                    path = [(rect[0] + px * rect[2], rect[1] + py * rect[2]) for px, py in path]
                    browser.run(COUNT_TICKS)
                    asyncio.run(send_drag(socket_url, path))
                    ticks, drawn = browser.run(DRAG_RATES)
                    if mapped == "computing":
                        maps_finished.append(browser.run(
                            "return window.mapsFinished + document.getElementById("
                            "'map-progress').value / 100"))
                    # A drag that missed its point redraws nothing and ticks at full rate.
                    if drawn < ticks / 2:
                        raise RuntimeError("%s: %.0f frames drawn a second of %.0f ticks"
                                           % (name, drawn, ticks))
                    rounds.append(ticks)
                rates[name, ratio] = rounds
        rates["maps finished"] = maps_finished
        return rates
    finally:
        browser.close()
        site.close()


def print_drag_rates(rates):
    print("| drag, frames a second |%s" % "".join(" ratio %d |" % ratio for ratio in RATIOS))
    print("|---|" + "---:|" * len(RATIOS))
    for name, *_ in DRAGS:
        print("| %s |%s" % (name, "".join(
            " %.0f (%.0f–%.0f) |" % (statistics.median(r), min(r), max(r))
            for r in (rates[name, ratio] for ratio in RATIOS))))
    print()
    print("Headless Chromium with --disable-gpu; medians (and ranges) of %d drags of %d s each, "
          "input at %d Hz. With the map computing, its worker got through %s maps in "
          "those drags, one after another." % (DRAG_ROUNDS, DRAG_SECONDS, INPUT_HZ,
                     ", ".join("%.2f" % n for n in rates["maps finished"])))


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
          "| hidden / shown |")
    print("|---|---:|---:|---:|")
    for level in CLOSEUP_LEVELS:
        hidden, shown = browser["closeup", level, False], browser["closeup", level, True]
        print("| slider at %s | %.2f ms | %.2f ms | %.0f %% |"
              % ("all" if level == 10 else "level %d, with the circle" % level, hidden, shown,
                 100 * hidden / shown))


# What following a step costs a frame of a drag, its report included: a level as before its
# steps against a step of it.
STEP_FRAMES = [("level 4, caption held still", AS_BEFORE_STEPS),
               ("level 4's threshold, caption following", AT_A_STEP)]


def print_step_frames(browser):
    print()
    print("| drag of Q, ratio 1, frame and report | ms |")
    print("|---|---:|")
    for name, _ in STEP_FRAMES:
        print("| %s | %.2f ms |" % (name, browser["step", name]))


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
    drags = drag_rates(site_dir)
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
    print_step_frames(browser)
    print("Medians of %d rounds. The page with all it loads: %d bytes (%s)."
          % (ROUNDS, size, ", ".join(sorted(os.listdir(site_dir)))))
    print()
    print_drag_rates(drags)


if __name__ == "__main__":
    main()
