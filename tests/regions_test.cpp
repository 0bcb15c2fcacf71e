// Every curve piece stays within its level's error bound of its chord, and the region of
// that certainty is outlined as a capsule or a rounded box, shaded by level.
#include "draw/draw.h"
#include "fresh_program.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

class ErrorBounds : public ::testing::Test {
  protected:
    void SetUp() override { startFreshProgram(); }
};

TEST_F(ErrorBounds, DefaultSceneStartsAtThreeQuartersOfItsSecondDifference) {
    computeErrorBounds();
    EXPECT_EQ(errorBounds[0], 168.75); // 3/4 of ‖(225, 0)‖ and ‖(0, −225)‖
    for (int level = 1; level < LEVEL_COUNT; ++level) {
        EXPECT_EQ(errorBounds[level] * 4, errorBounds[level - 1]) << "level " << level;
    }
    EXPECT_EQ(errorBounds[9], 168.75 / 262144);
}

TEST_F(ErrorBounds, TheLargerSecondDifferenceCounts) {
    placeControlPoints({0, 0}, {0, 0}, {0, 0}, {40, 30}); // ‖Δ²‖ = 0 at the start, 50 at the end
    computeErrorBounds();
    EXPECT_EQ(errorBounds[0], 37.5);
    placeControlPoints({40, 30}, {0, 0}, {0, 0}, {0, 0});
    computeErrorBounds();
    EXPECT_EQ(errorBounds[0], 37.5);
}

TEST_F(ErrorBounds, EvenlySpacedCollinearPointsMakeEveryBoundZero) {
    placeControlPoints({-300, 0}, {-100, 0}, {100, 0}, {300, 0});
    computeErrorBounds();
    for (double bound : errorBounds) {
        EXPECT_EQ(bound, 0.0);
    }
}

TEST_F(ErrorBounds, EveryPieceOfEveryLevelLiesWithinItsBoundOfItsChord) {
    placeControlPoints({-300, -200}, {350, 280}, {-310, 290}, {260, -240});
    sampleCurve();
    computeErrorBounds();
    for (int level = 0, step = 1024; level < LEVEL_COUNT; ++level, step /= 2) {
        for (int start = 0; start < 1024; start += step) {
            const Point a = curveSamples[start], b = curveSamples[start + step];
            const double dx = b.x - a.x, dy = b.y - a.y, lengthSq = dx * dx + dy * dy;
            for (int s = start; s <= start + step; ++s) {
                const Point p = curveSamples[s];
                double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSq;
                t = t < 0 ? 0 : t > 1 ? 1 : t;
                const double off = std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
                ASSERT_LE(off, errorBounds[level] + 1e-9) << "level " << level << " sample " << s;
            }
        }
    }
}

// Regions are drawn around a chord from sample `start` to `start + step`.
class Regions : public ::testing::Test {
  protected:
    void SetUp() override { startFreshProgram(); }

    void drawOne(Point a, Point b, double r, int level = 0) {
        curveSamples[0] = a;
        curveSamples[1024 >> level] = b;
        errorBounds[level] = r;
        resetRecording();
        drawRegion(level, 1024 >> level, 0);
    }
};

double radiusAbout(const RecordedVertex &v, Point centre) {
    return std::hypot(v.x - centre.x, v.y - centre.y);
}

void expectOnCircle(const RecordedPrimitive &arc, Point centre, double r) {
    for (const RecordedVertex &v : arc.vertices) {
        EXPECT_NEAR(radiusAbout(v, centre), r, 1e-9);
    }
}

TEST_F(Regions, ACapsuleIsTwoSidesAndTwoHalfCircles) {
    drawOne({-100, 0}, {100, 0}, 10);
    const GlRecording &gl = recorded();
    ASSERT_EQ(gl.primitives.size(), 3u);
    const RecordedPrimitive &sides = gl.primitives[0];
    EXPECT_EQ(sides.mode, static_cast<GLenum>(GL_LINES));
    EXPECT_EQ(sides.lineWidth, 2.0f);
    ASSERT_EQ(sides.vertices.size(), 4u);
    // Pointing in +x the normal is (0, r): the upper side first, both running A to B.
    const double expected[4][2] = {{-100, 10}, {100, 10}, {-100, -10}, {100, -10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(sides.vertices[i].x, expected[i][0], 1e-12);
        EXPECT_NEAR(sides.vertices[i].y, expected[i][1], 1e-12);
    }
    for (int i = 1; i < 3; ++i) {
        const RecordedPrimitive &cap = gl.primitives[i];
        EXPECT_EQ(cap.mode, static_cast<GLenum>(GL_LINE_STRIP));
        EXPECT_GE(cap.vertices.size(), 31u);
        EXPECT_LE(cap.vertices.size(), 32u);
    }
    expectOnCircle(gl.primitives[1], {-100, 0}, 10);
    expectOnCircle(gl.primitives[2], {100, 0}, 10);
    EXPECT_EQ(gl.deepestMatrixDepth, 1);
    EXPECT_EQ(gl.matrixDepth, 0);
    EXPECT_TRUE(gl.faults.empty());
}

// The cap behind A runs from the normal's side round the back of A to the other side,
// and the cap beyond B closes the outline: each bulges away from the other end.
void expectCapsFaceAway(const GlRecording &gl, Point a, Point b, double r) {
    const RecordedPrimitive &capA = gl.primitives.at(1), &capB = gl.primitives.at(2);
    const double ux = (b.x - a.x) / std::hypot(b.x - a.x, b.y - a.y);
    const double uy = (b.y - a.y) / std::hypot(b.x - a.x, b.y - a.y);
    const RecordedVertex middleA = capA.vertices[15], middleB = capB.vertices[15];
    EXPECT_NEAR((middleA.x - a.x) * ux + (middleA.y - a.y) * uy, -r, 1e-9 * r + 0.05 * r);
    EXPECT_NEAR((middleB.x - b.x) * ux + (middleB.y - b.y) * uy, r, 1e-9 * r + 0.05 * r);
    // Caps meet the sides: each arc starts where one side ends and ends where the other starts.
    const std::vector<RecordedVertex> &sides = gl.primitives[0].vertices;
    EXPECT_NEAR(capA.vertices.front().x, sides[0].x, 1e-9);
    EXPECT_NEAR(capA.vertices.front().y, sides[0].y, 1e-9);
    EXPECT_NEAR(capA.vertices.back().x, sides[2].x, 1e-9);
    EXPECT_NEAR(capA.vertices.back().y, sides[2].y, 1e-9);
    EXPECT_NEAR(capB.vertices.front().x, sides[3].x, 1e-9);
    EXPECT_NEAR(capB.vertices.back().x, sides[1].x, 1e-9);
    EXPECT_NEAR(capB.vertices.back().y, sides[1].y, 1e-9);
}

TEST_F(Regions, CapsFaceAwayFromTheChordInEveryDirection) {
    const Point ends[][2] = {{{-100, 0}, {100, 0}},  {{100, 0}, {-100, 0}},  {{0, -50}, {0, 50}},
                             {{0, 50}, {0, -50}},    {{-30, -40}, {30, 40}}, {{30, 40}, {-30, -40}},
                             {{-30, 40}, {30, -40}}, {{30, -40}, {-30, 40}}};
    for (const auto &end : ends) {
        SCOPED_TRACE(testing::Message() << "chord (" << end[0].x << ", " << end[0].y << ") to ("
                                        << end[1].x << ", " << end[1].y << ")");
        drawOne(end[0], end[1], 7);
        expectCapsFaceAway(recorded(), end[0], end[1], 7);
    }
}

TEST_F(Regions, AChordPointingInMinusXFlipsTheNormalDownward) {
    drawOne({100, 0}, {-100, 0}, 10);
    const RecordedPrimitive &sides = recorded().primitives.at(0);
    EXPECT_NEAR(sides.vertices[0].y, -10, 1e-12);
    // The arc behind A starts straight below it (θ0 = −π/2).
    const RecordedPrimitive &capA = recorded().primitives.at(1);
    EXPECT_NEAR(capA.vertices.front().x, 100, 1e-9);
    EXPECT_NEAR(capA.vertices.front().y, -10, 1e-9);
}

TEST_F(Regions, ArcsStepSixDegreesAndEndExactly) {
    drawArc(5, -3, 2, 0.25, 0.25 + PI);
    drawArc(0, 0, 1, 1.0, 1.0); // an empty arc is its end vertex alone
    const GlRecording &gl = recorded();
    ASSERT_EQ(gl.primitives.size(), 2u);
    const std::vector<RecordedVertex> &half = gl.primitives[0].vertices;
    ASSERT_GE(half.size(), 31u);
    for (size_t i = 0; i + 1 < half.size() - 1; ++i) {
        const double angle = std::atan2(half[i].y + 3, half[i].x - 5);
        EXPECT_NEAR(std::remainder(angle - (0.25 + i * PI / 30), 2 * PI), 0, 1e-9) << i;
    }
    EXPECT_NEAR(half.back().x, 5 + 2 * std::cos(0.25 + PI), 1e-12);
    EXPECT_NEAR(half.back().y, -3 + 2 * std::sin(0.25 + PI), 1e-12);
    EXPECT_EQ(gl.primitives[1].vertices.size(), 1u);
    // Translated and scaled on the matrix, not multiplied into the vertices.
    EXPECT_EQ(gl.count("glPushMatrix"), 2);
    EXPECT_EQ(gl.count("glPopMatrix"), 2);
    EXPECT_EQ(gl.calls[1].name, "glTranslated");
    EXPECT_EQ(gl.calls[1].args, (std::array<double, 6>{5, -3, 0, 0, 0, 0}));
    EXPECT_EQ(gl.calls[2].name, "glScaled");
    EXPECT_EQ(gl.calls[2].args, (std::array<double, 6>{2, 2, 2, 0, 0, 0}));
}

TEST_F(Regions, ARoundedBoxIsFourSidesThenFourQuarterCircles) {
    boxMode = true;
    drawOne({30, 40}, {-10, -20}, 5);
    const GlRecording &gl = recorded();
    ASSERT_EQ(gl.primitives.size(), 5u);
    const double sides[8][2] = {{-10, -25}, {30, -25}, {35, -20}, {35, 40},
                                {30, 45},   {-10, 45}, {-15, 40}, {-15, -20}};
    ASSERT_EQ(gl.primitives[0].vertices.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(gl.primitives[0].vertices[i].x, sides[i][0]) << i;
        EXPECT_EQ(gl.primitives[0].vertices[i].y, sides[i][1]) << i;
    }
    const Point corners[4] = {{-10, -20}, {30, -20}, {30, 40}, {-10, 40}};
    const size_t vertexCounts[4] = {16, 17, 17, 16};
    for (int i = 0; i < 4; ++i) {
        const RecordedPrimitive &arc = gl.primitives[1 + i];
        EXPECT_EQ(arc.vertices.size(), vertexCounts[i]) << "corner " << i;
        expectOnCircle(arc, corners[i], 5);
        // Each quarter circle ends where a side begins, counter-clockwise round the box.
        EXPECT_NEAR(arc.vertices.back().x, sides[2 * i][0], 1e-9) << "corner " << i;
        EXPECT_NEAR(arc.vertices.back().y, sides[2 * i][1], 1e-9) << "corner " << i;
    }
    EXPECT_TRUE(gl.faults.empty());
}

TEST_F(Regions, AVerticalChordMakesABoxOfZeroWidth) {
    boxMode = true;
    drawOne({12, -30}, {12, 30}, 4);
    const std::vector<RecordedVertex> &sides = recorded().primitives.at(0).vertices;
    EXPECT_EQ(sides[0].x, sides[1].x); // bottom and top shrink to points
    EXPECT_EQ(sides[4].x, sides[5].x);
    EXPECT_EQ(sides[2].x, 16);
    EXPECT_EQ(sides[6].x, 8);
    EXPECT_EQ(recorded().primitives.size(), 5u);
}

TEST_F(Regions, DeeperLevelsAreDrawnInDeeperBlue) {
    for (int level : {0, 3, 9}) {
        drawOne({0, 0}, {10, 0}, 1, level);
        const double s = integerPower(0.8, level) * 0.7;
        EXPECT_EQ(recorded().calls[1].name, "glColor3d");
        EXPECT_EQ(recorded().primitives[0].vertices[0].color, (Color{s, s, 1.0}));
    }
    EXPECT_NEAR(integerPower(0.8, 9) * 0.7, 0.094, 0.0005);
}

TEST_F(Regions, AZeroLengthChordIsOutlinedAsACircle) {
    drawOne({20, 20}, {20, 20}, 6);
    const GlRecording &gl = recorded();
    EXPECT_TRUE(gl.faults.empty());
    ASSERT_EQ(gl.primitives.size(), 1u);
    expectOnCircle(gl.primitives[0], {20, 20}, 6);
    EXPECT_GE(gl.primitives[0].vertices.size(), 61u);
    EXPECT_NEAR(gl.primitives[0].vertices.back().x, gl.primitives[0].vertices.front().x, 1e-9);
    EXPECT_EQ(gl.matrixDepth, 0);
}

TEST_F(Regions, AZeroRadiusCapsuleIsTheChordItself) {
    for (Point b : {Point{50, 25}, Point{0, 0}}) {
        drawOne({0, 0}, b, 0);
        const GlRecording &gl = recorded();
        EXPECT_TRUE(gl.faults.empty());
        ASSERT_EQ(gl.primitives.size(), 1u);
        const std::vector<RecordedVertex> &sides = gl.primitives[0].vertices;
        ASSERT_EQ(sides.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sides[i].x, i % 2 ? b.x : 0);
            EXPECT_EQ(sides[i].y, i % 2 ? b.y : 0);
        }
    }
}

TEST_F(Regions, TheOverlayDrawsAllLevelsCoarseToFine) {
    sampleCurve();
    computeErrorBounds();
    drawAllRegions();
    const GlRecording &gl = recorded();
    std::vector<double> shades;
    for (const GlCall &call : gl.calls) {
        if (call.name == "glColor3d") {
            shades.push_back(call.args[0]);
        }
    }
    ASSERT_EQ(shades.size(), 1023u);
    size_t next = 0;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const double s = integerPower(0.8, level) * 0.7;
        for (int i = 0; i < (1 << level); ++i, ++next) {
            ASSERT_EQ(shades[next], s) << "level " << level << " region " << i;
        }
    }
    EXPECT_EQ(gl.primitives.size(), 3u * 1023); // two sides and two caps each
    // Level 0 is one capsule around the whole chord P0P3.
    const std::vector<RecordedVertex> &first = gl.primitives[0].vertices;
    EXPECT_NEAR((first[0].x + first[2].x) / 2, -225, 1e-9);
    EXPECT_NEAR((first[1].y + first[3].y) / 2, 225, 1e-9);
    EXPECT_EQ(gl.deepestMatrixDepth, 1);
    EXPECT_EQ(gl.matrixDepth, 0);
    EXPECT_TRUE(gl.faults.empty());
}

TEST_F(Regions, TheOverlayOfStackedControlPointsDrawsOnlyFiniteNumbers) {
    for (bool box : {false, true}) {
        boxMode = box;
        placeControlPoints({40, 40}, {40, 40}, {40, 40}, {40, 40});
        resetRecording();
        onDisplay();
        showAllLevels = true;
        onDisplay();
        EXPECT_TRUE(recorded().faults.empty()) << recorded().faults.front();
        EXPECT_EQ(recorded().matrixDepth, 0);
        showAllLevels = false;
    }
}

} // namespace
