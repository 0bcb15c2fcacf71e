// The window's projection, the keyboard commands and what one frame draws, in order.
#include "curve/curve.h"
#include "draw/draw.h"
#include "fresh_program.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

namespace {

class Window : public ::testing::Test {
  protected:
    void SetUp() override { startFreshProgram(); }
};

using WindowDeathTest = Window;

TEST_F(Window, SetUpCreatesTheWindowAndTheFixedRenderingState) {
    initApplication();
    const GlRecording &gl = recorded();
    EXPECT_EQ(gl.windowTitle, "Quenlow Example");
    const std::vector<std::string_view> expected = {"glutInitDisplayMode",
                                                    "glutInitWindowPosition",
                                                    "glutInitWindowSize",
                                                    "glutCreateWindow",
                                                    "glClearColor",
                                                    "glBlendFunc",
                                                    "glEnable",
                                                    "glEnable",
                                                    "glEnable",
                                                    "glPointSize"};
    EXPECT_EQ(gl.names(), expected);
    EXPECT_EQ(gl.calls[0].args[0], GLUT_DOUBLE | GLUT_RGBA);
    EXPECT_EQ(gl.calls[1].args[0], 300);
    EXPECT_EQ(gl.calls[1].args[1], 100);
    EXPECT_EQ(gl.calls[2].args[0], 800);
    EXPECT_EQ(gl.calls[2].args[1], 800);
    EXPECT_EQ(gl.calls[4].args, (std::array<double, 6>{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(gl.calls[5].args[0], GL_SRC_ALPHA);
    EXPECT_EQ(gl.calls[5].args[1], GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(gl.calls[6].args[0], GL_BLEND);
    EXPECT_EQ(gl.calls[7].args[0], GL_POINT_SMOOTH);
    EXPECT_EQ(gl.calls[8].args[0], GL_LINE_SMOOTH);
    EXPECT_EQ(gl.calls[9].args[0], 6.0);
}

TEST_F(Window, SetUpBuildsTheTablesAndTheDefaultScene) {
    binomialHalf[0] = binomialHalf[1] = binomialHalf[2] = 0;
    bernsteinTable[512][1] = 0;
    editPoints[2] = {1, 1};
    selectedPoint = 3;
    initApplication();
    EXPECT_EQ(binomialHalf[1], 3);
    EXPECT_EQ(bernsteinTable[512][1], 0.375);
    EXPECT_EQ(editPoints[2].x, 0);
    EXPECT_EQ(editPoints[2].y, 225);
    EXPECT_EQ(selectedPoint, -1);
}

TEST_F(Window, ResetRestoresTheDefaultPointsAndClearsTheSelection) {
    for (Point &p : editPoints) {
        p = {7, 7};
    }
    selectedPoint = 2;
    resetScene();
    const Point defaults[5] = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}, {-160, 160}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(editPoints[i].x, defaults[i].x);
        EXPECT_EQ(editPoints[i].y, defaults[i].y);
    }
    EXPECT_EQ(selectedPoint, -1);
}

TEST_F(Window, ReshapeKeepsACentredPixelUnitProjection) {
    struct Case {
        int width, height;
        double halfWidth, halfHeight;
    };
    for (const Case c : {Case{800, 800, 400, 400}, Case{801, 600, 400, 300}, Case{1, 3, 0, 1}}) {
        resetRecording();
        onReshape(c.width, c.height);
        const GlRecording &gl = recorded();
        EXPECT_EQ(windowWidth, c.width);
        EXPECT_EQ(windowHeight, c.height);
        ASSERT_EQ(gl.names(), (std::vector<std::string_view>{"glMatrixMode", "glLoadIdentity",
                                                             "glOrtho", "glViewport"}));
        EXPECT_EQ(gl.calls[0].args[0], GL_PROJECTION);
        EXPECT_EQ(gl.calls[2].args, (std::array<double, 6>{-c.halfWidth, c.halfWidth, -c.halfHeight,
                                                           c.halfHeight, 0, 1}));
        EXPECT_EQ(gl.calls[3].args[2], c.width);
        EXPECT_EQ(gl.calls[3].args[3], c.height);
        EXPECT_EQ(gl.redisplayRequests, 0);
    }
}

TEST_F(Window, EnterAndGraveToggleTheirFlagsAndEachKeyRedrawsOnce) {
    onKeyboard('\r', 10, 10);
    EXPECT_TRUE(boxMode);
    EXPECT_FALSE(showAllLevels);
    onKeyboard('`', 10, 10);
    EXPECT_TRUE(showAllLevels);
    onKeyboard('\r', 10, 10);
    EXPECT_FALSE(boxMode);
    onKeyboard('`', 10, 10);
    EXPECT_FALSE(showAllLevels);
    EXPECT_EQ(recorded().redisplayRequests, 4);
}

TEST_F(Window, OtherKeysOnlyRedraw) {
    for (unsigned char key : {'a', ' ', '\n', '~', '\xc8'}) {
        onKeyboard(key, 0, 0);
    }
    EXPECT_FALSE(boxMode);
    EXPECT_FALSE(showAllLevels);
    EXPECT_EQ(recorded().redisplayRequests, 5);
    EXPECT_EQ(recorded().count("glutPostRedisplay"), 5);
}

TEST_F(Window, FlagsSurviveResizingAndSceneResets) {
    onKeyboard('\r', 0, 0);
    onKeyboard('`', 0, 0);
    onReshape(333, 777);
    resetScene();
    EXPECT_TRUE(boxMode);
    EXPECT_TRUE(showAllLevels);
}

TEST_F(WindowDeathTest, EscapeEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(onKeyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(Window, AFrameClearsDrawsCurveThenPointsAndSwapsLast) {
    onDisplay();
    const GlRecording &gl = recorded();
    EXPECT_EQ(gl.calls.front().name, "glClear");
    EXPECT_EQ(gl.calls.front().args[0], GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(gl.calls.back().name, "glutSwapBuffers");
    EXPECT_EQ(gl.bufferSwaps, 1);
    ASSERT_GE(gl.primitives.size(), 2u);
    const RecordedPrimitive &curve = gl.primitives[gl.primitives.size() - 2];
    const RecordedPrimitive &points = gl.primitives.back();
    EXPECT_EQ(curve.mode, static_cast<GLenum>(GL_LINE_STRIP));
    EXPECT_EQ(curve.vertices.size(), 65u);
    EXPECT_EQ(points.mode, static_cast<GLenum>(GL_POINTS));
    EXPECT_EQ(points.vertices.size(), 5u);
    EXPECT_EQ(gl.redisplayRequests, 0);
    EXPECT_TRUE(gl.faults.empty());
}

// Index of the orange result segment among a frame's primitives.
size_t resultSegmentIndex(const GlRecording &gl) {
    for (size_t i = 0; i < gl.primitives.size(); ++i) {
        const RecordedPrimitive &p = gl.primitives[i];
        if (p.mode == GL_LINES && p.vertices.front().color == Color{1.0, 0.5, 0.0}) {
            return i;
        }
    }
    return gl.primitives.size();
}

TEST_F(Window, TheFirstFrameShowsDroppedRegionsThenTheResultUnderTheCurve) {
    onDisplay();
    const GlRecording &gl = recorded();
    const size_t result = resultSegmentIndex(gl);
    // Four pieces dropped at level 3, then four more at each deeper level: 28 capsules.
    ASSERT_EQ(result, 28u * 3);
    EXPECT_EQ(gl.primitives.size(), result + 3); // the segment, the curve, the points
    for (size_t i = 0; i < result; ++i) {
        EXPECT_EQ(gl.primitives[i].lineWidth, 2.0f);
        EXPECT_EQ(gl.primitives[i].vertices.front().color.b, 1.0);
    }
    const RecordedVertex end = gl.primitives[result].vertices.at(1);
    EXPECT_EQ(end.x, -84.375);
    EXPECT_EQ(end.y, 84.375);
}

TEST_F(Window, TheOverlayLiesOverTheResultAndUnderTheCurve) {
    onKeyboard('`', 0, 0);
    onDisplay();
    const GlRecording &gl = recorded();
    const size_t result = resultSegmentIndex(gl);
    ASSERT_EQ(gl.primitives.size(), result + 1 + 3 * 1023 + 2);
    EXPECT_EQ(gl.primitives[result + 1].vertices.front().color, (Color{0.7, 0.7, 1.0}));
    EXPECT_EQ(gl.primitives[gl.primitives.size() - 2].vertices.size(), 65u);
    EXPECT_TRUE(gl.faults.empty());
    EXPECT_EQ(gl.deepestMatrixDepth, 1);
    EXPECT_EQ(gl.matrixDepth, 0);
}

TEST_F(Window, BoxModeSwitchesTheSearchAndTheOverlayToRoundedBoxes) {
    onKeyboard('\r', 0, 0);
    onKeyboard('`', 0, 0);
    onDisplay();
    const GlRecording &gl = recorded();
    const size_t result = resultSegmentIndex(gl);
    EXPECT_EQ(result % 5, 0u); // a box is four sides and four quarter circles
    EXPECT_EQ(gl.primitives.size(), result + 1 + 5 * 1023 + 2);
    EXPECT_EQ(gl.primitives[result + 1].vertices.size(), 8u);
}

// The level of a region outline from its shade, or -1 for any other colour.
int regionLevel(const RecordedPrimitive &primitive) {
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const double s = integerPower(0.8, level) * 0.7;
        if (primitive.vertices.front().color == Color{s, s, 1.0}) {
            return level;
        }
    }
    return -1;
}

// The frame's first primitives are the expected ones, outline for outline.
void expectOutlinesFirst(const std::vector<RecordedPrimitive> &frame,
                         const std::vector<RecordedPrimitive> &expected) {
    ASSERT_GE(frame.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(frame[i].vertices.size(), expected[i].vertices.size());
        ASSERT_EQ(frame[i].vertices.front().x, expected[i].vertices.front().x);
        ASSERT_EQ(frame[i].vertices.front().color, expected[i].vertices.front().color);
    }
}

// Stepping through on the page: up to the level shown, the frame is the whole search's frame;
// then come the pieces that level keeps, in magenta, and no result. The page's steps within
// the level leave out, before its drop, its dropped regions, and before its halving, the
// pieces it keeps; the rest is the level's whole frame.
TEST_F(Window, AtEachLevelShownTheFrameStopsThereAndOutlinesThePiecesInPlay) {
    editPoints[QUERY_INDEX] = {37, -121}; // off the mirror line: uneven survivors
    for (bool box : {false, true}) {
        for (bool overlay : {false, true}) {
            boxMode = box;
            showAllLevels = overlay;
            resetRecording();
            onDisplay();
            const std::vector<RecordedPrimitive> whole = recorded().primitives;
            for (int shown = 0; shown < LEVEL_COUNT; ++shown) {
                SCOPED_TRACE(testing::Message()
                             << (box ? "boxes" : "capsules") << (overlay ? " with overlay" : "")
                             << ", level " << shown);
                lastLevelShown = shown;
                resetRecording();
                onDisplay();
                std::vector<RecordedPrimitive> expected;
                for (const RecordedPrimitive &p : whole) {
                    if (regionLevel(p) >= 0 && regionLevel(p) <= shown) {
                        expected.push_back(p);
                    }
                }
                const int kept = searchRecord[shown].kept;
                const size_t regionPrimitives = box ? 5 : 3;
                const std::vector<RecordedPrimitive> &frame = recorded().primitives;
                ASSERT_EQ(frame.size(), expected.size() + kept * regionPrimitives + 2);
                expectOutlinesFirst(frame, expected);
                for (size_t i = expected.size(); i + 2 < frame.size(); ++i) {
                    ASSERT_EQ(frame[i].vertices.front().color, (Color{0.75, 0.0, 0.75}));
                    ASSERT_EQ(frame[i].lineWidth, 2.0f);
                }
                EXPECT_EQ(frame[frame.size() - 2].vertices.size(), 65u); // the curve, the points
                EXPECT_EQ(resultSegmentIndex(recorded()), frame.size());
                EXPECT_TRUE(recorded().faults.empty());

                const std::vector<RecordedPrimitive> halved = frame;
                for (int step : {STEP_BOUND, STEP_THRESHOLD, STEP_DROP}) {
                    stepShown = step;
                    resetRecording();
                    onDisplay();
                    std::vector<RecordedPrimitive> part;
                    for (const RecordedPrimitive &p : halved) {
                        if (!(step < STEP_DROP && regionLevel(p) == shown) &&
                            !(p.vertices.front().color == Color{0.75, 0.0, 0.75})) {
                            part.push_back(p);
                        }
                    }
                    ASSERT_EQ(recorded().primitives.size(), part.size()) << "step " << step;
                    expectOutlinesFirst(recorded().primitives, part);
                }
                stepShown = STEP_HALVE;
            }
            lastLevelShown = LEVEL_COUNT;
        }
    }
}

TEST_F(Window, BackAtAllLevelsTheFrameIsCallForCallTheProgramsOwn) {
    onDisplay();
    const GlRecording whole = recorded();
    lastLevelShown = 4;
    stepShown = STEP_BOUND;
    onDisplay();
    lastLevelShown = LEVEL_COUNT;
    stepShown = STEP_HALVE;
    resetRecording();
    onDisplay();
    ASSERT_EQ(recorded().calls.size(), whole.calls.size());
    for (size_t i = 0; i < whole.calls.size(); ++i) {
        EXPECT_EQ(recorded().calls[i].name, whole.calls[i].name);
        EXPECT_EQ(recorded().calls[i].args, whole.calls[i].args);
    }
}

TEST_F(Window, EveryFrameResamplesTheCurrentControlPoints) {
    onDisplay();
    controlPoints[3] = {300, -100};
    resetRecording();
    onDisplay();
    const RecordedPrimitive &curve = recorded().primitives[recorded().primitives.size() - 2];
    EXPECT_EQ(curve.vertices.back().x, 300);
    EXPECT_EQ(curve.vertices.back().y, -100);
}

} // namespace
