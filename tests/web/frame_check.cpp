// Checks a browser's picture of the program against the desktop program's own frame of the
// same state, drawn offscreen by Mesa: every colour class in the same places, within two
// pixels both ways, and covering about as many pixels, so with lines of the same widths.
// Saves both pictures when they differ. At a level short of all, what the page draws over
// the frame for the step of the level shown belongs to it: the circle of the level's
// threshold, the undecided regions, the halves' ends. Also writes what the page's tables
// should show.
#include "app/app.h"
#include "offscreen.h"
#include "quenlow.h"
#include "web/page/search_report.h"
#include "web/page/search_steps.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int REACH = 2; // smoothing may shift an edge by a pixel or two
// Pixels of a class that may lack a counterpart: where two shapes cross, the later one's
// smoothed edge can tip a pixel of the earlier into or out of its class.
constexpr double UNMATCHED_SHARE = 0.01;
constexpr int UNMATCHED_ALLOWANCE = 4;
// How far the ink around a class may differ. Smoothing spreads a line's ink over more or
// fewer pixels, so that pixel counts of a class hardly change with the width, but keeps
// much of its sum: a line half a pixel wider or narrower changes it by a quarter or more,
// while Mesa's and a browser's smoothing of the same line differ by up to a tenth,
// depending on its slope.
constexpr double INK_RATIO = 1.15;

// Pixels of the class in `picture` with none of the class within REACH in `other`.
int unmatched(const Picture &picture, const Picture &other, const ColourClass &colour) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (colour(picture.at(x, y)) && !foundNear(other, x, y, REACH, colour)) {
                ++count;
            }
        }
    }
    return count;
}

// The darkness of every pixel within REACH of a pixel of the class in either picture.
void inkNear(const Picture &desktop, const Picture &browser, const ColourClass &colour,
             double &desktopInk, double &browserInk) {
    desktopInk = 0;
    browserInk = 0;
    for (int y = 0; y < desktop.height; ++y) {
        for (int x = 0; x < desktop.width; ++x) {
            if (foundNear(desktop, x, y, REACH, colour) ||
                foundNear(browser, x, y, REACH, colour)) {
                const Rgb d = desktop.at(x, y);
                const Rgb b = browser.at(x, y);
                desktopInk += 765 - d.r - d.g - d.b;
                browserInk += 765 - b.r - b.g - b.b;
            }
        }
    }
}

bool sameClass(const char *name, const ColourClass &colour, const Picture &desktop,
               const Picture &browser) {
    const int desktopCount = countPixels(desktop, colour);
    const int browserCount = countPixels(browser, colour);
    const int onlyDesktop = unmatched(desktop, browser, colour);
    const int onlyBrowser = unmatched(browser, desktop, colour);
    const bool placed = onlyDesktop <= UNMATCHED_ALLOWANCE + UNMATCHED_SHARE * desktopCount &&
                        onlyBrowser <= UNMATCHED_ALLOWANCE + UNMATCHED_SHARE * browserCount;
    double desktopInk = 0;
    double browserInk = 0;
    inkNear(desktop, browser, colour, desktopInk, browserInk);
    const bool sized = browserInk <= desktopInk * INK_RATIO && desktopInk <= browserInk * INK_RATIO;
    std::printf("%-6s desktop %6d px, browser %6d px; with no match within %d px: %d of the "
                "desktop's, %d of the browser's; ink around them %.3f of the desktop's%s\n",
                name, desktopCount, browserCount, REACH, onlyDesktop, onlyBrowser,
                desktopInk > 0 ? browserInk / desktopInk : 1.0,
                placed && sized ? "" : (placed ? "  FAIL: widths differ" : "  FAIL: misplaced"));
    return placed && sized;
}

// What the page's tables should show for the frame, from the desktop program's search: the
// record of each level, every piece with its bounds, the report the page builds from it and
// the curve's samples, as JSON.
bool writeNumbers(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "{\"levels\": [");
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const LevelRecord &record = searchRecord[level];
        std::fprintf(file, "%s[%d, %d, %d, %.17g]", level ? ", " : "", record.count,
                     record.count - record.kept, record.kept, errorBounds[level]);
    }
    std::fprintf(file, "], \"record\": [");
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const LevelRecord &record = searchRecord[level];
        std::fprintf(file, "%s{\"step\": %d, \"tightest\": %d, \"pieces\": [", level ? ", " : "",
                     record.step, record.tightest);
        for (int i = 0; i < record.count; ++i) {
            const BoundedPiece &piece = record.pieces[i];
            std::fprintf(file, "%s[%d, %.17g, %.17g, %d]", i ? ", " : "", piece.start, piece.lower,
                         piece.upper, piece.kept ? 1 : 0);
        }
        std::fprintf(file, "]}");
    }
    std::fprintf(file, "], \"samples\": [");
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        std::fprintf(file, "%s[%.17g, %.17g]", a ? ", " : "", curveSamples[a].x, curveSamples[a].y);
    }
    const SearchReport report = reportSearch();
    std::fprintf(file,
                 "], \"final\": [%d, %d, %d], \"selected\": [%d, %.17g], "
                 "\"nearest\": [%d, %.17g], \"true\": [%.17g, %.17g, %.17g, %.17g]}\n",
                 report.finalSamples[0], report.finalSamples[report.finalCount - 1],
                 report.finalCount, report.selected, report.selectedDistance, report.nearestSample,
                 report.nearestSampleDistance, report.truth.t, report.truth.distance,
                 report.truePoint.x, report.truePoint.y);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> state(argv + std::min(argc, 3), argv + argc);
    std::string numbers;
    int step = STEP_HALVE;
    while (!state.empty() && state[0].rfind("--", 0) == 0) {
        if (state[0].rfind("--numbers=", 0) == 0) {
            numbers = state[0].substr(10);
        } else if (state[0].rfind("--step=", 0) == 0) {
            step = std::stoi(state[0].substr(7));
        } else {
            break;
        }
        state.erase(state.begin());
    }
    if (state.size() != 13) {
        std::fprintf(
            stderr,
            "usage: %s BROWSER.png FAILURE_DIR [--numbers=FILE] [--step=0…3] BOX_MODE ALL_LEVELS "
            "LAST_LEVEL_SHOWN P0x P0y P1x P1y P2x P2y P3x P3y Qx Qy\n",
            argv[0]);
        return 2;
    }
    Picture browser;
    if (!readPng(argv[1], browser)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    startOffscreenProgram();
    boxMode = std::stoi(state[0]) != 0;
    showAllLevels = std::stoi(state[1]) != 0;
    lastLevelShown = std::stoi(state[2]);
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        editPoints[i] = {std::stod(state[3 + 2 * i]), std::stod(state[4 + 2 * i])};
    }
    stepShown = step;
    // What the page draws over a frame that stops short of the whole search.
    const auto pageMarks = +[] { drawStepMarks(); };
    const Picture desktop = renderFrame(lastLevelShown < LEVEL_COUNT ? pageMarks : nullptr);
    if (!numbers.empty() && !writeNumbers(numbers)) {
        std::fprintf(stderr, "cannot write %s\n", numbers.c_str());
        return 2;
    }
    // A screen of another pixel density shows the frame at its own size: seen at the
    // desktop's, it should be the desktop's frame.
    if (browser.width != desktop.width || browser.height != desktop.height) {
        std::printf("the browser's picture, %d x %d pixels, scaled to the desktop's %d x %d\n",
                    browser.width, browser.height, desktop.width, desktop.height);
        browser = resampled(browser, desktop.width, desktop.height);
    }

    bool same = true;
    same &= sameClass("red", isRed, desktop, browser);
    same &= sameClass("green", isGreen, desktop, browser);
    same &= sameClass("orange", isOrange, desktop, browser);
    same &= sameClass("blue", isBlue, desktop, browser);
    same &= sameClass("black", isBlack, desktop, browser);
    same &= sameClass("magenta", isMagenta, desktop, browser);
    same &= sameClass("teal", isTeal, desktop, browser);
    if (!same) {
        const std::string dir = argv[2];
        writePng(desktop, dir + "/desktop.png");
        writePng(browser, dir + "/browser.png");
        std::printf("FAIL: the pictures differ; both are in %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
