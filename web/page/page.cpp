// What the page shows beside the canvas: the state of the program's two switches, the level
// its picture follows the search to, and the numbers of the search in the frame on the
// screen, with the truly nearest point of the curve to hold its result against.
#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/caption.h"
#include "web/page/challenges.h"
#include "web/page/closeup.h"
#include "web/page/derivation.h"
#include "web/page/guess.h"
#include "web/page/held.h"
#include "web/page/methods.h"
#include "web/page/pieces.h"
#include "web/page/search_report.h"
#include "web/page/search_rule.h"
#include "web/page/search_steps.h"
#include "web/platform/layer.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

// The page's side, in controls.js and levels.js.
extern "C" {
void quenlowShowSwitches(bool boxes, bool allLevels);
void quenlowShowLevel(int level, int bounded, int discarded, double errorBound, bool shown);
void quenlowShowFinalRun(const int *runs, int runCount, int samples);
void quenlowShowResult(int selected, double selectedDistance, int nearestSample,
                       double nearestSampleDistance, double trueT, double trueDistance);
}

namespace {

// The final candidates as runs of neighbouring samples, first and last of each: one run,
// unless pieces far apart along the curve are equally near Q.
constexpr int RUNS_SHOWN = 4;
int finalRuns(const int *samples, int count, int (&runs)[RUNS_SHOWN][2]) {
    int runCount = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && samples[i] == samples[i - 1] + 1) {
            runs[runCount - 1][1] = samples[i];
        } else if (runCount < RUNS_SHOWN) {
            runs[runCount][0] = runs[runCount][1] = samples[i];
            ++runCount;
        } else {
            return runCount + 1; // more than are shown
        }
    }
    return runCount;
}

} // namespace

extern "C" {

// The level the picture follows the search to, and the step of it; LEVEL_COUNT is all of it
// and its result, whose step is the last.
EMSCRIPTEN_KEEPALIVE void webShowLevel(int level, int step) {
    const int newLevel = level < 0 ? 0 : level > LEVEL_COUNT ? LEVEL_COUNT : level;
    const bool sameLevel = newLevel == lastLevelShown;
    if (!sameLevel) {
        forgetChosenPiece();
        forgetDerivation();
    }
    lastLevelShown = newLevel;
    stepShown = newLevel == LEVEL_COUNT || step < 0 || step > STEP_HALVE ? STEP_HALVE : step;
    // The level whose decisions are held back stays at its bound step, whatever step is
    // asked; another level ends the question (drops.js) and is shown as asked.
    if (heldBack.decisions && sameLevel && newLevel < LEVEL_COUNT) {
        stepShown = STEP_BOUND;
    }
    glutPostRedisplay();
}

// A view of the page's own needs the frame again: the close-up's size changed.
EMSCRIPTEN_KEEPALIVE void webRedraw() {
    glutPostRedisplay();
}

// Tells the page what the frame just drawn shows, from the record the search left behind,
// its final candidates and the curve's samples; at a level short of all, draws the step of
// that level shown over the frame; the reader's guess; and draws the close-up.
EMSCRIPTEN_KEEPALIVE void webReportFrame() {
    quenlowShowSwitches(boxMode, showAllLevels);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const LevelRecord &record = searchRecord[level];
        quenlowShowLevel(level, record.count, record.count - record.kept, errorBounds[level],
                         level == lastLevelShown);
    }
    const SearchReport report = reportSearch();
    int runs[RUNS_SHOWN][2];
    quenlowShowFinalRun(&runs[0][0], finalRuns(report.finalSamples, report.finalCount, runs),
                        report.finalCount);
    quenlowShowResult(report.selected, report.selectedDistance, report.nearestSample,
                      report.nearestSampleDistance, report.truth.t, report.truth.distance);
    reportPieces();
    reportCaption(report);
    reportChallenges(report);
    reportDerivation();
    if (lastLevelShown < LEVEL_COUNT) {
        drawStepMarks();
        drawChosenPiece(HALF_END_TICK);
        drawDerivation(7.0f);
    }
    reportOtherMethods(report);
    drawGuess(report.truePoint);
    flushPrimitives();
    // Framed on the final run, the close-up would point at the answer held back.
    if (!heldBack.result) {
        drawCloseup(report);
    }
}

} // extern "C"
