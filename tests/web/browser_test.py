"""The program's page in headless Chromium, driven with the browser's own pointer, touch and
key input. Every picture is checked against the desktop program's frame of the state the
input should have made, by web_frame_check; every test also ends with a clean console and
no failed request.

usage: browser_test.py SITE_DIR WEB_FRAME_CHECK [unittest arguments]
"""

import os
import subprocess
import sys
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.mouse_button import MouseButton
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, Site  # noqa: E402

SITE_DIR = CHECKER = ARTIFACTS = None

DEFAULT_POINTS = [(-225, -225), (-225, 0), (0, 225), (225, 225), (-160, 160)]
P1, P3, Q = 1, 3, 4


def pixel(scene_point):
    """The canvas pixel of a scene point, as the program maps them."""
    return 400 + scene_point[0], 400 - scene_point[1]


def scene(canvas_pixel):
    return canvas_pixel[0] - 400, 400 - canvas_pixel[1]


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = Site(SITE_DIR)
        cls.browser = Browser()
        cls.driver = cls.browser.driver

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.site.close()

    def setUp(self):
        self.browser.open(self.site.url)
        self.points = list(DEFAULT_POINTS)
        self.boxes = False
        self.all_levels = False

    def tearDown(self):
        problems = [e["message"] for e in self.driver.get_log("browser")
                    if e["level"] in ("SEVERE", "WARNING")]
        self.assertEqual(problems, [], "the console shows problems")
        self.assertEqual([r for r in self.site.requests if r[1] >= 400], [],
                         "failed requests")

    # Input, at canvas pixels mapped to where the canvas is shown.
    def css(self, canvas_pixel):
        rect = self.driver.execute_script(
            "var r = Module.canvas.getBoundingClientRect();"
            "return [r.left, r.top, r.width / Module.canvas.width, "
            "r.height / Module.canvas.height];")
        return (int(rect[0] + canvas_pixel[0] * rect[2]),
                int(rect[1] + canvas_pixel[1] * rect[3]))

    def drag(self, path, kind=interaction.POINTER_MOUSE, button=MouseButton.LEFT):
        builder = ActionBuilder(self.driver, mouse=PointerInput(kind, kind), duration=0)
        builder.pointer_action.move_to_location(*self.css(path[0]))
        builder.pointer_action.pointer_down(button=button)
        for step in path[1:]:
            builder.pointer_action.move_to_location(*self.css(step))
        builder.pointer_action.pointer_up(button=button)
        builder.perform()

    def keys(self, *keys):
        ActionChains(self.driver, duration=0).send_keys(*keys).perform()

    def frames(self):
        """Frames drawn so far, once every redraw asked for has been drawn."""
        return self.driver.execute_async_script(
            "var done = arguments[arguments.length - 1];"
            "requestAnimationFrame(function () { requestAnimationFrame(function () {"
            "  done(Module.framesDrawn); }); });")

    # The picture, against the desktop program's frame of the expected state.
    def assert_frame(self, name):
        self.frames()
        directory = os.path.join(ARTIFACTS, self.id().split(".")[-1] + "-" + name)
        os.makedirs(directory, exist_ok=True)
        shot = os.path.join(directory, "screenshot.png")
        self.driver.find_element("id", "canvas").screenshot(shot)
        state = [str(int(self.boxes)), str(int(self.all_levels))]
        state += [str(c) for point in self.points for c in point]
        check = subprocess.run([CHECKER, shot, directory] + state,
                               capture_output=True, text=True)
        self.assertEqual(check.returncode, 0,
                         "%s: the browser's frame is not the desktop's\n%s%s"
                         % (name, check.stdout, check.stderr))

    def test_first_frame_then_enter_and_grave_accent(self):
        self.assert_frame("first")
        for key, name in [("\n", "boxes"), ("`", "boxes-all-levels"),
                          ("`", "boxes-again"), (Keys.ENTER, "capsules")]:
            before = self.frames()
            self.keys(Keys.ENTER if key == "\n" else key)
            self.assertEqual(self.frames(), before + 1, name + ": one redraw for one key")
            if key == "`":
                self.all_levels = not self.all_levels
            else:
                self.boxes = not self.boxes
            self.assert_frame(name)
        self.keys("`")
        self.all_levels = True
        self.assert_frame("capsules-all-levels")

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
        hover = ActionBuilder(self.driver, duration=0)
        hover.pointer_action.move_to_location(*self.css((500, 500)))
        hover.perform()
        self.assert_frame("after")

    def test_mouse_press_reaches_as_far_as_on_the_desktop(self):
        p1 = pixel(DEFAULT_POINTS[P1])
        self.drag([(p1[0] + 6, p1[1]), (300, 600)])  # 36 px² is out of reach
        self.assert_frame("missed")
        self.drag([(p1[0] + 5, p1[1]), (300, 600)])  # 25 px² is within it
        self.points[P1] = scene((300, 600))
        self.assert_frame("caught")

    def test_right_click_restores_the_default_scene_without_a_menu(self):
        self.driver.execute_script(
            "window.menuPrevented = null; document.addEventListener('contextmenu',"
            " function (e) { window.menuPrevented = e.defaultPrevented; });")
        self.drag([pixel(DEFAULT_POINTS[Q]), (500, 500)])
        self.keys(Keys.ENTER)
        self.boxes = True
        self.drag([(600, 600)], button=MouseButton.RIGHT)
        self.assert_frame("reset")
        self.assertIs(self.driver.execute_script("return window.menuPrevented"), True,
                      "the right click's context menu is not suppressed")

    def test_touch_drags_the_nearest_point_within_reach(self):
        touch = interaction.POINTER_TOUCH
        q = pixel(DEFAULT_POINTS[Q])
        # 20 pixels off: beyond a mouse press's reach, within a finger's.
        self.drag([(q[0] + 16, q[1] + 12), (q[0] + 60, q[1]), (500, 300)], kind=touch)
        self.points[Q] = scene((500, 300))
        self.assert_frame("far-touch")
        self.assertEqual(self.driver.execute_script(
            "return [scrollX, scrollY, visualViewport.scale]"), [0, 0, 1],
            "the page scrolled or zoomed under the finger")
        # Q 5 pixels right of P1: a mouse press between them takes Q, the later point, and
        # so would a press made on P1 itself; a touch takes the nearer one, P1.
        p1 = pixel(DEFAULT_POINTS[P1])
        self.drag([(500, 300), (p1[0] + 5, p1[1])])
        self.points[Q] = scene((p1[0] + 5, p1[1]))
        self.drag([(p1[0] + 2, p1[1]), (250, 650)], kind=touch)
        self.points[P1] = scene((250, 650))
        self.assert_frame("nearest")
        # Equally near two points, the later one: Q 20 pixels right of P3, touched halfway.
        p3 = pixel(DEFAULT_POINTS[P3])
        self.drag([pixel(self.points[Q]), (p3[0] + 20, p3[1])])
        self.drag([(p3[0] + 10, p3[1]), (100, 100)], kind=touch)
        self.points[Q] = scene((100, 100))
        self.assert_frame("tie")
        # 26 pixels from P0, the nearest point: beyond a finger's reach, nothing moves.
        p0 = pixel(DEFAULT_POINTS[0])
        self.drag([(p0[0] + 26, p0[1]), (500, 500)], kind=touch)
        self.assert_frame("nothing")

    def test_a_second_finger_changes_nothing(self):
        q = pixel(DEFAULT_POINTS[Q])
        p3 = pixel(DEFAULT_POINTS[P3])
        builder = ActionBuilder(self.driver, duration=0)
        first = builder.add_pointer_input(interaction.POINTER_TOUCH, "first")
        second = builder.add_pointer_input(interaction.POINTER_TOUCH, "second")
        for a, b in [(("move", q), ("pause",)), (("down",), ("pause",)),
                     (("move", (300, 300)), ("move", p3)), (("pause",), ("down",)),
                     (("move", (320, 320)), ("move", (700, 500))),
                     (("pause",), ("up",)), (("move", (340, 300)), ("pause",)),
                     (("up",), ("pause",))]:
            for source, step in [(first, a), (second, b)]:
                if step[0] == "move":
                    source.create_pointer_move(x=self.css(step[1])[0], y=self.css(step[1])[1],
                                               duration=0)
                elif step[0] == "down":
                    source.create_pointer_down(button=MouseButton.LEFT)
                elif step[0] == "up":
                    source.create_pointer_up(button=MouseButton.LEFT)
                else:
                    source.create_pause(0)
        builder.perform()
        self.points[Q] = scene((340, 300))
        self.assert_frame("one-finger")

    def test_narrow_screen_scales_the_canvas_and_maps_input_back(self):
        self.driver.set_window_size(520, 1100)
        try:
            size = self.driver.execute_script(
                "var r = Module.canvas.getBoundingClientRect();"
                "return [r.width, Module.canvas.width, Module.canvas.height];")
            self.assertLess(size[0], 500, "the canvas is not scaled down to fit")
            self.assertEqual(size[1:], [800, 800])
            css_target = self.css((600, 640))
            rect = self.driver.execute_script(
                "var r = Module.canvas.getBoundingClientRect(); return [r.left, r.top];")
            self.drag([pixel(DEFAULT_POINTS[Q]), (600, 640)])  # to css_target
        finally:
            self.driver.set_window_size(1000, 1100)
        # Where the program saw the pointer: the CSS position mapped back to canvas pixels.
        scale = 800 / size[0]
        seen = (int((css_target[0] - rect[0]) * scale), int((css_target[1] - rect[1]) * scale))
        self.assertLessEqual(abs(seen[0] - 600) + abs(seen[1] - 640), 4)
        self.points[Q] = scene(seen)
        self.assert_frame("dragged")

    def test_keys_with_modifiers_stay_the_browsers(self):
        self.driver.execute_script(
            "window.keysPrevented = []; window.addEventListener('keydown', function (e) {"
            " window.keysPrevented.push(e.defaultPrevented); });")
        before = self.frames()
        ActionChains(self.driver, duration=0).key_down(Keys.CONTROL).send_keys("`").key_up(
            Keys.CONTROL).key_down(Keys.ALT).send_keys(Keys.ENTER).key_up(Keys.ALT).perform()
        self.assertEqual(self.frames(), before)
        self.assertNotIn(True, self.driver.execute_script("return window.keysPrevented"))
        self.assert_frame("unchanged")
        # Any other key is the program's: a redraw that changes nothing.
        self.keys("x")
        self.assertEqual(self.frames(), before + 1)
        self.assert_frame("after-x")

    def test_escape_ends_the_program_and_says_so(self):
        self.keys(Keys.ESCAPE)
        self.browser.wait_for(lambda: self.driver.find_element("id", "status").text != "",
                              "the notice")
        notice = self.driver.find_element("id", "status").text
        self.assertIn("ended", notice)
        self.assertIn("Reload", notice)
        before = self.frames()
        self.keys(Keys.ENTER)
        self.drag([pixel(DEFAULT_POINTS[Q]), (500, 500)])
        self.assertEqual(self.frames(), before, "the ended program still draws")
        self.assert_frame("last")

    def test_without_webassembly_or_a_2d_canvas_the_page_says_so(self):
        for missing, words in [("WebAssembly", "cannot run WebAssembly"),
                               ("CanvasRenderingContext2D", "cannot draw on a canvas")]:
            # A browser without it, as far as the page can tell.
            script = self.driver.execute_cdp_cmd(
                "Page.addScriptToEvaluateOnNewDocument",
                {"source": "delete window.%s;" % missing})["identifier"]
            try:
                del self.site.requests[:]
                self.driver.refresh()
                self.browser.wait_for(
                    lambda: self.driver.find_element("id", "status").text != "", "the notice")
                self.assertIn(words, self.driver.find_element("id", "status").text)
                self.assertNotIn("/quenlow.js", [path for path, _ in self.site.requests])
            finally:
                self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                            {"identifier": script})


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    SITE_DIR, CHECKER = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    ARTIFACTS = os.path.join(os.path.dirname(SITE_DIR), "test-artifacts")
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
