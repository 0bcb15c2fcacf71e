"""The program's page in three browser engines, Chromium, Firefox and WebKit, driven with
their own pointer, touch and key input: one set of checks, run in each. Every picture is
checked against the desktop program's frame of the state the input should have made, by
web_frame_check, which also gives the numbers the page's table should show; every test ends
with a clean console and no failed request. A check that needs what an engine's automation
cannot do is skipped there, and says so.

usage: browser_test.py SITE_DIR WEB_FRAME_CHECK [--browsers=chromium,firefox,webkit]
                       [unittest arguments]
"""

import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import ALT, CONTROL, ENGINES, ENTER, ESCAPE, RECORDER, TAB, Site  # noqa: E402

SITE_DIR = CHECKER = MAP_CHECKER = ARTIFACTS = None
SOURCES = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

DEFAULT_POINTS = [(-225, -225), (-225, 0), (0, 225), (225, 225), (-160, 160)]
P1, P3, Q = 1, 3, 4
RIGHT, UP, SHIFT, BACKSPACE = "\ue014", "\ue013", "\ue008", "\ue003"
ALL = 10  # the level slider's "all"
LEVEL_4_BLUE = [73, 73, 255]  # the shade of level 4's dropped regions
YELLOW, BROWN = [255, 204, 0], [140, 69, 18]  # a chosen piece's outline; a construction
CELLS = "Array.prototype.map.call(e.cells, function (c) { return c.textContent; })"
STEPS = ["bound", "threshold", "drop", "halve"]  # of a level; the last is the level whole
HALVE = 3


def pixel(scene_point):
    """The window pixel of a scene point, as the program maps them."""
    return 400 + scene_point[0], 400 - scene_point[1]


def scene(window_pixel):
    return window_pixel[0] - 400, 400 - window_pixel[1]


def pointer(kind, steps, name=None):
    """A W3C pointer source: steps are positions in CSS pixels, "down", "up" or None (a
    pause)."""
    actions = []
    for step in steps:
        if step is None:
            actions.append({"type": "pause", "duration": 0})
        elif isinstance(step, str):
            actions.append({"type": "pointer" + step.title(),
                            "button": 2 if kind == "right" else 0})
        else:
            actions.append({"type": "pointerMove", "x": int(step[0]), "y": int(step[1]),
                            "duration": 0})
    kind = "mouse" if kind == "right" else kind
    return {"type": "pointer", "id": name or kind, "parameters": {"pointerType": kind},
            "actions": actions}


class PageChecks:
    engine = None  # a Browser class of browser.py

    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE_DIR, record_console=cls.engine.records_console_itself)
        cls.browser = cls.engine()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.site.close()

    def setUp(self):
        self.browser.emulate(1000, 1100)
        self.browser.open(self.site.url)
        self.points = list(DEFAULT_POINTS)
        self.boxes = False
        self.all_levels = False
        self.level = ALL
        self.step = HALVE

    def tearDown(self):
        self.assertEqual(self.browser.console_problems(), [], "the console shows problems")
        self.assertEqual([r for r in self.site.requests if r[1] >= 400], [], "failed requests")

    def finger(self):
        return "touch" if self.browser.can_touch else "mouse"

    def needs(self, ability, reason):
        if not getattr(self.browser, ability):
            self.skipTest(self.browser.name + "'s automation " + reason)

    # Input, at the program's pixels or at the page's elements.
    def css(self, window_pixel):
        rect = self.browser.run("scrollTo(0, 0);"  # the canvas in view
                                "var r = Module.canvas.getBoundingClientRect();"
                                "return [r.left, r.top, r.width / 800, r.height / 800];")
        return rect[0] + window_pixel[0] * rect[2], rect[1] + window_pixel[1] * rect[3]

    def centre(self, element_id):
        return self.browser.run("var r = document.getElementById(arguments[0])"
                                ".getBoundingClientRect(); return [r.left + r.width / 2,"
                                " r.top + r.height / 2];", element_id)

    def drag(self, path, kind="mouse"):
        steps = [self.css(path[0]), "down"] + [self.css(p) for p in path[1:]] + ["up"]
        self.browser.perform([pointer(kind, steps)])

    def hold(self, modifier, key):
        """A key pressed with a modifier held."""
        self.browser.perform([{"type": "key", "id": "keyboard", "actions": [
            {"type": t, "value": v} for t, v in [("keyDown", modifier), ("keyDown", key),
                                                  ("keyUp", key), ("keyUp", modifier)]]}])

    def press(self, element_id, kind="mouse"):
        # Pressed once it is on, where it is once it has been brought into view and stays put
        # there: the page may still be laying out what it filled in at start, and WebKit does
        # not keep the scroll anchored to what is in view meanwhile.
        self.until_enabled(element_id)
        where = None
        for _ in range(10):
            self.browser.run("document.getElementById(arguments[0]).scrollIntoView({block:"
                             " 'center'}); return new Promise(function (done) {"
                             " requestAnimationFrame(function () { requestAnimationFrame(done);"
                             " }); });", element_id)
            where, before = self.centre(element_id), where
            if where == before:
                break
        self.browser.perform([pointer(kind, [where, "down", "up"])])

    def frames(self):
        """Frames drawn so far, once every redraw asked for has been drawn."""
        return self.browser.run("return new Promise(function (done) {"
                                " requestAnimationFrame(function () { requestAnimationFrame("
                                " function () { done(Module.framesDrawn); }); }); });")

    def texts(self, selector, of="e.textContent"):
        """A JavaScript expression of each element e that the selector finds."""
        return self.browser.run("return Array.prototype.map.call(document.querySelectorAll("
                                "arguments[0]), function (e) { return " + of + "; })", selector)

    def switches(self):
        return self.browser.run("return ['boxes', 'all-levels'].map(function (id) {"
                                " return document.getElementById(id)"
                                ".getAttribute('aria-pressed') === 'true'; });")

    # The picture, against the desktop program's frame of the expected state.
    def assert_frame(self, name, numbers=None, picture=True):
        """The picture against the desktop's; with `picture` None, only the numbers."""
        self.browser.run("scrollTo(0, 0)")  # the canvas in view
        self.frames()
        directory = os.path.join(ARTIFACTS, self.browser.name,
                                 self.id().split(".")[-1] + "-" + name)
        os.makedirs(directory, exist_ok=True)
        shot = os.path.join(directory, "screenshot.png") if picture is not None else "-"
        if picture is not None:
            self.browser.canvas_screenshot(shot)
        state = [str(int(self.boxes)), str(int(self.all_levels)), str(self.level)]
        state += [str(c) for point in self.points for c in point]
        options = ["--numbers=" + numbers] if numbers else []
        options += ["--step=%d" % self.step] if self.level != ALL else []
        check = subprocess.run([CHECKER, shot, directory] + options + state,
                               capture_output=True, text=True)
        self.assertIn(check.returncode, (0,) if picture else (0, 1),
                      "%s: the browser's frame is not the desktop's\n%s%s"
                      % (name, check.stdout, check.stderr))
        self.assertEqual(self.switches(), [self.boxes, self.all_levels],
                         name + ": the buttons show the switches wrongly")

    # Keys and buttons.
    def test_first_frame_then_enter_and_grave_accent(self):
        self.assert_frame("first")
        for key, name in [(ENTER, "boxes"), ("`", "boxes-all-levels"),
                          ("`", "boxes-again"), (ENTER, "capsules")]:
            before = self.frames()
            self.browser.keys(key)
            self.assertEqual(self.frames(), before + 1, name + ": one redraw for one key")
            if key == "`":
                self.all_levels = not self.all_levels
            else:
                self.boxes = not self.boxes
            self.assert_frame(name)
        self.browser.keys("`")
        self.all_levels = True
        self.assert_frame("capsules-all-levels")

    def test_each_button_acts_as_its_key_or_click_does(self):
        self.drag([pixel(DEFAULT_POINTS[Q]), (500, 520)])
        self.points[Q] = scene((500, 520))
        pen = "pen" if self.browser.can_pen else "mouse"
        for button, name, kind in [("boxes", "boxes", "mouse"), ("all-levels", "all-levels", pen),
                                   ("boxes", "capsules", self.finger()),
                                   ("reset", "reset", "mouse")]:
            before = self.frames()
            self.press(button, kind)
            self.assertEqual(self.frames(), before + 1, name + ": one redraw for one press")
            if button == "boxes":
                self.boxes = not self.boxes
            elif button == "all-levels":
                self.all_levels = not self.all_levels
            else:
                self.points = list(DEFAULT_POINTS)
            self.assert_frame(name)

    def test_a_focused_button_acts_once_for_enter_and_for_space(self):
        self.needs("keys_press_buttons", "sends keys that never press a button")
        self.browser.keys(*[TAB] * 6)  # past the five points
        self.assertEqual(self.browser.run("return document.activeElement.id"), "boxes")
        for key, name in [(ENTER, "enter"), (" ", "space")]:
            before = self.frames()
            self.browser.keys(key)
            self.assertEqual(self.frames(), before + 1, name + ": the button acted twice")
            self.boxes = not self.boxes
            self.assert_frame(name)
        self.browser.keys(TAB, " ")
        self.all_levels = True
        self.assert_frame("all-levels")

    def test_keys_with_modifiers_stay_the_browsers(self):
        self.browser.run("window.keysPrevented = []; window.addEventListener('keydown',"
                         " function (e) { window.keysPrevented.push(e.defaultPrevented); });")
        before = self.frames()
        self.hold(CONTROL, "`")
        self.hold(ALT, ENTER)
        self.assertEqual(self.frames(), before)
        self.assertNotIn(True, self.browser.run("return window.keysPrevented"))
        self.assert_frame("unchanged")
        # Any other key is the program's: a redraw that changes nothing.
        self.browser.keys("x")
        self.assertEqual(self.frames(), before + 1)
        self.assert_frame("after-x")

    def test_escape_ends_the_program_and_says_so(self):
        self.browser.keys(ESCAPE)
        self.browser.wait_for(lambda: self.browser.run(
            "return document.getElementById('status').textContent") != "", "the notice")
        notice = self.browser.run("return document.getElementById('status').textContent")
        self.assertIn("ended", notice)
        self.assertIn("Reload", notice)
        self.assertTrue(self.browser.run("return document.getElementById('boxes').disabled"),
                        "the buttons still look usable")
        before = self.frames()
        self.browser.keys(ENTER)
        self.drag([pixel(DEFAULT_POINTS[Q]), (500, 500)])
        self.assertEqual(self.frames(), before, "the ended program still draws")
        self.assert_frame("last")

    def test_without_webassembly_or_a_2d_canvas_the_page_says_so(self):
        self.needs("can_run_before_the_page", "cannot run a script before the page's")
        for missing, words in [("WebAssembly", "cannot run WebAssembly"),
                               ("CanvasRenderingContext2D", "cannot draw on a canvas")]:
            del self.site.requests[:]
            self.browser.load(self.site.url, before="delete window.%s;" % missing)
            self.browser.wait_for(lambda: self.browser.run(
                "return document.getElementById('status').textContent") != "", "the notice")
            self.assertIn(words, self.browser.run(
                "return document.getElementById('status').textContent"))
            self.assertNotIn("/quenlow.js", [path for path, _ in self.site.requests])
            # The service worker fetches it for itself, and serves the page from its cache.
            self.assertEqual(self.browser.run("return performance.getEntriesByType('resource')"
                                              ".map((e) => e.name).filter((name) =>"
                                              " /quenlow\\.js$/.test(name))"), [])

    # The mouse.
    def test_left_drag_moves_the_query_point_to_the_pointer(self):
        start = pixel(DEFAULT_POINTS[Q])
        # The last move comes right before the release: the point ends where the pointer is.
        self.drag([start, (start[0] + 30, start[1] - 10), (330, 150)])
        self.points[Q] = scene((330, 150))
        self.assert_frame("dragged")

    def test_drag_of_a_control_point_goes_on_outside_the_canvas(self):
        self.drag([pixel(DEFAULT_POINTS[P3]), (700, 120), (790, 60), (850, 50)])
        self.points[P3] = scene((850, 50))
        self.assert_frame("outside")
        # Without a button held, moving back over the canvas moves nothing.
        self.browser.perform([pointer("mouse", [self.css((500, 500))])])
        self.assert_frame("after")

    def test_mouse_press_reaches_as_far_as_on_the_desktop(self):
        p1 = pixel(DEFAULT_POINTS[P1])
        self.drag([(p1[0] + 6, p1[1]), (300, 600)])  # 36 px² is out of reach
        self.assert_frame("missed")
        self.drag([(p1[0] + 5, p1[1]), (300, 600)])  # 25 px² is within it
        self.points[P1] = scene((300, 600))
        self.assert_frame("caught")

    def test_right_click_restores_the_default_scene_without_a_menu(self):
        self.needs("releases_the_right_button", "releases a right button as the left one")
        self.browser.run("window.menuPrevented = null; document.addEventListener('contextmenu',"
                         " function (e) { window.menuPrevented = e.defaultPrevented; });")
        self.drag([pixel(DEFAULT_POINTS[Q]), (500, 500)])
        self.browser.keys(ENTER)
        self.boxes = True
        self.browser.perform([pointer("right", [self.css((600, 600)), "down", "up"])])
        self.assert_frame("reset")
        self.assertIs(self.browser.run("return window.menuPrevented"), True,
                      "the right click's context menu is not suppressed")

    # Touch.
    def test_touch_drags_the_nearest_point_within_reach(self):
        self.needs("can_touch", "sends touches as mouse events")
        q = pixel(DEFAULT_POINTS[Q])
        # 20 pixels off: beyond a mouse press's reach, within a finger's.
        self.drag([(q[0] + 16, q[1] + 12), (q[0] + 60, q[1]), (500, 300)], kind="touch")
        self.points[Q] = scene((500, 300))
        self.assert_frame("far-touch")
        self.assertEqual(self.browser.run("return [scrollX, scrollY, visualViewport.scale]"),
                         [0, 0, 1], "the page scrolled or zoomed under the finger")
        # Q 5 pixels right of P1: a mouse press between them takes Q, the later point, and
        # so would a press made on P1 itself; a touch takes the nearer one, P1.
        p1 = pixel(DEFAULT_POINTS[P1])
        self.drag([(500, 300), (p1[0] + 5, p1[1])])
        self.points[Q] = scene((p1[0] + 5, p1[1]))
        self.drag([(p1[0] + 2, p1[1]), (250, 650)], kind="touch")
        self.points[P1] = scene((250, 650))
        self.assert_frame("nearest")
        # Equally near two points, the later one: Q 20 pixels right of P3, touched halfway.
        p3 = pixel(DEFAULT_POINTS[P3])
        self.drag([pixel(self.points[Q]), (p3[0] + 20, p3[1])])
        self.drag([(p3[0] + 10, p3[1]), (100, 100)], kind="touch")
        self.points[Q] = scene((100, 100))
        self.assert_frame("tie")
        # 26 pixels from P0, the nearest point: beyond a finger's reach, nothing moves.
        p0 = pixel(DEFAULT_POINTS[0])
        self.drag([(p0[0] + 26, p0[1]), (500, 500)], kind="touch")
        self.assert_frame("nothing")

    def test_a_second_finger_changes_nothing_and_a_pinch_does_not_zoom(self):
        self.needs("can_touch", "sends touches as mouse events")
        q, p3 = pixel(DEFAULT_POINTS[Q]), pixel(DEFAULT_POINTS[P3])
        first = [q, "down", (300, 300), None, (320, 320), None, (340, 300), "up"]
        second = [None, None, p3, "down", (700, 500), "up", None, None]
        self.browser.perform([
            pointer("touch", [s if s is None or isinstance(s, str) else self.css(s)
                              for s in steps], name)
            for steps, name in [(first, "first"), (second, "second")]])
        self.points[Q] = scene((340, 300))
        self.assert_frame("one-finger")
        apart = [pointer("touch", [self.css(a), "down", self.css(b), "up"], name)
                 for a, b, name in [((380, 380), (100, 100), "one"),
                                    ((420, 420), (700, 700), "two")]]
        self.browser.perform(apart)
        self.assertEqual(self.browser.run("return visualViewport.scale"), 1,
                         "a pinch on the canvas zoomed the page")

    # Screens.
    def test_narrow_screen_scales_the_canvas_and_maps_input_back(self):
        self.browser.emulate(520, 1100)
        shown, room = self.browser.run("return [Module.canvas.getBoundingClientRect().width,"
                                       " document.documentElement.clientWidth]")
        self.assertEqual(shown, room, "the canvas does not span the narrow screen")
        target = self.css((600, 640))
        self.drag([pixel(DEFAULT_POINTS[Q]), (600, 640)])
        # Where the program saw the pointer: the CSS position mapped back to its pixels.
        rect = self.browser.run("var r = Module.canvas.getBoundingClientRect();"
                                "return [r.left, r.top];")
        seen = [int((int(target[i]) - rect[i]) * 800 / shown) for i in (0, 1)]
        self.assertLessEqual(abs(seen[0] - 600) + abs(seen[1] - 640), 4)
        self.assert_buffer_is_the_shown_size(1)
        self.points[Q] = scene(seen)
        # A new size shown: the kept overlay is drawn again at it.
        self.show_kept_overlay()
        before = self.overlay_draws()
        self.browser.emulate(1000, 1100)
        self.browser.wait_for(lambda: self.browser.run("return Module.canvas.width") == 800,
                              "the buffer at the wide size")
        self.assertGreater(self.overlay_draws(), before, "the overlay was kept")
        self.assert_frame("wide-again")

    def assert_buffer_is_the_shown_size(self, ratio):
        width, height, shown = self.browser.run(
            "var c = Module.canvas; return [c.width, c.height,"
            " c.getBoundingClientRect().width];")
        self.assertEqual((width, height), (round(shown * ratio),) * 2,
                         "the drawing buffer is not the canvas's size in device pixels")

    def test_drawn_at_the_screens_pixel_density(self):
        self.needs("can_set_pixel_ratio", "cannot set the pixel ratio")
        for ratio in (2, 3):
            self.browser.emulate(1000, 1100, ratio)
            self.browser.open(self.site.url)
            self.assert_buffer_is_the_shown_size(ratio)
            if ratio == 3:
                self.show_kept_overlay()  # the kept overlay laid at the buffer's density
            self.assert_frame("ratio-%d" % ratio)

    def test_a_new_pixel_ratio_redraws_at_the_new_density(self):
        self.needs("can_set_pixel_ratio", "cannot set the pixel ratio")
        self.needs("announces_ratio_changes", "changes the pixel ratio without telling the page")
        self.browser.emulate(1000, 1100, 2)
        self.browser.open(self.site.url)
        self.show_kept_overlay()
        # Back at ratio 1 with no reload, as when the window goes to another screen.
        before, overlays = self.frames(), self.overlay_draws()
        self.browser.emulate(1000, 1100, 1)
        self.browser.wait_for(lambda: self.frames() > before, "the frame at ratio 1")
        self.assert_buffer_is_the_shown_size(1)
        self.assertGreater(self.overlay_draws(), overlays, "the overlay was kept")
        self.drag([pixel(DEFAULT_POINTS[Q]), (520, 280)])
        self.points[Q] = scene((520, 280))
        self.assert_frame("ratio-1-again")

    def test_on_a_phone_every_command_is_one_tap_away(self):
        self.needs("can_be_a_phone", "cannot make a window as narrow as a phone, 390 px")
        self.needs("can_touch", "sends touches as mouse events")
        self.browser.emulate(390, 844, 3, mobile=True)
        self.browser.open(self.site.url)
        layout = self.browser.run(
            "var box = function (e) { var r = e.getBoundingClientRect();"
            " return [r.left, r.top, r.width, r.height]; };"
            "var page = document.documentElement;"
            "return {width: innerWidth, height: innerHeight, room: page.clientWidth,"
            " scrolls: page.scrollWidth, canvas: box(Module.canvas),"
            " buttons: ['boxes', 'all-levels', 'reset'].map(function (id) {"
            "   return box(document.getElementById(id)); })};")
        self.assertEqual(layout["width"], 390)
        # A phone's scroll bar overlays the page; a desktop engine's takes room beside it.
        self.assertEqual(layout["canvas"][2], layout["room"], "the canvas does not span the width")
        self.assertLessEqual(layout["scrolls"], layout["room"], "the page scrolls sideways")
        for left, top, width, height in layout["buttons"]:
            self.assertGreaterEqual(min(width, height), 44, "a button is too small to tap")
            self.assertLessEqual(top + height, layout["height"], "a button is below the fold")
        self.assert_buffer_is_the_shown_size(3)
        self.press("boxes", kind="touch")
        self.boxes = True
        self.assert_frame("boxes")
        self.press("all-levels", kind="touch")
        self.all_levels = True
        self.drag([pixel(DEFAULT_POINTS[Q]), (560, 560)], kind="touch")
        self.points[Q] = scene((560, 560))
        self.assert_frame("all-levels")
        self.press("reset", kind="touch")
        self.points = list(DEFAULT_POINTS)
        self.assert_frame("reset")

    # Installed, offline, and under the page's content policy.
    def own_site(self, directory):
        """The site at an origin of its own, so with no service worker yet."""
        site = Site(directory, record_console=self.browser.records_console_itself)
        self.addCleanup(site.close)
        return site

    def wait_until_kept(self):
        self.browser.wait_for(lambda: self.browser.run(
            "return navigator.serviceWorker.controller !== null"), "the page's files kept")

    def test_after_one_visit_the_page_opens_with_the_server_stopped(self):
        site = self.own_site(SITE_DIR)
        self.browser.open(site.url)
        if self.browser.name == "Chromium":
            self.assertEqual(self.browser.driver.execute_cdp_cmd(
                "Page.getInstallabilityErrors", {})["installabilityErrors"], [])
        self.wait_until_kept()
        site.close()
        self.browser.open(site.url)
        self.assert_frame("offline")
        if self.browser.records_console_itself:
            # Its console is read through a recorder that only the stopped server hands out.
            self.browser.open(self.site.url)

    def build_of_the_site(self, directory, name):
        """The built site with NAME marked in three of its files and its service worker
        written anew by the build's own step; plain copies, so with fresh file times."""
        for file in os.listdir(SITE_DIR):
            shutil.copy(os.path.join(SITE_DIR, file), directory)
        for file, mark in [("start.js", "\nwindow.startBuild = '%s';"),
                           ("quenlow.js", "\n;window.programBuild = '%s';"),
                           ("page.css", "\n:root { --build: %s; }")]:
            with open(os.path.join(directory, file), "a") as f:
                f.write(mark % name)
        subprocess.run(["cmake", "-DSITE=" + directory, "-DTEMPLATE=" + SOURCES
                        + "/web/page/service-worker.js.in", "-P", SOURCES + "/web/offline.cmake"],
                       check=True, capture_output=True)

    def test_a_new_build_takes_the_old_ones_place_whole(self):
        directory = tempfile.mkdtemp(prefix="quenlow-site-")
        self.addCleanup(shutil.rmtree, directory)
        self.build_of_the_site(directory, "first")
        built = time.time()
        site = self.own_site(directory)
        self.browser.open(site.url)
        self.wait_until_kept()
        kept = self.browser.run("return caches.keys()")
        time.sleep(max(0, built + 1.1 - time.time()))  # the server's file times are in seconds
        self.build_of_the_site(directory, "second")
        for visit in (1, 2):
            self.browser.open(site.url)
            shown = self.browser.run(
                "return [window.startBuild, window.programBuild, getComputedStyle("
                "document.documentElement).getPropertyValue('--build').trim()];")
            self.assertEqual(len(set(shown)), 1, "visit %d: files of two builds" % visit)
            self.browser.wait_for(lambda: self.browser.run(
                "var kept = arguments[0]; return Promise.all([caches.keys(), navigator"
                ".serviceWorker.getRegistration()]).then(([names, r]) => names.some((n) =>"
                " !kept.includes(n)) && !r.installing && !r.waiting && r.active.state ==="
                " 'activated');", kept), "the new build kept")
        self.assertEqual(shown, ["second"] * 3, "the second visit shows the first build")
        self.assert_frame("second-build")
        self.assertEqual([r for r in site.requests if r[1] >= 400], [], "failed requests")

    def test_the_content_policy_refuses_nothing_the_page_does(self):
        # Refusals from the start of the page (the server hands the recorder out where the
        # engine cannot run it first); every check's console check sees those of its input.
        if self.browser.can_run_before_the_page:
            self.browser.open(self.site.url, before=RECORDER)
        self.press("all-levels")
        self.assertEqual(self.browser.run("return policyViolations"), [])
        # What it did not ship is refused, and said so: an inline script and a style
        # attribute, as a script injected into it would add them.
        self.assertIsNone(self.browser.run(
            "var s = document.createElement('script'); s.textContent = 'window.ran = 1';"
            "document.body.appendChild(s); document.getElementById('panel')"
            ".setAttribute('style', 'color: red'); return window.ran;"))
        self.browser.wait_for(lambda: len(self.browser.run("return policyViolations")) == 2,
                              "two refusals")
        refused = []  # some engines tell their console a little later
        self.browser.wait_for(lambda: refused.extend(self.browser.console_problems())
                              or len(refused) >= 2, "the console's two refusals")
        self.assertTrue(all(re.search(r"Content.Security.Policy|^policy: ", text)
                            for text in refused), refused)

    # The all-levels overlay, kept between frames: each check that follows a change lets the
    # page reuse what it kept, where a stale overlay would show.
    def overlay_draws(self):
        self.frames()
        return self.browser.run("return Module.overlayDraws || 0")

    def show_kept_overlay(self):
        """Every level shown, and then a frame that changes nothing, which keeps them."""
        for key in "`x":
            self.browser.keys(key)
            self.frames()
        self.all_levels = True

    def test_the_kept_overlay_stays_while_q_moves_and_follows_each_change(self):
        self.show_kept_overlay()
        kept, frames = self.overlay_draws(), self.frames()
        for target in [(470, 260), (520, 300), (560, 220)]:
            self.drag([pixel(self.points[Q]), target])
            self.points[Q] = scene(target)
            self.frames()
        self.assertGreaterEqual(self.frames(), frames + 3)
        self.assertEqual(self.overlay_draws(), kept, "the overlay was drawn again as Q moved")
        self.assert_frame("q-moved")

        def move_p1():
            self.drag([pixel(self.points[P1]), (300, 600)])
            self.points[P1] = scene((300, 600))

        def boxes():
            self.browser.keys(ENTER)
            self.boxes = True

        for name, change, q in [("control-point", move_p1, (500, 500)),
                                ("level-shown", lambda: self.show(4), (320, 280)),
                                ("region-shape", boxes, (450, 380))]:
            before = self.overlay_draws()
            change()
            self.drag([pixel(self.points[Q]), q])
            self.points[Q] = scene(q)
            self.assertGreater(self.overlay_draws(), before, name + ": the overlay was kept")
            self.assert_frame(name)

    # Points by key and by number, what is spoken, links.
    def text(self, element_id):
        return self.browser.run("return document.getElementById(arguments[0]).textContent",
                                element_id)

    def type_into(self, field_id, *keys):
        self.browser.run("document.getElementById(arguments[0]).scrollIntoView("
                         "{block: 'center'})", field_id)
        self.browser.perform([pointer("mouse", [self.centre(field_id), "down", "up"])])
        self.browser.run("document.getElementById(arguments[0]).select()", field_id)
        self.browser.keys(*keys)

    def test_keys_and_numbers_move_points_as_a_drag_does(self):
        self.browser.keys(*[TAB] * 5)  # P0, P1, P2, P3, Q
        self.assertEqual(self.browser.run("return document.activeElement.getAttribute("
                                          "'aria-label')"), "query point Q at \u2212160, 160")
        self.browser.keys(RIGHT, RIGHT, RIGHT)
        self.hold(SHIFT, UP)  # ten pixels up
        self.points[Q] = (-157, 170)
        self.browser.run("document.activeElement.blur()")  # its ring is over the canvas
        expected = self.assert_table_shows("q-by-keys")
        # Spoken once, when the keys have come to rest, with the desktop's numbers.
        selected, truth = expected["selected"], expected["true"]
        said = "Q at \u2212157, 170. The segment ends at sample %d, %.2f px away; the truly " \
               "nearest point is %.2f px nearer." % (selected[0], selected[1],
                                                     round((selected[1] - truth[1]) * 100) / 100)
        self.browser.wait_for(lambda: self.text("spoken") == said, "the result spoken")
        # Typed, then stepped by the field's own arrow key; Enter is the field's, not the
        # program's, and the fields follow a drag.
        self.type_into("point-1-x", "-", "1", "8", "0", ENTER, UP)
        self.points[P1] = (-179, 0)
        self.assert_frame("p1-by-number")
        self.drag([pixel(self.points[Q]), (500, 520)])
        self.frames()
        self.assertEqual(self.browser.run("return [document.getElementById('point-4-x').value,"
                                          " document.getElementById('point-4-y').value]"),
                         ["100", "-120"])

    def test_a_refused_value_leaves_the_point_where_it_was(self):
        for keys, words in [("12.5", "12.5 is not a whole number"),
                            ("-20000", "-20000 is beyond"), (BACKSPACE, "the field is empty")]:
            self.type_into("point-1-x", *keys, ENTER)
            self.assertIn(words, self.text("point-1-refused"))
            self.assertIn("P1 stays at \u2212225, 0", self.text("point-1-refused"))
            self.assertEqual(self.browser.run("return document.getElementById('point-1-x')"
                                              ".getAttribute('aria-invalid')"), "true")
            self.assert_frame("refused")

    def disagreements(self):
        """Where points' Tab stops, fields or refusals, address, text alternative, buttons,
        slider and level table disagree, and whether the page scrolls sideways."""
        return self.browser.run(
            "var found = [], hash = {}, slider = +document.getElementById('level').value;"
            "location.hash.slice(1).split('&').forEach(function (part) {"
            " hash[part.split('=')[0]] = part.split('=')[1]; });"
            "var said = Module.canvas.getAttribute('aria-label'), page = document.documentElement;"
            "['P0', 'P1', 'P2', 'P3', 'Q'].forEach(function (name, i) {"
            " var at = document.querySelectorAll('#handles button')[i].getAttribute('aria-label')"
            "  .replace(/.* at /, ''), point = at.replace(/\u2212/g, '-').split(', ').map(Number);"
            " if (hash[name.toLowerCase()] !== point.join(',')) found.push('address ' + name);"
            " if (said.indexOf(name + ' at ' + at) < 0) found.push('text alternative ' + name);"
            " [0, 1].forEach(function (a) { var f = document.getElementById('point-' + i + '-' +"
            "  'xy'[a]), why = document.getElementById('point-' + i + '-refused').textContent;"
            "  if (f.getAttribute('aria-invalid') ? why.indexOf(name + ' stays at ' + at) < 0"
            "   : f.value === '' || +f.value !== point[a]) found.push(f.id + ' ' + f.value);"
            " }); });"
            "['boxes', 'all-levels'].forEach(function (id, i) { var on = document"
            " .getElementById(id).getAttribute('aria-pressed') === 'true';"
            " if (hash[['regions', 'every-level'][i]] !== [['capsules', 'boxes'], ['off', 'on']][i]"
            "  [+on]) found.push('address ' + id); });"
            "var row = document.querySelector('#levels tr[aria-current]');"
            "if (hash.level !== (slider === 10 ? 'all' : String(slider)) || (row ? row.rowIndex - 1"
            " : 10) !== slider) found.push('level ' + slider + ', ' + hash.level);"
            "if (page.scrollWidth > page.clientWidth) found.push('the page scrolls sideways');"
            "return found;")

    def test_a_value_taken_in_one_field_ends_a_refusal_in_the_other(self):
        self.type_into("point-0-y", *"12.5", TAB)
        self.assertIn("12.5 is not a whole number", self.text("point-0-refused"))
        self.type_into("point-0-x", *"-225.0", ENTER)  # where P0 is, spelled otherwise
        self.assertEqual(self.text("point-0-refused"), "")  # and the y field shows P0's y
        self.assertEqual(self.disagreements(), [])
        self.assert_frame("unmoved")

    def test_a_random_sequence_of_input_leaves_every_view_in_agreement(self):
        seed, done, found = int(os.environ.get("QUENLOW_SEED", "20261209")), [], []
        choose, finger, width = random.Random(seed), self.finger(), 1000
        print("\n%s: seed %d (QUENLOW_SEED)%s" % (self.browser.name, seed, "" if self.browser
              .can_touch else "; no finger drags: it sends touches as mouse events"),
              file=sys.stderr)
        self.browser.run("history.replaceState('first', '')")  # no Back past the page
        texts = ["12.5", BACKSPACE, "1e3", "\u221250", "-40", "-0", "9" * 60, "abc", "1e308", " 7"]
        addresses = ["p0=1,1&p0=2,2&p0=3,3", "q=NaN,NaN", "q=1e308,0", "p0=%E0%A4%A", "",
                     "level=" + "7" * 30000, "%41%42=%", "regions=boxes&" * 50, "back", "forward"]
        clamp = lambda x, y: (min(max(x, 1), width - 2), min(max(y, 1), 1099))  # noqa: E731

        def drag(kind):
            point = self.shown_points()[choose.randrange(5)]
            target = [choose.randint(-60, 860) for _ in "xy"]
            self.browser.perform([pointer(kind, [clamp(*self.css(pixel(point))), "down",
                                                 clamp(*self.css(target)), "up"])])
            return "%s drag from %s to %s" % (kind, point, scene(target))

        def keys():
            index, tabs = choose.randrange(5), choose.randint(0, 2)
            arrows = [choose.choice([RIGHT, UP, "\ue012", "\ue015"])] * choose.randint(1, 4)
            self.browser.run("document.querySelectorAll('#handles button')[%d].focus()" % index)
            self.browser.keys(*[TAB] * tabs)
            (self.hold(SHIFT, arrows[0]) if choose.random() < 0.3 else self.browser.keys(*arrows))
            return "point %d focused, %d Tab, keys %r" % (index, tabs, arrows)

        def field():  # P0 and Q more often, so that a point's two fields meet
            index, axis = choose.choice([0, 0, 1, 2, 3, 4, 4]), choose.randrange(2)
            spelled_otherwise = "%d.0" % self.shown_points()[index][axis]
            text = spelled_otherwise if choose.random() < 0.2 else choose.choice(texts)
            self.type_into("point-%d-%s" % (index, "xy"[axis]), *text, choose.choice([ENTER, TAB]))
            return "typed %r into point-%d-%s" % (text, index, "xy"[axis])

        def press(what="#panel button, #copy-link"):  # Play until it ends
            kind = choose.choice(["mouse", finger])
            at = self.browser.run("var all = [].filter.call(document.querySelectorAll(arguments[0]"
                                  "), function (e) { return e.offsetParent && !e.disabled; }),"
                                  " e = all[Math.floor(arguments[1] * all.length)], r;"
                                  "e.scrollIntoView({block: 'center'});"
                                  "r = e.getBoundingClientRect();"
                                  "return [r.left + 4, r.top + r.height / 2, e.id || e.hash];",
                                  what, choose.random())
            self.browser.perform([pointer(kind, [at[:2], "down", "up"])])
            self.browser.wait_for(lambda: self.text("play") == "Play", "the end of Play", 8)
            return "%s press of %s" % (kind, at[2])

        def address():
            to = choose.choice(addresses)
            if to in ("back", "forward"):
                to = "back" if self.browser.run("return history.state") != "first" else "forward"
                return self.browser.run("history[arguments[0]]()", to) or to
            return self.browser.run("location.hash = arguments[0]", to) or "address #" + to[:40]

        def resize():  # often near where the layout changes
            nonlocal width
            low = 320 if self.browser.can_be_a_phone else 480
            width = choose.choice([choose.randint(low, self.browser.widest),
                                   choose.randint(1150, 1220), choose.randint(low, 600)])
            return self.browser.emulate(width, 1100) or "window %d px wide" % width

        def agree():
            found[:] = self.disagreements()
            return not found

        kinds = [lambda: drag("mouse"), lambda: drag(finger), keys, field, field, press,
                 lambda: press(".gallery a"), address, address, resize,
                 lambda: self.show(choose.randint(0, ALL)) or "slider at %d" % self.level]
        for number in range(50):
            try:
                done.append(choose.choice(kinds)())
                self.frames()
                self.browser.wait_for(agree, "the views to agree", 5)
                self.assertEqual(self.browser.console_problems(), [])
                before = (self.points, self.boxes)
                now = self.browser.run("return QuenlowPoints.read()")
                self.points = [tuple(point) for point in now["points"]]
                self.boxes, self.all_levels = now["boxes"], now["allLevels"]
                self.level = now["level"]
                if number == 0 or (self.points, self.boxes) != before:  # what the numbers hang on
                    self.assert_table_shows("random-%d" % number, picture=None)
            except Exception as failure:
                raise AssertionError("seed %d, after:\n  %s\n%s" % (
                    seed, "\n  ".join(done), "; ".join(found))) from failure

    def wait_for_address(self, part):
        self.browser.wait_for(lambda: part in self.browser.run("return location.hash"),
                              "the address to hold " + part)
        return self.browser.run("return location.href")

    def test_a_link_opens_the_same_scene_in_a_fresh_browser(self):
        self.drag([pixel(DEFAULT_POINTS[P1]), (300, 560)])
        self.browser.keys(ENTER, "`")
        self.show(5)
        link = self.wait_for_address("regions=boxes&every-level=on&level=5")  # the last change
        self.assertIn("p1=-100,-160&", link)
        self.points[P1], self.boxes, self.all_levels, self.level = (-100, -160), True, True, 5
        first, self.browser = self.browser, self.engine()
        try:
            self.browser.emulate(1000, 1100)
            self.browser.open(link)
            self.assertEqual(self.slider(), [5, "level 5"])
            self.assert_table_shows("opened")
            self.assertEqual(self.browser.console_problems(), [])
        finally:
            self.browser.close()
            self.browser = first

    def test_a_malformed_link_opens_the_default_scene_and_says_why(self):
        default = self.wait_for_address("q=-160,160&")
        for fragment, words in [("#q=1,x&level=12", ["q \u201c1,x\u201d", "level \u201c12\u201d",
                                                     "p0 is missing"]),
                                ("#" + default.split("#")[1].replace("q=-160,160", "q=1,20000"),
                                 ["q (1,20000) is beyond"]),
                                ("#p0=%E0%A4%A", ["p0 has a broken %-escape"])]:
            self.browser.load("about:blank")
            self.browser.open(self.site.url + fragment)
            self.assert_frame("default")
            for word in words + ["default scene"]:
                self.assertIn(word, self.text("status"))
            self.assertEqual(self.browser.run("return location.href"), default)

    def test_no_width_scrolls_the_page_sideways_nor_does_a_long_notice(self):
        self.browser.run("location.hash = 'level=' + '7'.repeat(30000)")
        self.browser.wait_for(lambda: "default scene" in self.text("status"), "the notice")
        self.assertLess(len(self.text("status")), 200, "the notice quotes too much")
        self.show(5)  # the piece table shown too
        low, scrolled = 320 if self.browser.can_be_a_phone else 480, []
        widths = set(range(low, self.browser.widest + 1, 40)) | set(range(370, 395, 4))
        for width in sorted(w for w in widths | set(range(1150, 1215, 5)) if w >= low):
            self.browser.emulate(width, 1100)
            scrolled += [(width, self.browser.run("var p = document.documentElement;"
                                                  "return p.scrollWidth - p.clientWidth"))]
        self.assertEqual([s for s in scrolled if s[1] > 0], [], "widths that scroll sideways")

    def test_gallery_links_set_their_scenes_without_reloading(self):
        self.browser.run("window.stillTheSamePage = true")
        links = self.texts(".gallery a", "[e.hash, e.parentNode.textContent]")
        self.assertGreaterEqual(len(links), 5)
        for number, (fragment, sentence) in enumerate(links):
            self.browser.run("document.querySelectorAll('.gallery a')[arguments[0]]"
                             ".scrollIntoView()", number)
            self.browser.perform([pointer(self.finger(), [self.browser.run(
                "var r = document.querySelectorAll('.gallery a')[arguments[0]]"
                ".getBoundingClientRect(); return [r.left + 4, r.top + r.height / 2];", number),
                "down", "up"])])
            state = dict(part.split("=") for part in fragment[1:].split("&"))
            self.points = [tuple(int(c) for c in state[name].split(","))
                           for name in ["p0", "p1", "p2", "p3", "q"]]
            self.boxes = state["regions"] == "boxes"
            self.all_levels = state["every-level"] == "on"
            self.level = ALL if state["level"] == "all" else int(state["level"])
            expected = self.assert_table_shows("gallery-%d" % number)
            # What the sentence says of the search is what the desktop program does.
            self.assertIn("ends at sample %d" % expected["selected"][0], " ".join(sentence.split()))
        self.assertTrue(self.browser.run("return window.stillTheSamePage === true"))

    def test_the_accessibility_audit_finds_nothing(self):
        axe_file = os.path.join(os.path.dirname(SITE_DIR), "..", "npm", "node_modules", "axe-core",
                                "axe.min.js")
        if not os.path.exists(axe_file):
            self.skipTest("axe-core is not installed: scripts/test.sh installs it")
        with open(axe_file) as f:
            axe = f.read()
        rules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"]
        sizes = [(1000, 1100, 1, False)] + [(390, 844, 3, True)] * self.browser.can_be_a_phone
        for width, height, ratio, mobile in sizes:
            self.browser.emulate(width, height, ratio, mobile=mobile)
            self.browser.open(self.site.url)
            for moment in ["first frame", "level 5, boxes, every level",
                           "the map and the other methods",
                           "level 5's threshold, a derivation open", "pieces marked",
                           "a round", "a round revealed, hints open", "after Esc"]:
                if moment == "the map and the other methods":
                    self.show(ALL)
                    for switch in ["map-switch", "methods"]:
                        self.browser.run("document.getElementById(arguments[0]).click()", switch)
                    self.browser.wait_for(lambda: "computed" in self.text("map-state"),
                                          "the map", 30)
                    self.frames()
                elif moment == "pieces marked":
                    self.browser.run("document.getElementById('drops-ask').click()")
                    self.frames()
                    self.browser.run("document.querySelector('#pieces tbody input').click()")
                elif moment == "a round":
                    self.browser.run("document.getElementById('guess').click()")
                elif moment.startswith("a round revealed"):
                    self.browser.run("document.getElementById('guess-stop').click();"
                                     "document.querySelectorAll('#challenges details')"
                                     ".forEach(function (d) { d.open = true; })")
                elif moment == "after Esc":
                    self.browser.keys(ESCAPE)  # no derivation is open: a round closed it
                    self.browser.wait_for(lambda: "ended" in self.text("status"), "the end")
                elif moment.endswith("open"):
                    self.open_at(5, 1)
                    self.browser.run("document.querySelector('#pieces tbody td:nth-child(2)"
                                     " button').click()")
                    self.frames()
                elif moment != "first frame":
                    self.browser.keys(ENTER, "`")
                    self.show(5)
                    self.frames()
                found = self.browser.run(axe + ";return axe.run(document, {runOnly: {type: 'tag',"
                                         " values: arguments[0]}}).then(function (r) { return"
                                         " r.violations.map(function (v) { return v.id + ': ' +"
                                         " v.nodes.map(function (n) { return n.target.join(' ');"
                                         " }).join(', '); }); });", rules)
                self.assertEqual(found, [], "%d px wide, %s" % (width, moment))

    # The search explained.
    def table(self):
        return {"rows": self.texts("#levels tbody tr", "[e.getAttribute('aria-current'), %s]"
                                   % CELLS),
                "result": self.texts("#result dd")}  # final run, selected, ..., farther

    def assert_table_shows(self, name, picture=True):
        """The table against the numbers of the desktop program's frame of the same state,
        and the picture against its picture, unless `picture` is false: at deep levels the
        pieces in play are thin rings and strips hidden under the curve, and the few pixels
        of them left tell the renderers' smoothing apart, not the frames."""
        numbers_file = os.path.join(ARTIFACTS, self.browser.name, name + "-numbers.json")
        os.makedirs(os.path.dirname(numbers_file), exist_ok=True)
        self.assert_frame(name, numbers=numbers_file, picture=picture)
        with open(numbers_file) as f:
            expected = json.load(f)
        shown = self.table()
        for level, (current, cells) in enumerate(shown["rows"]):
            self.assertEqual([int(c) for c in cells[:4]], [level] + expected["levels"][level][:3])
            error_bound = expected["levels"][level][3]
            self.assertAlmostEqual(float(cells[4].replace(",", "")), error_bound,
                                   delta=0.005 * error_bound)
            self.assertEqual(current == "step", level == self.level, "row %d marked" % level)
        numbers = [[float(n) for n in re.findall(r"-?\d+(?:\.\d+)?", text)]
                   for text in shown["result"]]
        self.assertEqual([numbers[0][0]] + numbers[0][-2:], expected["final"])
        selected, nearest, truth = expected["selected"], expected["nearest"], expected["true"]
        for seen, (index, distance) in [(numbers[1], selected), (numbers[2], nearest)]:
            # The page rounds t half up, as JavaScript's toFixed does; round() goes to even.
            self.assertEqual(seen[:2], [index, int(index * 10000 / 1024 + 0.5) / 10000])
            self.assertAlmostEqual(seen[2], distance, delta=0.005)
        self.assertAlmostEqual(numbers[3][0], truth[0], delta=0.00005)
        self.assertAlmostEqual(numbers[3][1], truth[1], delta=0.005)
        self.assertAlmostEqual(numbers[4][0], selected[1] - truth[1], delta=0.005)
        return expected

    def test_the_table_shows_the_search_of_the_frame_on_the_screen(self):
        for boxes, pieces in [(False, [1, 2, 4, 8, 8, 8, 8, 8, 8, 8]),
                              (True, [1, 2, 4, 8, 8, 8, 12, 16, 24, 32])]:
            if boxes:
                self.browser.keys(ENTER)
                self.boxes = True
            expected = self.assert_table_shows("default-%s" % ("boxes" if boxes else "capsules"))
            self.assertEqual([level[0] for level in expected["levels"]], pieces)
        for scene_number in range(3):
            self.drag_to_a_seeded_scene(scene_number)
            self.assert_table_shows("scene-%d" % scene_number)

    def slider(self):
        return self.browser.run("var s = document.getElementById('level');"
                                "return [+s.value, s.getAttribute('aria-valuetext')];")

    def show(self, level):
        """The slider set to a level, as its own input would."""
        self.browser.run("var s = document.getElementById('level'); s.value = arguments[0];"
                         "s.dispatchEvent(new Event('input'));", level)
        self.level = level

    def test_the_slider_steps_through_the_levels(self):
        self.drag([pixel(DEFAULT_POINTS[Q]), (470, 260)])
        self.points[Q] = scene((470, 260))
        left = self.browser.run("var r = document.getElementById('level')"
                                ".getBoundingClientRect();"
                                "return [r.left + 2, r.top + r.height / 2];")
        self.browser.perform([pointer("mouse", [left, "down", "up"])])
        self.level = 0
        self.assertEqual(self.slider(), [0, "level 0"])
        self.assert_table_shows("level-0")
        self.browser.keys("\ue014", "\ue014", "\ue014")  # three times the right arrow
        self.level = 3
        self.assertEqual(self.slider(), [3, "level 3"])
        self.assert_table_shows("level-3")
        self.browser.keys(ENTER)  # boxes, at the same level
        self.boxes = True
        self.assert_frame("level-3-boxes")
        self.drag([pixel(self.points[Q]), (300, 420)])  # a point moved keeps the level
        self.points[Q] = scene((300, 420))
        self.assert_frame("level-3-moved")
        self.browser.perform([pointer(self.finger(), [self.centre("level"), "down", "up"])])
        self.assertEqual(self.slider()[0], 5, "a tap in the slider's middle")
        self.browser.run("document.getElementById('level').focus()")  # a finger does not
        self.browser.keys("\ue010")  # End: all levels, the program's own frame
        self.level = ALL
        self.assertEqual(self.slider(), [ALL, "all levels"])
        self.assert_table_shows("all")

    def test_play_walks_the_steps_until_a_touch_of_the_slider(self):
        self.press("play")
        started = time.monotonic()
        self.browser.wait_for(lambda: self.slider()[0] == 1, "level 1")
        elapsed = time.monotonic() - started  # level 0's four steps take 2.8 s
        self.assertTrue(2.3 < elapsed < 3.8, "a level in %.2f s" % elapsed)
        self.browser.wait_for(lambda: self.step_shown() == "level 1, bound", "its first step")
        self.browser.run("document.getElementById('level').focus()")
        self.browser.keys("\ue012")  # left arrow: back one level, and no more playing
        stopped_at = self.slider()[0]
        time.sleep(1.2)
        self.assertEqual(self.slider()[0], stopped_at, "the playing went on")
        self.level = stopped_at
        self.assert_frame("stopped")
        self.show(8)
        self.press("play")
        self.browser.wait_for(lambda: self.slider()[0] == ALL, "all levels", timeout=8)
        self.assertEqual(self.browser.run(
            "return document.getElementById('play').getAttribute('aria-pressed')"), "false")
        self.level = ALL
        self.assert_frame("played-to-the-end")

    # The search, level by level: the rule drawn, a close-up that follows the search, and
    # each piece's bounds, all against the desktop search's record of the same state.
    def drag_to_a_seeded_scene(self, number=0):
        """Scene NUMBER of a seeded choice of pixels, each point dragged there in turn."""
        choose = random.Random(20261209)
        targets = [(choose.randrange(40, 760), choose.randrange(40, 760))
                   for _ in range(5 * (number + 1))]
        for index, target in enumerate(targets[-5:]):
            self.drag([pixel(self.points[index]), target])
            self.points[index] = scene(target)

    def assert_pieces_show(self, expected):
        """The threshold and a row per piece, against the record: the radius is the smallest
        upper bound, set by the first piece that has it, and a piece is kept exactly when its
        lower bound does not exceed it."""
        record = expected["record"][self.level]
        pieces, step, tightest = record["pieces"], record["step"], record["tightest"]
        shown = [self.text("threshold"), self.texts("#pieces tbody tr",
                                                    "[e.className, %s]" % CELLS)]
        radius, first, last = re.fullmatch(
            r"kept if its nearest possible distance is at most (\d+\.\d\d) px, the farthest "
            r"possible distance of piece (\d+) \u2026 (\d+)", shown[0]).groups()
        self.assertAlmostEqual(float(radius), pieces[tightest][2], delta=0.005)
        self.assertEqual([int(first), int(last)], [pieces[tightest][0], pieces[tightest][0] + step])
        self.assertEqual(len(shown[1]), len(pieces))
        for i, ((classes, cells), (start, lower, upper, kept)) in enumerate(zip(shown[1], pieces)):
            self.assertEqual(cells[0], "%d \u2026 %d" % (start, start + step))
            if lower < 0:
                self.assertEqual(cells[1], "Q inside")
            else:
                self.assertAlmostEqual(float(cells[1][:-3]), lower, delta=0.005)
            self.assertAlmostEqual(float(cells[2][:-3]), upper, delta=0.005)
            self.assertEqual(cells[3], "kept" if kept else "dropped")
            self.assertEqual("tightest" in classes.split(), i == tightest, "row %d" % i)

    def test_each_level_draws_its_circle_and_lists_its_pieces(self):
        # The default scene's level 4, as a user first meets it, then a seeded scene.
        self.show(4)
        self.assert_pieces_show(self.assert_table_shows("default-level-4"))
        self.drag_to_a_seeded_scene()
        for level, boxes in [(1, False), (2, True), (3, False), (6, True), (9, False)]:
            if boxes != self.boxes:
                self.browser.keys(ENTER)
                self.boxes = boxes
            self.show(level)
            name = "scene-level-%d-%s" % (level, "boxes" if boxes else "capsules")
            self.assert_pieces_show(self.assert_table_shows(name, picture=level < 3))

    def assert_closeup_frames(self, expected):
        """The close-up's centre and scale against the box of what it should frame,
        computed from the desktop search's record and samples."""
        samples = expected["samples"]
        if self.level == ALL:
            points = [expected["true"][2:]]
            for start, _, _, kept in expected["record"][9]["pieces"]:
                points += [samples[start], samples[start + 1]] if kept else []
            boxes = [[x, x, y, y] for x, y in points]
        else:
            r, step = expected["levels"][self.level][3], expected["record"][self.level]["step"]
            ends = [(samples[piece[0]], samples[piece[0] + step])
                    for piece in expected["record"][self.level]["pieces"]]
            boxes = [[min(a[0], b[0]) - r, max(a[0], b[0]) + r, min(a[1], b[1]) - r,
                      max(a[1], b[1]) + r] for a, b in ends]
        box = [min(b[0] for b in boxes), max(b[1] for b in boxes),
               min(b[2] for b in boxes), max(b[3] for b in boxes)]
        x, y, scale, size, pixels, ratio, said = self.browser.run(
            "var c = document.getElementById('closeup'), d = c.dataset;"
            "return [+d.centreX, +d.centreY, +d.scale, c.getBoundingClientRect().width,"
            " c.width, devicePixelRatio,"
            " document.getElementById('magnification').textContent];")
        side = max(box[1] - box[0], box[3] - box[2])
        self.assertAlmostEqual(x, (box[0] + box[1]) / 2, delta=1e-6 * side)
        self.assertAlmostEqual(y, (box[2] + box[3]) / 2, delta=1e-6 * side)
        self.assertTrue(0.8 <= scale * side / size <= 1.0,
                        "the box spans %.3f of the view" % (scale * side / size))
        self.assertGreaterEqual(size, 320)
        self.assertEqual(pixels, round(size * ratio), "not drawn at the screen's density")
        self.assertEqual(said, "\u00d7\u00a0" + (format(round(scale), ",") if scale >= 10
                                                  else "%.2g" % scale))

    def test_the_closeup_frames_what_the_level_decided_and_follows_a_drag(self):
        self.show(2)
        self.assert_closeup_frames(self.assert_table_shows("default-level-2"))
        self.drag([pixel(DEFAULT_POINTS[Q]), (470, 260)])  # the close-up follows the drag
        self.points[Q] = scene((470, 260))
        self.assert_closeup_frames(self.assert_table_shows("moved-level-2"))
        self.drag_to_a_seeded_scene()
        self.show(7)
        self.assert_closeup_frames(self.assert_table_shows("scene-level-7", picture=False))
        self.show(ALL)
        self.assert_closeup_frames(self.assert_table_shows("scene-all"))

    def in_both_views(self, reduce, canvases="#canvas, #closeup"):
        """`reduce` (JavaScript over the RGBA array d, ending in a value v) of the canvas's
        pixels and of the close-up's, or of other canvases'."""
        return self.browser.run(
            "return [].map.call(document.querySelectorAll(arguments[0]), function (c) {"
            " var copy = document.createElement('canvas'); copy.width = c.width;"
            " copy.height = c.height; var context = copy.getContext('2d',"
            " {willReadFrequently: true}); context.drawImage(c, 0, 0);"
            " var d = context.getImageData(0, 0, c.width, c.height).data, v = 0;"
            + reduce + " return v; });", canvases)

    def chosen_rows(self):
        self.frames()
        return self.texts("#pieces tr.chosen", "e.rowIndex")

    def test_pointing_at_a_piece_outlines_it_in_both_views_until_the_level_changes(self):
        self.show(3)
        self.frames()
        self.assertEqual(self.colour_pixels(YELLOW, 20), [0, 0])
        self.browser.run("document.querySelectorAll('#pieces tbody tr')[2]"
                         ".scrollIntoView({block: 'center'})")
        rows = self.texts("#pieces tbody tr", "[e.getBoundingClientRect().left + 20,"
                                              " e.getBoundingClientRect().top + 5]")
        self.browser.perform([pointer("mouse", [rows[2]])])
        self.assertEqual(self.chosen_rows(), [3])  # below the heading row
        self.assertTrue(all(n > 20 for n in self.colour_pixels(YELLOW, 20)), "no outline")
        self.browser.perform([pointer("mouse", [(rows[2][0], rows[2][1] - 200)])])  # it stays
        self.assertEqual(self.chosen_rows(), [3])
        self.browser.perform([pointer(self.finger(), [rows[4], "down", "up"])])  # a tap
        self.assertEqual(self.chosen_rows(), [5])
        self.show(4)
        self.assertEqual(self.chosen_rows(), [])
        self.assertEqual(self.colour_pixels(YELLOW, 20), [0, 0])
        self.assert_frame("level-4")

    # The other methods, and the map of the search over the whole window.
    def native(self, *arguments):
        """The map checker's answer: what the same C++ computes natively."""
        return json.loads(subprocess.run([MAP_CHECKER] + [str(a) for a in arguments],
                                         capture_output=True, text=True, check=True).stdout)

    def test_the_methods_table_shows_the_coarse_table_on_the_wrong_strand(self):
        self.points = loop = [(-50, -200), (350, 250), (-350, 250), (50, -200), (-24, -167)]
        self.open_at(ALL)
        self.press("methods")
        self.browser.wait_for(lambda: self.browser.run("return document.querySelector("
                                                       "'#methods-table td').textContent"),
                              "the methods' table")
        for samples in (20, 200):
            self.browser.run("var f = document.getElementById('coarse-samples');"
                             " f.value = arguments[0]; f.dispatchEvent(new Event('change'));",
                             samples)
            self.frames()
            rows = self.texts("#methods-table tbody tr", CELLS)
            expected = self.native("methods", samples, *[c for p in loop for c in p])
            truth = expected["true"]
            for row, answer in zip(rows[1:4], [expected["coarse"], expected["newton"], truth]):
                self.assertAlmostEqual(float(row[1]), answer[0], delta=0.00005, msg=row)
                self.assertAlmostEqual(float(row[2].split()[0]), answer[1], delta=0.005, msg=row)
                if answer is not truth:
                    self.assertEqual(int(row[4]), answer[2], row)
            farther = float(rows[1][3].split()[0])
            self.assertAlmostEqual(farther, expected["coarse"][1] - truth[1], delta=0.01)
            # Twenty entries leave Q's tail between two of them; two hundred do not.
            self.assertTrue(farther > 30 if samples == 20 else farther < 0.5, farther)
            self.assertLess(float(rows[0][3].split()[0]), 0.5, "the search was fooled")

    def test_the_map_holds_the_native_search_at_its_spots_and_says_them(self):
        self.press("map-switch")
        finished = "return document.getElementById('map-part').dataset.seconds"
        self.browser.wait_for(lambda: self.browser.run(finished), "the whole map", 30)
        seconds = float(self.browser.run(finished))
        spots = [(120, 120), (0, 0), (399, 399), (100, 250), (201, 120), (300, 37)]  # Q's first
        controls = [c for p in DEFAULT_POINTS[:4] for c in p]
        expected = self.native(0, 0, *controls, *["%d,%d" % s for s in spots])
        print("\n%s: the map of pieces bounded in %.2f s; natively %.2f s"
              % (self.browser.name, seconds, expected["seconds"]), file=sys.stderr)
        if self.browser.name == "Chromium":
            self.assertLessEqual(seconds, 2.0)
        # Q's Tab stop, focused, says the value at Q, and is described by it.
        self.browser.run("document.querySelectorAll('#handles button')[4].focus()")
        self.assertEqual(self.text("map-value"),
                         "Q at (\u2212160, 160): %d pieces" % expected["values"][0])
        self.assertIn("map-value", self.browser.run(
            "return document.activeElement.getAttribute('aria-describedby')"))
        for (i, j), value in list(zip(spots, expected["values"]))[1:]:
            self.browser.perform([pointer("mouse", [self.css((2 * i + 1, 2 * j + 1))])])
            place = ("%d, %d" % (2 * i - 400, 400 - 2 * j)).replace("-", "\u2212")
            self.assertEqual(self.text("map-value"), "the pointer at (%s): %d pieces"
                             % (place, value))
        # A control point moved: the map starts again, for the new curve.
        self.drag([pixel(DEFAULT_POINTS[P1]), (300, 300)])
        self.frames()  # drawn, and the old map's time forgotten
        self.browser.wait_for(lambda: self.browser.run(finished), "the new map", 30)
        controls[2:4] = scene((300, 300))
        expected = self.native(0, 0, *controls, "100,250")
        self.browser.perform([pointer("mouse", [self.css((201, 501))])])
        self.assertTrue(self.text("map-value").endswith(": %d pieces" % expected["values"][0]))

    def test_choosing_a_level_from_the_strip_and_its_pictures_follow_the_scene(self):
        self.drag([pixel(DEFAULT_POINTS[Q]), (470, 260)])
        self.points[Q] = scene((470, 260))
        expected = self.assert_table_shows("moved")  # the record of the scene on the screen
        self.browser.wait_for(lambda: self.text("strip-level-9").startswith("level 9"),
                              "the strip drawn")
        self.assertEqual(self.texts("#strip button"),
                         ["level %d: %d kept" % (level, bounded - dropped)
                          for level, (bounded, dropped, _, _) in enumerate(expected["levels"])])
        blank = self.in_both_views("for (var i = 0; i < d.length; ++i) v += d[i] < 250;",
                                   "#strip canvas")
        self.assertTrue(len(blank) == 10 and all(blank), "a blank picture")
        before = self.pictures("#strip canvas")
        # Chosen by pointer.
        self.press("strip-level-3")
        self.level = 3
        self.assertEqual(self.slider(), [3, "level 3"])
        self.assert_frame("level-3")
        # A new scene redraws the pictures once it is at rest, within 100 ms.
        self.drag([pixel(self.points[Q]), (600, 600)])
        self.points[Q] = scene((600, 600))
        started = time.monotonic()
        self.browser.wait_for(lambda: self.pictures("#strip canvas") != before, "the redraw", 2)
        self.assertLess(time.monotonic() - started, 0.5)
        # Chosen by keyboard: Tab to the picture of level 2, then Enter.
        self.needs("keys_press_buttons", "sends keys that never press a button")
        self.browser.run("document.getElementById('strip-level-1').focus()")
        self.browser.keys(TAB, ENTER)
        self.level = 2
        self.assertEqual(self.slider(), [2, "level 2"])
        self.frames()  # the strip marks the level of the frame drawn
        self.assertEqual(self.browser.run("return document.querySelector('#strip"
                                          " [aria-pressed=true]').id"), "strip-level-2")
        self.assert_frame("level-2")


    # Asked before the answer is shown: guess rounds, which pieces will drop, challenges.
    def shown_points(self):
        return [tuple(p) for p in self.browser.run("return QuenlowPoints.read().points")]

    def numbers(self, name, points):
        """The desktop search's numbers of a scene, from the checker."""
        self.points = list(points)
        numbers_file = os.path.join(ARTIFACTS, self.browser.name, name + "-numbers.json")
        os.makedirs(os.path.dirname(numbers_file), exist_ok=True)
        self.assert_frame(name, numbers=numbers_file, picture=False)
        with open(numbers_file) as f:
            return json.load(f)

    def assert_revealed_against_the_solver(self, name, near):
        """The words of a revealed round: the guess, at the pixel pressed, give or take the
        engine's rounding, and its distances from the truly nearest point and from the curve,
        to a tenth of a pixel, as the solver has them."""
        said = self.text("round-said").replace("\u2212", "-")
        x, y, to_nearest, off_curve = re.fullmatch(
            r"Your guess \(the violet ring\), at (-?\d+), (-?\d+), is (\d+\.\d)\xa0px from the "
            r"nearest point of the curve \(the black cross\), and (\d+\.\d)\xa0px off the curve\.",
            said).groups()
        guess = int(x), int(y)
        self.assertTrue(abs(guess[0] - near[0]) <= 1 and abs(guess[1] - near[1]) <= 1, said)
        truth = self.numbers(name, self.shown_points())["true"]
        self.assertAlmostEqual(float(to_nearest), ((guess[0] - truth[2]) ** 2 +
                                                   (guess[1] - truth[3]) ** 2) ** 0.5, delta=0.051)
        off = self.numbers(name + "-guess", self.shown_points()[:4] + [guess])["true"]
        self.assertAlmostEqual(float(off_curve), off[1], delta=0.051)
        self.assertIn(said, self.text("spoken").replace("\u2212", "-"), "the reveal is announced")

    def until_enabled(self, element_id):
        self.browser.wait_for(lambda: self.browser.run(  # on once the program has drawn
            "return !document.getElementById(arguments[0]).disabled", element_id), element_id)

    def click(self, element_id):
        """A button clicked once the program has started, however it is pressed."""
        self.until_enabled(element_id)
        self.browser.run("document.getElementById(arguments[0]).click()", element_id)

    def test_a_round_played_by_keyboard_and_by_pointer(self):
        self.click("guess")
        self.browser.wait_for(lambda: self.browser.run(
            "return document.activeElement.id") == "guess-stop", "the guess's Tab stop")
        self.frames()  # the round's scene drawn, and its numbers in the fields
        seed = self.browser.run("return location.hash")
        self.assertRegex(seed, r"^#round=\d+$")
        q = self.shown_points()[Q]
        self.assertTrue(all(-360 <= c <= 360 for p in self.shown_points() for c in p))
        self.browser.keys(RIGHT, RIGHT, RIGHT)
        self.hold(SHIFT, UP)
        self.browser.keys(ENTER)
        self.drag([pixel(q), (300, 300)])  # no point follows a drag during a round
        self.assertEqual(self.shown_points()[Q], q)
        self.assert_revealed_against_the_solver("keyboard", (q[0] + 3, q[1] + 10))
        played = int(re.match(r"(\d+|One) rounds? played", self.text("round-score").replace(
            "One", "1")).group(1))
        self.press("next-round")
        self.frames()
        self.assertNotEqual(self.browser.run("return location.hash"), seed)
        self.browser.perform([pointer(self.finger(), [self.css((123, 456)), "down", "up"])])
        self.assert_revealed_against_the_solver("pointer", scene((123, 456)))
        self.assertTrue(self.text("round-score").startswith("%d rounds played" % (played + 1)))
        self.press("stop-round")
        self.frames()
        self.assertEqual(self.shown_points(), DEFAULT_POINTS)
        self.points = list(DEFAULT_POINTS)
        self.assert_frame("stopped")

    def page_text(self):
        """Everything the page says or holds: its text, every attribute and its address."""
        return self.browser.run(
            "var all = [location.href, document.body.innerText];"
            "document.querySelectorAll('*').forEach(function (e) {"
            " Array.prototype.forEach.call(e.attributes, function (a) { all.push(a.value); });"
            " if (e.value !== undefined) all.push(String(e.value)); });"
            "return all.join('\\n');")

    def colour_pixels(self, rgb, slack=12):
        """Pixels within `slack` of a colour in the canvas and in the close-up, if shown."""
        return self.in_both_views(
            "if (!c.getBoundingClientRect().width) return 0; for (var i = 0; i < d.length;"
            " i += 4) v += [0, 1, 2].every(function (k) { return Math.abs(d[i + k] - %s[k])"
            " < %d; });" % (json.dumps(rgb), slack))

    def test_nothing_leaks_while_the_answer_is_held_back(self):
        self.browser.open(self.site.url + "#round=20261209")
        self.frames()
        expected = self.numbers("round", self.shown_points())
        self.browser.load("about:blank")
        self.browser.open(self.site.url + "#round=20261209")  # the address opens the same round
        self.frames()
        self.assertEqual(self.shown_points(), self.points)
        self.press("methods")  # the other methods' answers are held back too
        time.sleep(0.8)  # the words spoken once the scene has come to rest
        text = self.page_text()
        self.assertEqual(self.texts("#strip button"), ["level %d" % n for n in range(10)])
        self.assertTrue(all(self.texts("#strip button", "e.disabled")), "a level shows")
        self.assertEqual("".join(self.texts("#methods-part td")), "")
        selected, truth = expected["selected"], expected["true"]
        for answer in ["%.2f px" % selected[1], "%.2f px" % truth[1], "t = %.4f" % truth[0],
                       "sample %d" % selected[0], "(%d samples)" % expected["final"][-1]]:
            self.assertNotIn(answer, text)
        self.assertEqual(self.colour_pixels([255, 128, 0]), [0, 0], "orange shows")
        self.assertGreater(self.colour_pixels([255, 0, 0])[0], 20, "no control point shows")
        self.assertEqual(self.browser.run("return document.getElementById('closeup')"
                                          ".getBoundingClientRect().width"), 0)
        self.click("stop-round")
        self.show(4)  # one level of the default scene, its decisions held back
        self.frames()
        self.click("drops-ask")
        self.frames()
        text = self.page_text()
        self.assertNotRegex(self.browser.run("return document.getElementById('pieces')"
                                             ".tBodies[0].innerHTML"), r"kept|dropped|tightest")
        self.assertNotIn("kept if", text)
        self.assertNotIn("508 \u2026 515", text)  # the final run, which all levels kept
        # The level stays at its bound step, with no circle and no drop of its own: the step
        # control is off, and an address that asks for the last step is held to it.
        off = self.texts("#stepper button, #play, button.derive", "e.disabled")
        self.assertTrue(len(off) > 10 and all(off))
        address = self.wait_for_address("level=4&step=bound")
        self.browser.run("location.hash = arguments[0]",
                         address.split("#", 1)[1].replace("step=bound", "step=halve"))
        self.frames()
        self.assertEqual(self.step_shown(), "level 4, bound")
        self.assertFalse(self.browser.run("return document.getElementById('drops-check').hidden"))
        self.assertNotIn("dropped", self.text("caption"))
        self.assertEqual(self.colour_pixels([0, 153, 140]), [0, 0], "a step shows the circle")
        self.assertEqual(self.colour_pixels(LEVEL_4_BLUE, 8)[1], 0, "a step shows a drop")
        self.show(5)  # another level ends the question, and is shown whole
        self.frames()
        self.assertEqual(self.step_shown(), "level 5, halve")

    def test_which_pieces_will_drop_judges_marks_from_the_table_the_canvas_and_the_closeup(self):
        self.show(4)
        expected = self.numbers("level-4", DEFAULT_POINTS)
        record = expected["record"][4]
        pieces, step = record["pieces"], record["step"]
        threshold = pieces[record["tightest"]][2]
        dropped = [i for i, p in enumerate(pieces) if not p[3]]
        kept = [i for i, p in enumerate(pieces) if p[3]]
        self.press("drops-ask")
        self.frames()
        for row in dropped[:2]:  # by keyboard, in the piece table, where keys press
            box = "document.querySelectorAll('#pieces tbody input')[arguments[0]]"
            self.browser.run(box + ".scrollIntoView({block: 'nearest'});" + box + ".focus()", row)
            if self.browser.keys_press_buttons:
                self.browser.keys(" ")
            else:
                self.browser.perform([pointer("mouse", [self.browser.run(
                    "var r = " + box + ".getBoundingClientRect();"
                    "return [r.left + r.width / 2, r.top + r.height / 2];", row), "down", "up"])])
        middle = expected["samples"][pieces[kept[0]][0] + step // 2]
        self.browser.perform([pointer(self.finger(), [
            self.css(pixel((round(middle[0]), round(middle[1])))), "down", "up"])])
        # And one in the close-up, at the middle of the last kept piece.
        middle = expected["samples"][pieces[kept[-1]][0] + step // 2]
        self.browser.perform([pointer(self.finger(), [self.browser.run(
            "var c = document.getElementById('closeup'), d = c.dataset;"
            " c.scrollIntoView({block: 'center'}); var r = c.getBoundingClientRect();"
            " return [r.left + r.width / 2 + (arguments[0] - d.centreX) * d.scale,"
            " r.top + r.height / 2 - (arguments[1] - d.centreY) * d.scale];", *middle),
            "down", "up"])])
        self.frames()
        self.press("drops-check")
        self.frames()
        missed = len(dropped) - 2
        self.assertEqual(self.text("drops-said"), "2 of your 4 marks are right, and %d pieces you"
                         " did not mark were dropped too." % missed)
        reasons = self.texts("#drops-reasons li")
        wanted = ["%d \u2026 %d is kept: it reaches %.2f px from Q, inside %.2f px."
                  % (pieces[i][0], pieces[i][0] + step, pieces[i][1], threshold)
                  for i in (kept[0], kept[-1])]
        wanted += ["%d \u2026 %d is dropped: its nearest possible distance, %.2f px, is more than"
                   " the smallest farthest possible distance, %.2f px."
                   % (pieces[i][0], pieces[i][0] + step, pieces[i][1], threshold)
                   for i in dropped[2:]]
        self.assertEqual(sorted(reasons), sorted(wanted))
        self.assertGreater(self.colour_pixels([0, 153, 140])[0], 100, "no circle once checked")
        self.assertGreater(self.colour_pixels(LEVEL_4_BLUE, 8)[1], 20, "no drop once checked")

    def met(self):
        return self.texts(".met-mark")

    def test_challenges_met_by_moves_stay_met_and_one_is_not(self):
        starts = "document.querySelectorAll('#challenge-list button')[arguments[0]].click()"
        self.browser.run("localStorage.clear()")  # no mark an earlier check's moves met
        self.browser.open(self.site.url)
        for number, target in [(0, (700, 700)), (3, (400, 400))]:
            self.browser.run(starts, number)
            self.frames()
            self.drag([pixel(self.shown_points()[Q]), target])
            self.browser.wait_for(lambda: self.met()[number] == "\u2713 Met", "the goal met")
            self.browser.wait_for(lambda: "Challenge met" in self.text("spoken"), "the words")
        self.browser.run(starts, 5)  # rounded boxes from the default scene: not met
        self.frames()
        self.boxes = True
        expected = self.numbers("boxes-run", self.shown_points())
        self.assertLessEqual(expected["final"][-1], 100)
        marks = ["\u2713 Met", "Not met yet", "Not met yet", "\u2713 Met", "Not met yet",
                 "Not met yet"]
        self.assertEqual(self.met(), marks)
        self.browser.open(self.site.url)  # kept in the browser
        self.assertEqual(self.met(), marks)
        self.browser.run(starts, 0)  # started again: the mark is cleared
        self.assertEqual(self.met()[0], "Not met yet")
        self.browser.run("localStorage.clear()")

    def test_a_storage_that_refuses_is_said(self):
        self.browser.run("Storage.prototype.setItem = function () {"
                         " throw new DOMException('refused', 'SecurityError'); };")
        self.click("guess")
        self.browser.perform([pointer("mouse", [self.css((400, 400)), "down", "up"])])
        self.assertIn("refuses the page\u2019s storage, so your score will be gone",
                      self.text("round-score"))
        self.browser.run("document.querySelectorAll('#challenge-list button')[4].click()")
        self.assertIn("refuses", self.text("challenges-said"))


    # The search a step at a time: the caption, the marked lines and the picture of each step.
    def step_shown(self):
        return self.browser.run("return document.getElementById('step-shown').textContent")

    def open_at(self, level, step=HALVE):
        """The scene on the screen opened afresh from its address, at a level and step."""
        state = "&".join("%s=%d,%d" % (name, x, y) for name, (x, y)
                         in zip(["p0", "p1", "p2", "p3", "q"], self.points))
        state += "&regions=%s&every-level=%s" % ("boxes" if self.boxes else "capsules",
                                                 "on" if self.all_levels else "off")
        state += "&level=all" if level == ALL else "&level=%d&step=%s" % (level, STEPS[step])
        self.browser.load("about:blank")
        self.browser.open(self.site.url + "#" + state)
        self.level, self.step = level, step
        shown = "the result" if level == ALL else "level %d, %s" % (level, STEPS[step])
        self.browser.wait_for(lambda: self.step_shown() == shown, shown)
        self.frames()

    def pictures(self, canvases="#canvas, #closeup"):
        """Both views' pixels, or other canvases', as one digest each."""
        return self.in_both_views("for (var i = 0; i < d.length; ++i) v = (v * 31 + d[i]) | 0;",
                                  canvases)

    def assert_caption_tells(self, expected):
        """The caption's every number as the tables show it, those checked against the record
        by assert_table_shows, and the search's lines of the step marked."""
        texts = {"caption": self.text("caption"), "result": self.texts("#result dd"),
                 "marked": self.texts("#search-code [aria-current=step]", "e.dataset.step"),
                 "levels": self.texts("#levels tbody tr", CELLS),
                 "pieces": self.texts("#pieces tbody tr", CELLS)}
        caption = texts["caption"]
        if self.level == ALL:
            self.assertEqual(texts["marked"], ["all", "all"])
            run, selected, farther = texts["result"][0], texts["result"][1], texts["result"][4]
            for told in ["After level 9 the final run is samples %s: " % run,
                         " sample %s, " % selected.split(" (")[0], " ends %s from Q, %s farther "
                         "than the truly nearest point of the curve." % (selected.split(", ")[-1],
                                                                         farther)]:
                self.assertIn(told, caption)
            return
        self.assertEqual(texts["marked"], [STEPS[self.step]])
        row, record = texts["levels"][self.level], expected["record"][self.level]
        nearest = min((cells[1] for cells in texts["pieces"] if cells[1] != "Q inside"),
                      key=lambda text: float(text[:-3]), default="Q inside")
        tightest = texts["pieces"][record["tightest"]]
        said = re.match(r"Level (\d+) bound(?:s|ed) (\d+) pieces?, (?:each )?within (\S+) px "
                        r"of its chord, .*?(?:is (\d+\.\d\d px)\.|Q lies inside)", caption)
        self.assertIsNotNone(said, caption)
        self.assertEqual(list(said.groups()), [str(self.level), row[1], row[4],
                                               None if nearest == "Q inside" else nearest])
        sentences = [r"The smallest farthest possible distance is (\S+ px), piece (\d+ \u2026 \d+)"
                     r"\u2019s, so some point of the curve lies within (\S+ px) of Q",
                     r"(?:(\d+) pieces? lies? wholly beyond it|No piece lies wholly beyond it)",
                     r"(\d+) (?:is|are) kept and each is halved, (?:so level (\d+) bounds (\d+)|"
                     r"and the halves\u2019 first samples, (\d+), are the final run)"]
        wanted = [[tightest[2], tightest[0], tightest[2]],
                  [None if row[2] == "0" else row[2]],
                  [row[3]] + ([str(self.level + 1), texts["levels"][self.level + 1][1], None]
                              if self.level < 9 else [None, None, str(2 * int(row[3]))])]
        for step, (sentence, numbers) in enumerate(zip(sentences, wanted), start=1):
            found = re.search(sentence, caption)
            if step > self.step:
                self.assertIsNone(found, "step %d tells of %d: %s" % (self.step, step, caption))
            else:
                self.assertIsNotNone(found, caption)
                self.assertEqual(list(found.groups()), numbers)

    def test_the_caption_tells_each_step_with_the_tables_numbers(self):
        for step in range(4):
            self.open_at(4, step)
            self.assert_caption_tells(self.assert_table_shows("default-level-4-" + STEPS[step]))
        self.open_at(ALL)
        self.assert_caption_tells(self.assert_table_shows("default-all"))
        self.drag_to_a_seeded_scene(1)
        for level, step in [(0, 3), (2, 2), (5, 3), (9, 3), (ALL, HALVE)]:
            self.open_at(level, step)
            self.assert_caption_tells(self.assert_table_shows(
                "scene-%s-%s" % (level, STEPS[step]), picture=level < 3))

    def test_each_step_looks_the_same_after_back_and_from_its_address(self):
        self.open_at(3, 0)
        self.assertEqual(self.step_shown(), "level 3, bound")
        seen = []
        for step in range(4):
            self.step = step
            self.assert_frame("level-3-" + STEPS[step])
            seen.append(self.pictures())
            self.browser.run("document.getElementById('step-next').click()")
            self.frames()
        self.assertEqual(self.step_shown(), "level 4, bound")
        self.assertEqual(len(set(map(tuple, seen))), 4, "two steps look the same")
        for step in reversed(range(4)):
            self.browser.run("document.getElementById('step-back').click()")
            self.frames()
            self.assertEqual(self.pictures(), seen[step], "Back to " + STEPS[step])
        for step in reversed(range(4)):
            self.open_at(3, step)
            self.assertEqual(self.pictures(), seen[step], "opened at " + STEPS[step])
        self.drag([pixel(self.points[Q]), (300, 300)])  # a drag keeps the step
        self.points[Q] = scene((300, 300))
        self.assertEqual(self.step_shown(), "level 3, bound")
        self.browser.run("document.getElementById('step-next').focus()")
        for key, shown in [("\ue011", "level 0, bound"), (RIGHT, "level 0, threshold"),
                           ("\ue010", "the result"), ("\ue012", "level 9, halve")]:
            self.browser.keys(key)  # Home, right arrow, End, left arrow
            self.frames()
            self.assertEqual(self.step_shown(), shown)
        self.wait_for_address("level=9&step=halve")

    # How a number was made.
    def assert_derivation_makes(self, selector, by_keys=False):
        """Opens the derivation of a number and evaluates each step of its arithmetic: each
        expression equals the figure after it to that figure's rounding, and the last is the
        number as its cell shows it."""
        if by_keys and self.browser.keys_press_buttons:
            self.browser.run("document.querySelector(arguments[0]).focus()", selector)
            self.browser.keys(" ")
        else:
            self.browser.run("document.querySelector(arguments[0]).click()", selector)
        self.frames()
        cell, text, expanded = self.browser.run(
            "var b = document.querySelector(arguments[0]); return [b.textContent,"
            " document.getElementById('derivation-text').textContent,"
            " b.getAttribute('aria-expanded')];", selector)
        self.assertEqual(expanded, "true")
        parts = [part.split(" px")[0].rstrip(".") for part in text.split(" = ")]
        values = []
        for part in parts:
            arithmetic = part.replace("\u2212", "-").replace("\u221a", "sqrt").replace(
                "\u00b2", "**2").replace("\u00b7", "*").replace("\u00be", "0.75")
            values.append(eval(arithmetic, {"sqrt": math.sqrt, "max": max})
                          if re.fullmatch(r"[-\d.\s+*/(),]*(?:(?:sqrt|max)[-\d.\s+*/(),]*)*",
                                          arithmetic.replace("**2", "")) else None)
        pairs = [(a, b, parts[i + 1]) for i, (a, b) in enumerate(zip(values, values[1:]))
                 if a is not None and b is not None]
        self.assertTrue(pairs, text)
        for value, figure, shown in pairs:
            decimals = len(shown.split(".")[1]) if "." in shown else 0
            self.assertAlmostEqual(value, figure, delta=0.0015 + 0.5 * 10 ** -decimals,
                                   msg=text)
        self.assertEqual(parts[-1] + (" px" if cell.endswith(" px") else ""), cell, text)
        return text

    def test_each_kind_of_number_shows_how_it_was_made(self):
        self.points[Q] = (-150, 100)  # nearest the middle of a piece, not at its end
        self.open_at(4, 1)
        expected = self.assert_table_shows("level-4", picture=False)  # the numbers are the point
        pieces = expected["record"][4]["pieces"]
        row = "#pieces tbody tr:nth-child(%d) td:nth-child(%d) button"
        kinds = [self.assert_derivation_makes(row % (i + 1, 2)).split(" = ")[1]
                 for i in range(len(pieces))]  # Q beside the chord, or beyond an end
        self.assertIn("distance from Q to the chord \u2212 r", kinds)
        self.assertIn("distance from Q to the nearer end \u2212 r", kinds)
        self.assertTrue(all(n > 10 for n in self.colour_pixels(BROWN, 25)), "no construction")
        self.assertIn("farther end + r", self.assert_derivation_makes(row % (1, 3), by_keys=True))
        self.assertIn("r\u2080 / 4^4", self.assert_derivation_makes("#level-4-3"))
        self.browser.keys(ESCAPE)  # closes it, and the program goes on
        self.frames()
        self.assertTrue(self.browser.run("return document.getElementById('derivation').hidden"))
        self.assertEqual(self.colour_pixels(BROWN, 25), [0, 0])
        self.browser.run("document.getElementById('boxes').click()")
        self.boxes = True
        farthest = max(range(len(pieces)), key=lambda i: pieces[i][1])
        box = self.assert_derivation_makes(row % (farthest + 1, 2))
        self.assertIn("bounding box \u2212 r", box)

if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    SITE_DIR, CHECKER = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    MAP_CHECKER = os.path.join(os.path.dirname(CHECKER), "web_map_check")  # built beside it
    ARTIFACTS = os.path.join(os.path.dirname(SITE_DIR), "test-artifacts")
    rest = sys.argv[3:]
    chosen = "chromium,firefox,webkit"
    for arg in list(rest):
        if arg.startswith("--browsers="):
            chosen = arg.split("=", 1)[1]
            rest.remove(arg)
    # The same checks once for each engine, as test cases of their own: InChromium, ...
    for name in chosen.split(","):
        engine = ENGINES[name]
        globals()["In" + engine.name] = type("In" + engine.name, (PageChecks, unittest.TestCase),
                                             {"engine": engine})
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
