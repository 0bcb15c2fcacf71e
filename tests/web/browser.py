"""The program's page in a real browser: the built site served on an ephemeral port of
127.0.0.1, every request's status kept, and one of three engines with a fresh profile that
reaches nothing but that server: Chromium and WebKitGTK through WebDriver (Selenium), and
Firefox through WebDriver BiDi, which it speaks itself. All three take the same W3C input
actions and JavaScript, so one set of checks runs in each. Shared by the browser tests and
the browser benchmark."""

import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import warnings

ENTER, ESCAPE, TAB, CONTROL, ALT = "\ue007", "\ue00c", "\ue004", "\ue009", "\ue00a"

# Console messages for an engine whose driver cannot read the console, and any refusal by
# the page's content policy in every engine: recorded by the page itself, from before its
# own scripts run. The server hands it out as a file of its own, which the policy allows.
RECORDER = """window.consoleProblems = [];
window.policyViolations = [];
['error', 'warn'].forEach(function (level) {
  var original = console[level];
  console[level] = function () {
    consoleProblems.push(level + ': ' + Array.prototype.join.call(arguments, ' '));
    original.apply(console, arguments);
  };
});
addEventListener('error', function (e) { consoleProblems.push('error: ' + e.message); });
addEventListener('unhandledrejection', function (e) {
  consoleProblems.push('rejected: ' + e.reason);
});
addEventListener('securitypolicyviolation', function (e) {
  var refused = e.effectiveDirective + ' refused ' + (e.blockedURI || 'inline');
  policyViolations.push(refused);
  consoleProblems.push('policy: ' + refused);
});
"""
RECORDER_PATH = "/console-recorder.js"


class _Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.server.record_console and self.path in ("/", "/index.html"):
            with open(os.path.join(self.directory, "index.html"), "rb") as page:
                body = page.read().replace(
                    b"<head>", b'<head><script src="%s"></script>' % RECORDER_PATH.encode(), 1)
            self.reply(body, "text/html; charset=utf-8")
        elif self.server.record_console and self.path == RECORDER_PATH:
            self.reply(RECORDER.encode(), "text/javascript")
        else:
            super().do_GET()

    def reply(self, body, content_type):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_request(self, code="-", size="-"):
        self.server.requests.append((self.path, int(code)))

    def log_message(self, *args):
        pass


class Site:
    """Serves a directory until closed; `requests` lists (path, status) as they came."""

    def __init__(self, directory, record_console=False):
        handler = functools.partial(_Handler, directory=directory)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.server.requests = []
        self.server.record_console = record_console
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    @property
    def requests(self):
        return self.server.requests

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """What the checks ask of an engine. `run` takes the body of a JavaScript function, which
    may return a promise, and gives back its value through JSON; `perform` takes W3C action
    sources, with positions in CSS pixels of the viewport."""

    name = None
    can_touch = True  # sends real touch events, not mouse events
    can_pen = True  # and a pen's
    can_set_pixel_ratio = True
    can_be_a_phone = True  # a viewport 390 CSS pixels wide
    widest = 1920  # the widest window it can make, in CSS pixels
    announces_ratio_changes = True  # a new ratio set while the page is open reaches it
    keys_press_buttons = True  # Enter and Space on a focused button press it
    releases_the_right_button = True  # as the right button, so the page sees it released
    can_run_before_the_page = True  # a script of its own before the page's on a load
    records_console_itself = False  # needs the page served with RECORDER

    def open(self, url, before=None):
        """Loads the page, with a script of `before` run ahead of the page's own, and waits
        for the program's first frame."""
        self.load(url, before=before)
        self.wait_for(lambda: self.run("return (window.Module && Module.framesDrawn) || 0") >= 1,
                      "the program's first frame")

    def wait_for(self, condition, what, timeout=20):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                raise AssertionError("timed out waiting for " + what)
            time.sleep(0.05)

    def keys(self, *keys):
        actions = [{"type": kind, "value": key} for key in keys for kind in ("keyDown", "keyUp")]
        self.perform([{"type": "key", "id": "keyboard", "actions": actions}])


class _Selenium(Browser):
    def load(self, url, before=None):
        assert before is None, self.name + " cannot run a script before the page's"
        self.driver.get(url)

    def run(self, body, *args):
        result = json.loads(self.driver.execute_async_script(
            "var done = arguments[arguments.length - 1];"
            "var args = Array.prototype.slice.call(arguments, 0, -1);"
            "Promise.resolve().then(function () { return (function () {" + body + "})"
            ".apply(null, args); }).then(function (v) {"
            " done(JSON.stringify({value: v === undefined ? null : v})); },"
            " function (e) { done(JSON.stringify({error: String(e)})); });", *args))
        if "error" in result:
            raise RuntimeError("the page's script failed: " + result["error"])
        return result["value"]

    def perform(self, sources):
        from selenium.webdriver.remote.command import Command
        self.driver.execute(Command.W3C_ACTIONS, {"actions": sources})
        self.driver.execute(Command.W3C_CLEAR_ACTIONS)


class Chromium(_Selenium):
    """Headless Chromium through ChromeDriver, with touch input and the console kept."""

    name = "Chromium"
    announces_ratio_changes = False  # its emulation fires neither media queries nor resizes

    def __init__(self, width=1000, height=1100, extra_flags=()):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        self.profile = tempfile.mkdtemp(prefix="quenlow-chromium-")
        options = webdriver.ChromeOptions()
        for flag in ["--headless=new", "--no-sandbox", "--touch-events=enabled",
                     "--window-size=%d,%d" % (width, height),
                     "--user-data-dir=" + self.profile,
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--disable-quic",
                     *extra_flags]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                                       options=options)

    def load(self, url, before=None):
        script = before and self.driver.execute_cdp_cmd(
            "Page.addScriptToEvaluateOnNewDocument", {"source": before})["identifier"]
        self.driver.get(url)
        if script:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                        {"identifier": script})

    def emulate(self, width, height, ratio=1, mobile=False):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": mobile})

    def canvas_screenshot(self, path):
        self.driver.find_element("id", "canvas").screenshot(path)

    def console_problems(self):
        return [e["message"] for e in self.driver.get_log("browser")
                if e["level"] in ("SEVERE", "WARNING")]

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


class WebKit(_Selenium):
    """WebKitGTK's MiniBrowser through WebKitWebDriver, in a window on a private X server:
    it has no headless mode. Its automation sends touches as mouse events, cannot set the
    pixel ratio or narrow the window to a phone's width, and releases a right button as the
    left one, after which the page gets no more pointer events. Its screenshots of an element
    come out partly black, so the picture is the canvas's own, which at its one pixel ratio
    is what the screen shows."""

    name = "WebKit"
    can_touch = False
    can_pen = False
    can_set_pixel_ratio = False
    can_be_a_phone = False  # its window is at least 447 pixels wide
    widest = 1400  # its private screen's width
    announces_ratio_changes = False
    releases_the_right_button = False  # it releases the left, and pointer events then stop
    can_run_before_the_page = False
    records_console_itself = True

    def __init__(self, width=1000, height=1100):
        from selenium import webdriver
        from selenium.webdriver.webkitgtk.options import Options
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1400x1400x24", "-nolisten",
             "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            self.outer_display = os.environ.get("DISPLAY")
            os.environ["DISPLAY"] = ":" + display.readline().strip()
        options = Options()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        with warnings.catch_warnings():  # Debian's Selenium warns of its own arguments
            warnings.simplefilter("ignore", DeprecationWarning)
            self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver",
                                              options=options)
        self.emulate(width, height)

    def emulate(self, width, height, ratio=1, mobile=False):
        self.driver.set_window_size(width, height)

    def canvas_screenshot(self, path):
        with open(path, "wb") as png:
            png.write(base64.b64decode(self.run(
                "return Module.canvas.toDataURL('image/png').split(',')[1]")))

    def console_problems(self):
        return self.run("var seen = window.consoleProblems || ['no console recorder'];"
                        "window.consoleProblems = []; return seen;")

    def close(self):
        self.driver.quit()
        self.xvfb.kill()
        self.xvfb.wait()
        if self.outer_display is None:
            del os.environ["DISPLAY"]
        else:
            os.environ["DISPLAY"] = self.outer_display


class Firefox(Browser):
    """Headless Firefox ESR through WebDriver BiDi."""

    name = "Firefox"
    can_pen = False  # "Unimplemented pointerMove for pointerType pen"
    keys_press_buttons = False  # its keys reach the button, trusted, but never press it

    def __init__(self, width=1000, height=1100):
        from bidi import BiDi
        self.profile = tempfile.mkdtemp(prefix="quenlow-firefox-")
        self.process = subprocess.Popen(
            ["firefox-esr", "--headless", "--no-remote", "--profile", self.profile,
             "--remote-debugging-port=0", "about:blank"],
            env=dict(os.environ, HOME=self.profile), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.bidi = BiDi.from_firefox(self.process.stderr)
        self.bidi.send("session.new", capabilities={})
        self.bidi.send("session.subscribe", events=["log.entryAdded"])
        self.context = self.bidi.send("browsingContext.getTree")["contexts"][0]["context"]
        self.emulate(width, height)

    def load(self, url, before=None):
        script = before and self.bidi.send(
            "script.addPreloadScript", functionDeclaration="() => {%s}" % before)["script"]
        self.bidi.send("browsingContext.navigate", context=self.context, url=url,
                       wait="complete")
        if script:
            self.bidi.send("script.removePreloadScript", script=script)

    def run(self, body, *args):
        reply = self.bidi.send(
            "script.callFunction", target={"context": self.context}, awaitPromise=True,
            functionDeclaration="async function (args) { var v = await (function () {%s})"
            ".apply(null, JSON.parse(args)); return JSON.stringify(v === undefined ? null : v); }"
            % body, arguments=[{"type": "string", "value": json.dumps(args)}])
        if reply["type"] == "exception":
            raise RuntimeError("the page's script failed: " + reply["exceptionDetails"]["text"])
        return json.loads(reply["result"]["value"])

    def perform(self, sources):
        self.bidi.send("input.performActions", context=self.context, actions=sources)
        self.bidi.send("input.releaseActions", context=self.context)

    def emulate(self, width, height, ratio=1, mobile=False):
        self.bidi.send("browsingContext.setViewport", context=self.context,
                       viewport={"width": width, "height": height}, devicePixelRatio=ratio)

    def canvas_screenshot(self, path):
        canvas = self.bidi.send("script.evaluate", expression="Module.canvas",
                                target={"context": self.context}, awaitPromise=False)
        # The document's picture, not the viewport's: the canvas may be scrolled out of view.
        shot = self.bidi.send("browsingContext.captureScreenshot", context=self.context,
                              origin="document", clip={"type": "element",
                                    "element": {"sharedId": canvas["result"]["sharedId"]}})
        with open(path, "wb") as png:
            png.write(base64.b64decode(shot["data"]))

    def console_problems(self):
        return ["%s: %s" % (e["params"]["level"], e["params"].get("text"))
                for e in self.bidi.take_events()
                if e["method"] == "log.entryAdded" and e["params"]["level"] in ("error", "warn")]

    def close(self):
        self.bidi.close()
        self.process.kill()
        self.process.wait()
        self.process.stderr.close()
        shutil.rmtree(self.profile, ignore_errors=True)


ENGINES = {"chromium": Chromium, "firefox": Firefox, "webkit": WebKit}
