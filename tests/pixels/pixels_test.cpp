// What the program's frames look like on the real OpenGL implementation: the default scene
// with capsule and with box regions, the overlay of every level, and degenerate curves.
// Scene point (x, y) lands on window pixel (400 + x, 400 - y).
#include "offscreen.h"
#include "quenlow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <string>
#include <utility>
#include <vector>

namespace {

// Finer classes, for what only these tests look at. A 1-pixel black line along a pixel
// boundary covers two rows by half: grey on white, dark blue over a region outline.
bool isHalfBlack(Rgb c) {
    return c.r <= 140 && c.g <= 140;
}
// Outlines of level 5 and deeper.
bool isDeepBlue(Rgb c) {
    return isBlue(c) && c.r <= 60;
}
// A pixel fully covered by an outline of this level, (s, s, 1) with s = 0.7 · 0.8^level.
bool isLevelShade(Rgb c, int level) {
    const double s = 0.7 * std::pow(0.8, level) * 255;
    return c.b >= 245 && std::abs(c.r - s) <= 16 && std::abs(c.g - s) <= 16;
}

// The cubic Bézier point at t, computed independently of the program's tables.
Point bezier(const Point p[4], double t) {
    const double u = 1 - t;
    const double w[4] = {u * u * u, 3 * t * u * u, 3 * t * t * u, t * t * t};
    return {w[0] * p[0].x + w[1] * p[1].x + w[2] * p[2].x + w[3] * p[3].x,
            w[0] * p[0].y + w[1] * p[1].y + w[2] * p[2].y + w[3] * p[3].y};
}

Point between(Point a, Point b, double f) {
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

double distanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSq = dx * dx + dy * dy;
    double f = lengthSq == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSq;
    f = f < 0 ? 0 : (f > 1 ? 1 : f);
    return std::hypot(p.x - (a.x + f * dx), p.y - (a.y + f * dy));
}

const Point DEFAULT_CONTROL[4] = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}};
const Point DEFAULT_QUERY = {-160, 160};
const Point DEFAULT_RESULT = {-84.375, 84.375};   // sample 512, where the search ends
const double DEFAULT_BOUND_LEVEL_3 = 168.75 / 64; // errorBounds[3] of the default curve

class Frames : public ::testing::Test {
  protected:
    void SetUp() override {
        startOffscreenProgram();
        boxMode = false;
        showAllLevels = false;
    }

    // Keeps every frame of the test so that a failure can be looked at.
    const Picture &draw(const std::string &name) {
        drawn.emplace_back(name, renderFrame());
        return drawn.back().second;
    }

    void TearDown() override {
        if (!HasFailure()) {
            return;
        }
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::create_directories(FAILED_FRAMES_DIR);
        for (const auto &[name, frame] : drawn) {
            const std::string path = std::string(FAILED_FRAMES_DIR) + "/" +
                                     test->test_suite_name() + "." + test->name() + "-" + name +
                                     ".png";
            std::printf("rendered frame saved: %s\n",
                        writePng(frame, path) ? path.c_str() : "(could not write)");
        }
    }

    std::list<std::pair<std::string, Picture>> drawn; // a list: references to frames stay valid
};

// Whether some pixel within `radius` pixels of the scene point is of the class.
bool anyNear(const Picture &frame, Point scene, int radius, const ColourClass &colour) {
    return foundNear(frame, static_cast<int>(std::floor(frame.width / 2 + scene.x)),
                     static_cast<int>(std::floor(frame.height / 2 - scene.y)), radius, colour);
}

bool allNear(const Picture &frame, Point scene, int radius, const ColourClass &colour) {
    return !anyNear(frame, scene, radius, [&colour](Rgb c) { return !colour(c); });
}

// Counts pixels that are not background and lie farther than `reach` from every segment.
int strayPixels(const Picture &frame, const std::vector<std::pair<Point, Point>> &segments,
                double reach) {
    int stray = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (isWhite(frame.at(x, y))) {
                continue;
            }
            const Point scene = {x + 0.5 - frame.width / 2, frame.height / 2 - y - 0.5};
            bool explained = false;
            for (const auto &[a, b] : segments) {
                explained = explained || distanceToSegment(scene, a, b) <= reach;
            }
            stray += !explained;
        }
    }
    return stray;
}

TEST_F(Frames, DefaultFrameShowsThePointsInTheirColoursOnWhite) {
    for (bool boxes : {false, true}) {
        boxMode = boxes;
        const Picture &frame = draw(boxes ? "boxes" : "capsules");
        for (Point corner : {Point{-399, 399}, Point{399, 399}, Point{-399, -399}, {399, -399}}) {
            EXPECT_TRUE(allNear(frame, corner, 1, isWhite));
        }
        // A 6-pixel dot centred on a pixel corner covers the four pixels around it fully.
        for (const Point &p : DEFAULT_CONTROL) {
            EXPECT_TRUE(allNear(frame, {p.x - 0.5, p.y + 0.5}, 1, isRed)) << p.x << ", " << p.y;
        }
        EXPECT_TRUE(allNear(frame, {DEFAULT_QUERY.x - 0.5, DEFAULT_QUERY.y + 0.5}, 1, isGreen));
    }
}

TEST_F(Frames, OrangeSegmentRunsFromTheQueryPointToTheCurveAndNoFurther) {
    for (bool boxes : {false, true}) {
        boxMode = boxes;
        const Picture &frame = draw(boxes ? "boxes" : "capsules");
        for (double f : {0.15, 0.3, 0.5, 0.7, 0.85}) {
            EXPECT_TRUE(anyNear(frame, between(DEFAULT_QUERY, DEFAULT_RESULT, f), 1, isOrange))
                << "at " << f << " of the way, boxes " << boxes;
        }
        for (double f : {1.15, 1.4, -0.2}) {
            EXPECT_FALSE(anyNear(frame, between(DEFAULT_QUERY, DEFAULT_RESULT, f), 2, isOrange))
                << "at " << f << " of the way, boxes " << boxes;
        }
    }
}

TEST_F(Frames, CurveIsABlackLineOverTheRegions) {
    for (bool allLevels : {false, true}) {
        showAllLevels = allLevels;
        const Picture &frame = draw(allLevels ? "all-levels" : "default");
        for (int a = 40; a <= 1000; a += 48) {
            EXPECT_TRUE(anyNear(frame, bezier(DEFAULT_CONTROL, a / 1024.0), 1, isBlack))
                << "sample " << a << ", all levels " << allLevels;
        }
    }
}

// The point r to the right of the chord A→B, a fraction f along it.
Point rightOf(Point a, Point b, double f, double r) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const Point p = between(a, b, f);
    return {p.x + (b.y - a.y) / length * r, p.y - (b.x - a.x) / length * r};
}

// Both modes discard the pieces of samples 0 … 128 and 896 … 1024 at level 3. The first
// climbs from P0 nearly straight up, the second runs nearly level into P3; the curve bulges
// to their left, so their right-hand sides are clear of it. There a capsule's side runs r
// from the chord, and a rounded box's side r beyond the chord's bounding box.
TEST_F(Frames, DiscardedPiecesAreOutlinedAsCapsulesOrAsRoundedBoxes) {
    const double r = DEFAULT_BOUND_LEVEL_3;
    const Point a0 = bezier(DEFAULT_CONTROL, 0.0);
    const Point b0 = bezier(DEFAULT_CONTROL, 128 / 1024.0);
    const Point a1 = bezier(DEFAULT_CONTROL, 896 / 1024.0);
    const Point b1 = bezier(DEFAULT_CONTROL, 1.0);
    std::vector<Point> onCapsule, onBox;
    for (double f : {0.15, 0.3}) {
        onCapsule.push_back(rightOf(a0, b0, f, r));
        onBox.push_back({b0.x + r, between(a0, b0, f).y}); // the box's right side
        onCapsule.push_back(rightOf(a1, b1, 1 - f, r));
        onBox.push_back({between(a1, b1, 1 - f).x, a1.y - r}); // the box's bottom side
    }
    const ColourClass level3 = [](Rgb c) { return isLevelShade(c, 3); };

    const Picture &capsules = draw("capsules");
    boxMode = true;
    const Picture &boxes = draw("boxes");
    for (Point p : onCapsule) {
        EXPECT_TRUE(anyNear(capsules, p, 1, level3)) << "capsule side at " << p.x << ", " << p.y;
        EXPECT_TRUE(allNear(boxes, p, 1, isWhite)) << "inside the box at " << p.x << ", " << p.y;
    }
    for (Point p : onBox) {
        EXPECT_TRUE(anyNear(boxes, p, 1, level3)) << "box side at " << p.x << ", " << p.y;
        EXPECT_TRUE(allNear(capsules, p, 1, isWhite))
            << "beside the capsule at " << p.x << ", " << p.y;
    }
}

// Level 0 is one region around the chord P0P3 with r = 168.75: a capsule reaching past P3
// along the chord, or a box whose top side runs at y = 225 + r.
TEST_F(Frames, OverlayAddsTheLevelZeroRegionAroundTheWholeCurve) {
    const double r = 168.75;
    const Point capBeyondP3 = {225 + r / std::sqrt(2.0), 225 + r / std::sqrt(2.0)};
    const Point boxTop = {0, 225 + r};
    const ColourClass level0 = [](Rgb c) { return isLevelShade(c, 0); };

    const Picture &plain = draw("default");
    EXPECT_TRUE(allNear(plain, capBeyondP3, 2, isWhite));

    showAllLevels = true;
    const Picture &capsules = draw("all-levels-capsules");
    EXPECT_TRUE(anyNear(capsules, capBeyondP3, 1, level0));
    EXPECT_TRUE(allNear(capsules, boxTop, 2, isWhite));

    boxMode = true;
    const Picture &boxes = draw("all-levels-boxes");
    EXPECT_TRUE(anyNear(boxes, boxTop, 1, level0));
    EXPECT_TRUE(anyNear(boxes, capBeyondP3, 1, level0)); // the corner arc passes there
}

TEST_F(Frames, OverlayHemsTheWholeCurveInDeepBlue) {
    showAllLevels = true;
    const Picture &frame = draw("all-levels");
    for (int a = 40; a <= 1000; a += 48) {
        EXPECT_TRUE(anyNear(frame, bezier(DEFAULT_CONTROL, a / 1024.0), 2, isDeepBlue))
            << "sample " << a;
    }
}

TEST_F(Frames, QueryPointDraggedOntoAControlPointIsDrawnOnTop) {
    queryPoint = controlPoints[1];
    const Picture &frame = draw("query-on-p1");
    EXPECT_TRUE(allNear(frame, {controlPoints[1].x - 0.5, controlPoints[1].y + 0.5}, 1, isGreen));
}

// With every control point on one pixel the curve is a single point and every error bound
// is zero: whatever the regions draw, nothing may appear away from the point, Q and the
// orange segment between them.
TEST_F(Frames, CurveShrunkToOnePointDrawsNothingElsewhere) {
    const Point p = {50, -50};
    for (int i = 0; i < 4; ++i) {
        controlPoints[i] = p;
    }
    for (int mode = 0; mode < 4; ++mode) {
        boxMode = mode & 1;
        showAllLevels = mode & 2;
        const Picture &frame = draw("mode" + std::to_string(mode));
        EXPECT_EQ(strayPixels(frame, {{DEFAULT_QUERY, p}}, 4.5), 0) << "mode " << mode;
        EXPECT_TRUE(anyNear(frame, between(DEFAULT_QUERY, p, 0.5), 1, isOrange)) << mode;
        EXPECT_TRUE(allNear(frame, {p.x - 0.5, p.y + 0.5}, 1, isRed)) << "mode " << mode;
    }
}

// Collinear, evenly spaced control points: a straight curve with zero error bounds, whose
// regions collapse onto the line; the search ends at sample 597, x = 49.8.
TEST_F(Frames, StraightCurveDrawsOnlyItsLineAndTheSegmentToIt) {
    const Point line[4] = {{-300, 0}, {-100, 0}, {100, 0}, {300, 0}};
    for (int i = 0; i < 4; ++i) {
        controlPoints[i] = line[i];
    }
    queryPoint = {50, 100};
    const Point result = {-300 + 600 * 597 / 1024.0, 0};
    for (int mode = 0; mode < 4; ++mode) {
        boxMode = mode & 1;
        showAllLevels = mode & 2;
        const Picture &frame = draw("mode" + std::to_string(mode));
        EXPECT_EQ(strayPixels(frame, {{line[0], line[3]}, {queryPoint, result}}, 4.5), 0)
            << "mode " << mode;
        EXPECT_TRUE(anyNear(frame, between(queryPoint, result, 0.5), 1, isOrange)) << mode;
        EXPECT_TRUE(allNear(frame, {-200, 0.5}, 0, isHalfBlack)) << "mode " << mode;
        EXPECT_TRUE(allNear(frame, {-200, -0.5}, 0, isHalfBlack)) << "mode " << mode;
    }
}

} // namespace
