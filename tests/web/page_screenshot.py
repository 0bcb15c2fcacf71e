"""Takes the README's pictures of the web page in headless Chromium: the page beside its
first frame (web-page.png), on a phone of 390 x 844 CSS pixels at pixel ratio 2
(web-phone.png), and stepped through to level 6 with the query point moved near the curve,
where the close-up shows the circle's edge with pieces kept and dropped on both sides of
it (web-levels.png); level 4 of the default scene at its threshold step, with the
caption and the search's lines beside it (web-steps.png); the loop scene with the other
methods and the map of where the coarse table misses (web-map.png) with the methods' table
(web-methods.png), and the strip of every level's picture (web-strip.png); a guess round
revealed (web-round.png); and the default scene's level 4 with three pieces marked to drop
and checked (web-drops.png).

usage: page_screenshot.py SITE_DIR OUTPUT_DIR
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Chromium, Site  # noqa: E402

if len(sys.argv) != 3:
    sys.exit(__doc__)
site = Site(sys.argv[1])
browser = Chromium()
# Each picture's scene, as its address sets it.
DEFAULT = "#p0=-225,-225&p1=-225,0&p2=0,225&p3=225,225&regions=capsules&every-level=off"
LOOP = "#p0=-50,-200&p1=350,250&p2=-350,250&p3=50,-200&q=-24,-167&regions=capsules" \
       "&every-level=off&level=all"
ADDRESSES = {"web-levels": DEFAULT + "&q=-70,70&level=6",
             "web-steps": DEFAULT + "&q=-160,160&level=4&step=threshold",
             "web-map": LOOP,
             "web-strip": DEFAULT + "&q=-160,160&level=4",
             "web-round": "#round=20261209",
             "web-drops": DEFAULT + "&q=-160,160&level=4"}
settled = "return new Promise(function (done) { requestAnimationFrame(function () {" \
          " requestAnimationFrame(done); }); });"
try:
    for name, width, height, ratio, mobile in [("web-page", 1290, 832, 1, False),
                                               ("web-phone", 390, 844, 2, True),
                                               ("web-levels", 1290, 832, 1, False),
                                               ("web-steps", 1290, 832, 1, False),
                                               ("web-map", 1290, 832, 1, False),
                                               ("web-strip", 1290, 832, 1, False),
                                               ("web-round", 1290, 900, 1, False),
                                               ("web-drops", 1290, 2250, 1, False)]:
        browser.emulate(width, height, ratio, mobile)
        browser.load("about:blank")  # a new address of the same page would not reload it
        browser.open(site.url + ADDRESSES.get(name, ""))
        if name == "web-round":
            # A guess tapped at (-20, 20) of the scene, a little off the curve.
            left, top = browser.run("var r = Module.canvas.getBoundingClientRect();"
                                    "return [r.left, r.top];")
            browser.run(settled)
            browser.perform([{"type": "pointer", "id": "mouse", "actions": [
                {"type": "pointerMove", "x": int(left) + 380, "y": int(top) + 380},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])
        if name == "web-drops":
            # Two pieces marked that drop, one that is kept.
            browser.run("document.getElementById('drops-ask').click()")
            browser.run(settled)
            browser.run("var boxes = document.querySelectorAll('#pieces tbody input');"
                        "[0, 1, 2].forEach(function (i) { boxes[i].click(); });"
                        "document.getElementById('drops-check').click();")
            browser.run("scrollTo(0, 0)")
        if name == "web-map":  # where the coarse table misses, and the other methods
            browser.run("var m = document.getElementById('map-quantity'); m.value = '3';"
                        "m.dispatchEvent(new Event('change'));"
                        "document.getElementById('map-switch').click();"
                        "document.getElementById('methods').click();")
            browser.wait_for(lambda: "computed" in browser.run(
                "return document.getElementById('map-state').textContent"), "the map", 60)
        browser.run(settled)
        if name == "web-strip":
            browser.run("return new Promise(function (done) { setTimeout(done, 300); })")
            browser.driver.find_element("id", "strip").screenshot(
                os.path.join(sys.argv[2], name + ".png"))
            continue
        browser.driver.save_screenshot(os.path.join(sys.argv[2], name + ".png"))
        if name == "web-map":  # and the methods' table beside it
            browser.driver.find_element("id", "methods-part").screenshot(
                os.path.join(sys.argv[2], "web-methods.png"))
finally:
    browser.close()
    site.close()
