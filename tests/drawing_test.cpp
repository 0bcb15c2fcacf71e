// The curve is a black 65-vertex polyline and the points sit on top, Q last.
#include "draw/draw.h"
#include "fresh_program.h"

#include <gtest/gtest.h>

namespace {

const Color BLACK{0, 0, 0};
const Color RED{1, 0, 0};
const Color DARK_GREEN{0, 0.5f, 0};

class CurveAndPoints : public ::testing::Test {
  protected:
    void SetUp() override {
        startFreshProgram();
        sampleCurve();
    }
};

TEST_F(CurveAndPoints, CurveIsOneBlackStripThroughEverySixteenthSample) {
    drawCurve();
    const GlRecording &gl = recorded();
    ASSERT_EQ(gl.primitives.size(), 1u);
    const RecordedPrimitive &strip = gl.primitives[0];
    EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_LINE_STRIP));
    EXPECT_EQ(strip.lineWidth, 1.0f);
    ASSERT_EQ(strip.vertices.size(), 65u);
    for (int i = 0; i < 65; ++i) {
        EXPECT_EQ(strip.vertices[i].x, curveSamples[16 * i].x);
        EXPECT_EQ(strip.vertices[i].y, curveSamples[16 * i].y);
        EXPECT_EQ(strip.vertices[i].color, BLACK);
    }
    EXPECT_TRUE(gl.faults.empty());
}

TEST_F(CurveAndPoints, ATightLoopStillGetsSixtyFiveVertices) {
    placeControlPoints({-100, 0}, {300, 300}, {-300, 300}, {100, 0});
    sampleCurve();
    drawCurve();
    EXPECT_EQ(recorded().primitives.at(0).vertices.size(), 65u);
}

TEST_F(CurveAndPoints, ControlPointsAreRedAndTheQueryPointDarkGreenInOnePrimitive) {
    drawPoints();
    const GlRecording &gl = recorded();
    ASSERT_EQ(gl.primitives.size(), 1u);
    const RecordedPrimitive &points = gl.primitives[0];
    EXPECT_EQ(points.mode, static_cast<GLenum>(GL_POINTS));
    ASSERT_EQ(points.vertices.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(points.vertices[i].x, editPoints[i].x);
        EXPECT_EQ(points.vertices[i].y, editPoints[i].y);
        EXPECT_EQ(points.vertices[i].color, i < 4 ? RED : DARK_GREEN) << "point " << i;
    }
    EXPECT_TRUE(gl.faults.empty());
}

TEST_F(CurveAndPoints, APointDraggedOntoAnotherIsDrawnAfterIt) {
    queryPoint = controlPoints[1];
    drawPoints();
    const std::vector<RecordedVertex> &vertices = recorded().primitives.at(0).vertices;
    EXPECT_EQ(vertices.back().x, vertices[1].x);
    EXPECT_EQ(vertices.back().y, vertices[1].y);
    EXPECT_EQ(vertices.back().color, DARK_GREEN);
}

} // namespace
