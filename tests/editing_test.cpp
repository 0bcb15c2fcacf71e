// Dragging the points with the mouse: what a press picks, where a drag puts the point,
// and what a right click restores. Pixels have y downward; the scene is centred, y up.
#include "fresh_program.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

namespace {

class Editing : public ::testing::Test {
  protected:
    void SetUp() override { startFreshProgram(); }

    // The window pixel showing scene point p in an 800 × 800 window.
    static int pixelX(Point p) { return static_cast<int>(p.x) + 400; }
    static int pixelY(Point p) { return 400 - static_cast<int>(p.y); }

    static void press(int x, int y) { onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); }
    static void release(int x, int y) { onMouse(GLUT_LEFT_BUTTON, GLUT_UP, x, y); }
};

TEST_F(Editing, APressPicksAPointWithinReachOfItsDot) {
    const Point p1 = controlPoints[1];
    press(pixelX(p1) + 5, pixelY(p1)); // 5² = 25 < 30
    EXPECT_EQ(selectedPoint, 1);
    release(0, 0);
    press(pixelX(p1) + 4, pixelY(p1) - 4); // 4² + 4² = 32: just out of reach
    EXPECT_EQ(selectedPoint, -1);
    press(pixelX(p1) - 3, pixelY(p1) + 4); // 25
    EXPECT_EQ(selectedPoint, 1);
    EXPECT_EQ(recorded().redisplayRequests, 0);
}

TEST_F(Editing, EveryPointCanBePickedAtItsPixel) {
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        press(pixelX(editPoints[i]), pixelY(editPoints[i]));
        EXPECT_EQ(selectedPoint, i);
        release(0, 0);
    }
}

TEST_F(Editing, TheLastPointInReachWinsSoTheQueryPointLiesOnTop) {
    queryPoint = controlPoints[1];
    press(pixelX(controlPoints[1]), pixelY(controlPoints[1]));
    EXPECT_EQ(selectedPoint, QUERY_INDEX);
    release(0, 0);
    controlPoints[2] = {controlPoints[3].x - 2, controlPoints[3].y};
    press(pixelX(controlPoints[3]) - 1, pixelY(controlPoints[3]));
    EXPECT_EQ(selectedPoint, 3);
}

TEST_F(Editing, APressOnEmptyCanvasPicksNothingAndDrawsNothing) {
    press(400, 400);
    EXPECT_EQ(selectedPoint, -1);
    EXPECT_EQ(recorded().redisplayRequests, 0);
    EXPECT_TRUE(recorded().primitives.empty());
    onMotion(420, 380); // dragging empty canvas only redraws
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        EXPECT_NE(editPoints[i].x, 20);
    }
    EXPECT_EQ(recorded().redisplayRequests, 1);
}

TEST_F(Editing, APressOutOfReachKeepsAnEarlierSelection) {
    selectedPoint = 2;
    press(400, 400);
    EXPECT_EQ(selectedPoint, 2);
}

TEST_F(Editing, ReleaseDropsThePointWithoutARedraw) {
    press(pixelX(queryPoint), pixelY(queryPoint));
    release(10, 10);
    EXPECT_EQ(selectedPoint, -1);
    onMotion(100, 100);
    EXPECT_EQ(queryPoint.x, -160);
    EXPECT_EQ(recorded().redisplayRequests, 1); // from the motion alone
}

TEST_F(Editing, DraggingMovesThePointToThePointerInWholePixels) {
    queryPoint = {-160.75, 160.25}; // a fractional point is picked by its truncated pixel
    press(240, 240);
    ASSERT_EQ(selectedPoint, QUERY_INDEX);
    onMotion(250, 260); // the grab offset is not kept: the point jumps to the pointer
    EXPECT_EQ(queryPoint.x, -150);
    EXPECT_EQ(queryPoint.y, 140);
    onMotion(-5000, 9000); // nothing is clamped to the window
    EXPECT_EQ(queryPoint.x, -5400);
    EXPECT_EQ(queryPoint.y, -8600);
    EXPECT_EQ(recorded().redisplayRequests, 2);
    EXPECT_EQ(controlPoints[0].x, -225);
}

TEST_F(Editing, RightClickRestoresTheDefaultSceneEvenMidDrag) {
    onKeyboard('\r', 0, 0);
    onKeyboard('`', 0, 0);
    press(pixelX(controlPoints[2]), pixelY(controlPoints[2]));
    onMotion(10, 10);
    ASSERT_EQ(controlPoints[2].x, -390);
    onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 600, 600);
    EXPECT_EQ(controlPoints[2].x, 0);
    EXPECT_EQ(controlPoints[2].y, 225);
    EXPECT_EQ(selectedPoint, -1);
    EXPECT_TRUE(boxMode);
    EXPECT_TRUE(showAllLevels);
    onMotion(30, 30); // the left button is still held, but nothing is selected any more
    EXPECT_EQ(controlPoints[2].x, 0);
    EXPECT_EQ(recorded().redisplayRequests, 2 + 1 + 1 + 1);
}

TEST_F(Editing, OtherButtonsDoNothing) {
    press(pixelX(controlPoints[0]), pixelY(controlPoints[0]));
    controlPoints[3] = {1, 2};
    resetRecording();
    onMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0);
    onMouse(GLUT_MIDDLE_BUTTON, GLUT_UP, 0, 0);
    onMouse(3, GLUT_DOWN, 0, 0); // wheel
    EXPECT_EQ(selectedPoint, 0);
    EXPECT_EQ(controlPoints[3].x, 1);
    EXPECT_EQ(recorded().redisplayRequests, 0);
}

TEST_F(Editing, PickingAndDraggingUseTheSizeOfTheResizedWindow) {
    onReshape(801, 601); // half sizes 400 and 300
    press(400 - 160, 300 - 160);
    ASSERT_EQ(selectedPoint, QUERY_INDEX);
    onMotion(0, 0);
    EXPECT_EQ(queryPoint.x, -400);
    EXPECT_EQ(queryPoint.y, 300);
    release(0, 0);
    press(400 - 225, 300 + 225);
    EXPECT_EQ(selectedPoint, 0);
}

TEST_F(Editing, AFarAwayPressNeverWrapsIntoReach) {
    // Q dragged 46,341 pixels right of where it was: that offset squared overflows 32 bits,
    // and a wrapped sum would come out negative and so "in reach".
    const int far = 46341;
    press(240, 240);
    onMotion(240 + far, 240);
    release(0, 0);
    press(240, 240);
    EXPECT_EQ(selectedPoint, -1);
    press(240 + far, 240 - far);
    EXPECT_EQ(selectedPoint, -1);
    press(240 + far, 240);
    EXPECT_EQ(selectedPoint, QUERY_INDEX);
}

} // namespace
