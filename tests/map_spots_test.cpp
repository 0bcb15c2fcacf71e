// The map's spots against the program's own frame: with Q at a spot, the display callback's
// search, drawing its regions into the recorder, leaves the record and the orange segment
// that the map's value at that spot says.
#include "app/app.h"
#include "curve/curve.h"
#include "curve/other_methods.h"
#include "curve/true_nearest.h"
#include "gl_recorder.h"
#include "quenlow.h"
#include "web/map/spots.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr Point LOOP[4] = {{-50, -200}, {350, 250}, {-350, 250}, {50, -200}};
constexpr Point DEFAULT_CURVE[4] = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}};

// The frame as the program draws it with Q at the point, and the four quantities read from
// what it left: the record, and the end of the orange segment it drew.
std::array<double, 4> frameAt(const Point (&controls)[4], bool boxes, Point q) {
    std::copy(controls, controls + 4, controlPoints);
    queryPoint = q;
    boxMode = boxes;
    resetRecording();
    onDisplay();
    const std::vector<RecordedPrimitive> segments =
        recorded().primitivesIn(GL_LINES, Color{1.0, 0.5, 0.0});
    EXPECT_EQ(segments.size(), 1u);
    const Point end = {segments.at(0).vertices.at(1).x, segments.at(0).vertices.at(1).y};
    int bounded = 0;
    for (const LevelRecord &record : searchRecord) {
        bounded += record.count;
    }
    const double truth = trueNearest(controls, q).distance;
    return {double(bounded), 2.0 * searchRecord[LEVEL_COUNT - 1].kept,
            std::hypot(end.x - q.x, end.y - q.y) - truth,
            coarseNearest(controls, q, COARSE_SAMPLES_DEFAULT).distance - truth};
}

TEST(MapSpots, SayWhatTheFrameWithQThereShows) {
    setRecorderOptions({false, true, nullptr});
    computeBinomials();
    buildBernsteinTable();
    for (const bool boxes : {false, true}) {
        for (const auto *controls : {&LOOP, &DEFAULT_CURVE}) {
            // A sparse grid over the whole map, its corners among them.
            for (int j = 0; j < MAP_SPOTS; j += 57) {
                for (int i = 0; i < MAP_SPOTS; i += 57) {
                    const Point q = mapSpot(i, j);
                    prepareMap(*controls, boxes);
                    const std::array<double, 4> spot = {
                        mapValue(PIECES_BOUNDED, q), mapValue(FINAL_RUN, q),
                        mapValue(SEGMENT_FARTHER, q), mapValue(COARSE_FARTHER, q)};
                    EXPECT_EQ(spot, frameAt(*controls, boxes, q))
                        << "at (" << q.x << ", " << q.y << ")";
                }
            }
        }
    }
    // Spot (i, j) is pixel (2i, 2j) of the 800 x 800 window, as a click there maps it.
    EXPECT_EQ(mapSpot(0, 0).x, -400);
    EXPECT_EQ(mapSpot(399, 399).y, -398);
}

} // namespace
