// The search's result beside the nearest sample and the truly nearest point, for the page.
#include "web/page/search_report.h"

#include "quenlow.h"

#include <cmath>

namespace {

double distanceFromQ(Point p) {
    return std::hypot(p.x - queryPoint.x, p.y - queryPoint.y);
}

} // namespace

SearchReport reportSearch() {
    SearchReport report;
    report.finalCount = 2 * searchRecord[LEVEL_COUNT - 1].kept; // each kept piece's two halves
    report.finalSamples = candidateLists[currentList];
    report.selected = report.finalSamples[report.finalCount / 2];
    report.selectedDistance = distanceFromQ(curveSamples[report.selected]);

    report.nearestSample = 0;
    report.nearestSampleDistance = distanceFromQ(curveSamples[0]);
    for (int a = 1; a <= SAMPLE_SEGMENTS; ++a) {
        const double d = distanceFromQ(curveSamples[a]);
        if (d < report.nearestSampleDistance) {
            report.nearestSample = a;
            report.nearestSampleDistance = d;
        }
    }
    const Point controls[4] = {controlPoints[0], controlPoints[1], controlPoints[2],
                               controlPoints[3]};
    report.truth = trueNearest(controls, queryPoint);
    report.truePoint = bezierAt(controls, report.truth.t);
    return report;
}
