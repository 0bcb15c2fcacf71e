// The yardstick of the search-accuracy measurement (curve/true_nearest.*): the truly nearest
// point of the continuous curve, on curves whose answer is known and against brute force.
#include "curve/true_nearest.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

using Controls = Point[4];

TEST(TrueNearestPoint, OnAStraightEvenlySpacedCurveIsTheNearestPointOfTheSegment) {
    const Controls line = {{-300, 0}, {-100, 0}, {100, 0}, {300, 0}}; // B(t) = (600 t - 300, 0)
    CurvePoint nearest = trueNearest(line, {50, 100});
    EXPECT_NEAR(nearest.t, 350.0 / 600.0, 1e-12);
    EXPECT_NEAR(nearest.distance, 100.0, 1e-9);
    nearest = trueNearest(line, {400, 30});
    EXPECT_EQ(nearest.t, 1.0);
    EXPECT_NEAR(nearest.distance, std::hypot(100.0, 30.0), 1e-9);
    nearest = trueNearest(line, {-300, -7});
    EXPECT_EQ(nearest.t, 0.0);
    EXPECT_NEAR(nearest.distance, 7.0, 1e-9);
}

TEST(TrueNearestPoint, OnStackedControlPointsIsThatPoint) {
    const Controls stacked = {{40, -70}, {40, -70}, {40, -70}, {40, -70}};
    EXPECT_NEAR(trueNearest(stacked, {-80, -20}).distance, 130.0, 1e-9);
}

// The default curve is symmetric about the line y = -x, and from (300, -300) on that line
// its two ends are nearer than any point between them.
TEST(TrueNearestPoint, FromTheDefaultCurvesMirrorLineIsAnEnd) {
    const Controls defaultCurve = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}};
    const CurvePoint nearest = trueNearest(defaultCurve, {300, -300});
    EXPECT_TRUE(nearest.t == 0.0 || nearest.t == 1.0) << nearest.t;
    EXPECT_NEAR(nearest.distance, std::hypot(525.0, 75.0), 1e-9);
}

// Random curves, loops and cusps among them: a point put on the curve is found at distance
// zero, and for any point no point of a dense brute force comes nearer, while the brute
// force, which cannot miss by more than its slack, comes near.
TEST(TrueNearestPoint, IsNeverBeatenByADenseBruteForce) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> coordinate(-400, 400);
    std::uniform_real_distribution<double> parameter(0.0, 1.0);
    const auto randomPoint = [&] {
        return Point{double(coordinate(random)), double(coordinate(random))};
    };
    // A cusp, and a quarter circle seen from its centre: there the distance hardly changes
    // along the whole curve and its derivative has roots close together.
    const Controls cusp = {{-200, 0}, {200, 200}, {-200, 200}, {200, 0}};
    const Controls quarterCircle = {{300, 0}, {300, 165.685}, {165.685, 300}, {0, 300}};
    for (int scene = 0; scene < 60; ++scene) {
        Controls controls;
        for (int i = 0; i < 4; ++i) {
            controls[i] = scene == 0 ? cusp[i] : scene == 1 ? quarterCircle[i] : randomPoint();
        }
        SCOPED_TRACE(testing::Message() << "scene " << scene);
        const double t = parameter(random);
        EXPECT_LT(trueNearest(controls, bezierAt(controls, t)).distance, 1e-9) << "t = " << t;

        const Point q = scene == 1 ? Point{0, 0} : randomPoint();
        const CurvePoint nearest = trueNearest(controls, q);
        const DenseNearest dense = denseNearest(controls, q, 1 << 16);
        EXPECT_LE(nearest.distance, dense.distance + 1e-9);
        EXPECT_LE(dense.distance - nearest.distance, dense.slack + 1e-9);
        const Point at = bezierAt(controls, nearest.t);
        EXPECT_NEAR(std::hypot(at.x - q.x, at.y - q.y), nearest.distance, 1e-12);
    }
}

} // namespace
