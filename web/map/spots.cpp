// Each spot's value: the program's findNearestPoint run for Q there, read from searchRecord
// and the final candidates it leaves, as the page reads the frame's.
#include "web/map/spots.h"

#include "curve/curve.h"
#include "curve/other_methods.h"
#include "curve/true_nearest.h"

#include <cmath>

namespace {

Point mapControls[4];

} // namespace

void prepareMap(const Point (&controls)[4], bool boxes) {
    static bool tablesBuilt = false;
    if (!tablesBuilt) {
        computeBinomials();
        buildBernsteinTable();
        tablesBuilt = true;
    }
    for (int k = 0; k < 4; ++k) {
        controlPoints[k] = mapControls[k] = controls[k];
    }
    boxMode = boxes;
    sampleCurve();
    computeErrorBounds();
}

Point mapSpot(int i, int j) {
    const int half = MAP_SPOTS * MAP_SPACING / 2;
    return {double(i * MAP_SPACING - half), double(half - j * MAP_SPACING)};
}

double mapValue(MapQuantity quantity, Point q) {
    queryPoint = q;
    if (quantity == COARSE_FARTHER) {
        return coarseNearest(mapControls, q, COARSE_SAMPLES_DEFAULT).distance -
               trueNearest(mapControls, q).distance;
    }
    candidateLists[currentList][0] = 0;
    findNearestPoint(0, SAMPLE_SEGMENTS, 1);
    const int finalCount = 2 * searchRecord[LEVEL_COUNT - 1].kept;
    if (quantity == PIECES_BOUNDED) {
        int bounded = 0;
        for (const LevelRecord &record : searchRecord) {
            bounded += record.count;
        }
        return bounded;
    }
    if (quantity == FINAL_RUN) {
        return finalCount;
    }
    const Point end = curveSamples[candidateLists[currentList][finalCount / 2]];
    return std::hypot(end.x - q.x, end.y - q.y) - trueNearest(mapControls, q).distance;
}
