// The coarse table and Newton's method held against the truly nearest point: where each
// finds it, and the scenes of the page's gallery where each is fooled.
#include "curve/other_methods.h"
#include "curve/true_nearest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr Point LINE[4] = {{-300, -120}, {-100, -40}, {100, 40}, {300, 120}};
constexpr Point DEFAULT_CURVE[4] = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}};
constexpr Point LOOP[4] = {{-50, -200}, {350, 250}, {-350, 250}, {50, -200}};
constexpr Point HAIRPIN[4] = {{-36, -156}, {235, 261}, {-51, -197}, {-2, -201}};
constexpr Point END_NEAREST[4] = {{76, -298}, {-89, -237}, {120, 239}, {-24, 50}};

// Half a step of the program's grid at the curve's greatest speed: how much farther than
// the truth a refinement to that grid may end.
double gridSlack(const Point (&c)[4]) {
    double longest = 0;
    for (int i = 0; i < 3; ++i) {
        longest = std::max(longest, std::hypot(c[i + 1].x - c[i].x, c[i + 1].y - c[i].y));
    }
    return 3.0 * longest / (2.0 * SAMPLE_SEGMENTS);
}

TEST(OtherMethods, FindTheNearestPointWhereTheCurveHasOneStrandNearQ) {
    for (const Point q : {Point{0, 100}, Point{-250, 30}, Point{310, 90}}) {
        const CurvePoint truth = trueNearest(LINE, q);
        const MethodAnswer coarse = coarseNearest(LINE, q, COARSE_SAMPLES_DEFAULT);
        EXPECT_LE(coarse.distance - truth.distance, gridSlack(LINE));
        EXPECT_NEAR(newtonNearest(LINE, q, COARSE_SAMPLES_DEFAULT).answer.t, truth.t, 1e-9);
    }
    const Point q = {-160, 160};
    const CurvePoint truth = trueNearest(DEFAULT_CURVE, q);
    EXPECT_NEAR(coarseNearest(DEFAULT_CURVE, q, 10).t, truth.t, 1.0 / SAMPLE_SEGMENTS);
    EXPECT_NEAR(newtonNearest(DEFAULT_CURVE, q, 10).answer.t, truth.t, 1e-9);
    // A table asked for fewer than 10 entries has 10.
    EXPECT_EQ(coarseNearest(DEFAULT_CURVE, q, 3).evaluated,
              coarseNearest(DEFAULT_CURVE, q, 10).evaluated);
}

TEST(OtherMethods, CoarseTableTakesTheWrongStrandWhereTwoPassNearQ) {
    // The loop's two tails cross below it; Q lies on the first, between two of its table
    // entries, and an entry of the other tail is nearer than both.
    const Point onFirstTail = {-24, -167};
    const CurvePoint truth = trueNearest(LOOP, onFirstTail);
    const MethodAnswer coarse = coarseNearest(LOOP, onFirstTail, COARSE_SAMPLES_DEFAULT);
    EXPECT_LT(truth.t, 0.1);
    EXPECT_GT(coarse.t, 0.9);
    EXPECT_GT(coarse.distance - truth.distance, 30.0);
    // A table of 200 entries has one on the right tail.
    EXPECT_LE(coarseNearest(LOOP, onFirstTail, 200).distance - truth.distance, gridSlack(LOOP));

    const Point nearHairpin = {-19, -123};
    EXPECT_GT(coarseNearest(HAIRPIN, nearHairpin, COARSE_SAMPLES_DEFAULT).distance -
                  trueNearest(HAIRPIN, nearHairpin).distance,
              10.0);
}

TEST(OtherMethods, NewtonLeavesANearestEndForAFartherPointAndIsClamped) {
    // The nearest point is P0, where the distance still falls toward t < 0: the derivative
    // is not zero there, so Newton steps off, past the end and back into the curve.
    const Point q = {141, -227};
    const NewtonAnswer newton = newtonNearest(END_NEAREST, q, COARSE_SAMPLES_DEFAULT);
    EXPECT_EQ(trueNearest(END_NEAREST, q).t, 0.0);
    EXPECT_EQ(newton.startT, 0.0);
    EXPECT_TRUE(newton.clamped);
    EXPECT_GT(newton.answer.distance, newton.startDistance + 100.0);
    // The coarse table, which only ever moves to nearer points, stays on the end.
    EXPECT_EQ(coarseNearest(END_NEAREST, q, COARSE_SAMPLES_DEFAULT).t, 0.0);
}

} // namespace
