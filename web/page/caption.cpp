// The caption's numbers, read from the one record the search leaves and its report.
#include "web/page/caption.h"

#include "quenlow.h"
#include "web/page/search_rule.h"

// The page's side, in caption.js.
extern "C" {
void quenlowCaptionLevel(int level, int step, int count, double r, double nearest, double threshold,
                         int tightestStart, int pieceStep, int kept, int nextCount);
void quenlowCaptionResult(int first, int last, int samples, int runs, int selected,
                          double selectedDistance, double trueDistance);
}

void reportCaption(const SearchReport &report) {
    if (lastLevelShown < LEVEL_COUNT) {
        const int level = lastLevelShown;
        const LevelRecord &record = searchRecord[level];
        double nearest = record.pieces[0].lower;
        for (int i = 1; i < record.count; ++i) {
            nearest = record.pieces[i].lower < nearest ? record.pieces[i].lower : nearest;
        }
        // After the last level, the halves are the final run's samples.
        const int nextCount =
            level + 1 < LEVEL_COUNT ? searchRecord[level + 1].count : 2 * record.kept;
        quenlowCaptionLevel(level, stepShown, record.count, errorBounds[level], nearest,
                            ruleRadius(level), record.pieces[record.tightest].start, record.step,
                            record.kept, nextCount);
        return;
    }
    int runs = 1;
    for (int i = 1; i < report.finalCount; ++i) {
        runs += report.finalSamples[i] != report.finalSamples[i - 1] + 1;
    }
    quenlowCaptionResult(report.finalSamples[0], report.finalSamples[report.finalCount - 1],
                         report.finalCount, runs, report.selected, report.selectedDistance,
                         report.truth.distance);
}
