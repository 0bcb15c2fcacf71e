// What the challenges' goals are checked against, from the frame on the screen: the search's
// record and result, and the solver's truly nearest point.
#include "web/page/challenges.h"

#include "quenlow.h"

#include <cmath>

// The page's side, in challenges.js.
extern "C" void quenlowCheckChallenges(const double *facts);

namespace {

// Pieces at both ends still in play after the last level; the final run's samples; the
// region shape; how much farther the segment ends than the truly nearest point; the first
// level that dropped a piece (LEVEL_COUNT for none); r at level 0; the length of the
// control polygon.
double facts[7];

} // namespace

void reportChallenges(const SearchReport &report) {
    const LevelRecord &last = searchRecord[LEVEL_COUNT - 1];
    bool first = false;
    bool end = false;
    for (int i = 0; i < last.count; ++i) {
        first = first || (last.pieces[i].kept && last.pieces[i].start == 0);
        end = end || (last.pieces[i].kept && last.pieces[i].start + last.step == SAMPLE_SEGMENTS);
    }
    int firstDrop = 0;
    while (firstDrop < LEVEL_COUNT &&
           searchRecord[firstDrop].kept == searchRecord[firstDrop].count) {
        ++firstDrop;
    }
    double polygon = 0;
    for (int i = 0; i < 3; ++i) {
        polygon += std::hypot(controlPoints[i + 1].x - controlPoints[i].x,
                              controlPoints[i + 1].y - controlPoints[i].y);
    }
    facts[0] = first && end;
    facts[1] = report.finalCount;
    facts[2] = boxMode;
    facts[3] = report.selectedDistance - report.truth.distance;
    facts[4] = firstDrop;
    facts[5] = errorBounds[0];
    facts[6] = polygon;
    quenlowCheckChallenges(facts);
}
