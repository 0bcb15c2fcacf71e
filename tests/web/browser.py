"""The program's page in a real headless Chromium: the built site served on an ephemeral
port of 127.0.0.1, every request's status kept, and a browser with a fresh profile that
reaches nothing but that server. Shared by the browser tests and the browser benchmark."""

import functools
import http.server
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class _Handler(http.server.SimpleHTTPRequestHandler):
    def log_request(self, code="-", size="-"):
        self.server.requests.append((self.path, int(code)))

    def log_message(self, *args):
        pass


class Site:
    """Serves a directory until closed; `requests` lists (path, status) as they came."""

    def __init__(self, directory):
        handler = functools.partial(_Handler, directory=directory)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.server.requests = []
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
    """Headless Chromium through ChromeDriver, with touch input and the console kept."""

    def __init__(self, width=1000, height=1100, extra_flags=()):
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

    def open(self, url):
        """Loads the page and waits for the program's first frame."""
        self.driver.get(url)
        self.wait_for(lambda: self.driver.execute_script(
            "return (window.Module && Module.framesDrawn) || 0") >= 1,
            "the program's first frame")

    def wait_for(self, condition, what, timeout=20):
        from selenium.webdriver.support.ui import WebDriverWait
        WebDriverWait(self.driver, timeout, poll_frequency=0.05).until(
            lambda _: condition(), "timed out waiting for " + what)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)
