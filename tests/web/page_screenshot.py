"""Takes the README's picture of the web page: the whole page in headless Chromium, wide
enough for the text beside the canvas, with the program's first frame.

usage: page_screenshot.py SITE_DIR OUTPUT.png
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, Site  # noqa: E402

if len(sys.argv) != 3:
    sys.exit(__doc__)
site = Site(sys.argv[1])
browser = Browser()
try:
    browser.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": 1290, "height": 832, "deviceScaleFactor": 1, "mobile": False})
    browser.open(site.url)
    browser.driver.execute_async_script(
        "requestAnimationFrame(function () { requestAnimationFrame(arguments[0]); }"
        ".bind(null, arguments[arguments.length - 1]));")
    browser.driver.save_screenshot(sys.argv[2])
finally:
    browser.close()
    site.close()
