// The Bernstein table is exact where it can be, and the samples follow the control points.
#include "fresh_program.h"

#include <gtest/gtest.h>

class CurveSampling : public ::testing::Test {
  protected:
    void SetUp() override { startFreshProgram(); }
};

TEST(Binomials, AreTheFirstHalfOfRowThreeOfPascalsTriangle) {
    computeBinomials();
    EXPECT_EQ(binomialHalf[0], 1);
    EXPECT_EQ(binomialHalf[1], 3);
    EXPECT_EQ(binomialHalf[2], 3);
    computeBinomials(); // running it again changes nothing
    EXPECT_EQ(binomialHalf[1], 3);
}

TEST(IntegerPower, IsExactForSmallExponentsAndSquaresRepeatedly) {
    EXPECT_EQ(integerPower(0.3, 0), 1.0);
    EXPECT_EQ(integerPower(0.3, 1), 0.3);
    EXPECT_EQ(integerPower(0.5, 3), 0.125);
    EXPECT_EQ(integerPower(0.8, 9),
              ((0.8 * 0.8) * (0.8 * 0.8)) * ((0.8 * 0.8) * (0.8 * 0.8)) * 0.8);
}

TEST_F(CurveSampling, TableRowsAtBothEndsAndTheMiddleAreExact) {
    const double expected[3][4] = {{1, 0, 0, 0}, {0.125, 0.375, 0.375, 0.125}, {0, 0, 0, 1}};
    const int rows[3] = {0, 512, 1024};
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(bernsteinTable[rows[r]][k], expected[r][k]) << "row " << rows[r];
        }
    }
}

TEST_F(CurveSampling, EveryRowHoldsTheCubicBernsteinWeights) {
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        const double t = a / 1024.0, u = 1.0 - t;
        const double *w = bernsteinTable[a];
        EXPECT_DOUBLE_EQ(w[0], u * u * u);
        EXPECT_DOUBLE_EQ(w[1], 3 * t * u * u);
        EXPECT_DOUBLE_EQ(w[2], 3 * t * t * u);
        EXPECT_DOUBLE_EQ(w[3], t * t * t);
        EXPECT_NEAR(w[0] + w[1] + w[2] + w[3], 1.0, 1e-15);
    }
    // Symmetry t ↔ 1 − t holds exactly, since 1 − t is exact on this grid.
    EXPECT_EQ(bernsteinTable[256][0], bernsteinTable[768][3]);
    EXPECT_EQ(bernsteinTable[100][1], bernsteinTable[924][2]);
}

TEST_F(CurveSampling, TheCurveStartsAtP0AndEndsAtP3Exactly) {
    placeControlPoints({-137.5, 12.25}, {40, 300}, {-7, -90}, {211.75, -3.5});
    sampleCurve();
    EXPECT_EQ(curveSamples[0].x, -137.5);
    EXPECT_EQ(curveSamples[0].y, 12.25);
    EXPECT_EQ(curveSamples[1024].x, 211.75);
    EXPECT_EQ(curveSamples[1024].y, -3.5);
}

TEST_F(CurveSampling, TheDefaultCurvePassesThroughItsMidpoint) {
    sampleCurve();
    EXPECT_EQ(curveSamples[512].x, -84.375);
    EXPECT_EQ(curveSamples[512].y, 84.375);
}

TEST_F(CurveSampling, StackedWholeNumberControlPointsGiveOnePointEverywhere) {
    placeControlPoints({37, -211}, {37, -211}, {37, -211}, {37, -211});
    sampleCurve();
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        ASSERT_EQ(curveSamples[a].x, 37.0) << "sample " << a;
        ASSERT_EQ(curveSamples[a].y, -211.0) << "sample " << a;
    }
}

TEST_F(CurveSampling, StackedFractionalControlPointsStayWithinRounding) {
    placeControlPoints({0.1, -2.7}, {0.1, -2.7}, {0.1, -2.7}, {0.1, -2.7});
    sampleCurve();
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        ASSERT_NEAR(curveSamples[a].x, 0.1, 1e-15) << "sample " << a;
        ASSERT_NEAR(curveSamples[a].y, -2.7, 1e-14) << "sample " << a;
    }
}

TEST_F(CurveSampling, DoubledEndPointsRunAlongTheChordCrowdedAtBothEnds) {
    placeControlPoints({-300, -100}, {-300, -100}, {300, 200}, {300, 200});
    sampleCurve();
    double previousX = -300;
    for (int a = 0; a <= SAMPLE_SEGMENTS; ++a) {
        const Point p = curveSamples[a];
        ASSERT_NEAR(p.y, -100 + (p.x + 300) * 0.5, 1e-12) << "sample " << a;
        ASSERT_GE(p.x, previousX) << "sample " << a;
        previousX = p.x;
    }
    const double firstStep = curveSamples[1].x - curveSamples[0].x;
    const double middleStep = curveSamples[513].x - curveSamples[512].x;
    EXPECT_LT(firstStep * 100, middleStep);
}

TEST_F(CurveSampling, SamplesFollowTheControlPointsEachTimeTheyAreTaken) {
    sampleCurve();
    const Point before = curveSamples[300];
    controlPoints[1] = {100, -50};
    sampleCurve();
    EXPECT_NE(curveSamples[300].x, before.x);
    EXPECT_EQ(curveSamples[0].x, -225.0);
}
