// The real program in a real window under a private X server: what a user sees as they
// drag the points with the mouse and press the keys, read back from the window's pixels.
#include "x_screen.h"

#include <X11/keysym.h>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

const std::string TITLE = "Quenlow Example";
constexpr int WINDOW_X = 300;
constexpr int WINDOW_Y = 100;
constexpr int WINDOW_SIZE = 800;
// Redraws are asynchronous; under the sanitizers and a busy machine a frame can take long.
constexpr auto PATIENCE = std::chrono::seconds(15);

// Scene coordinates: one unit a pixel, origin at the window centre, y up.
struct Point {
    double x, y;
};

struct Pixel {
    int x, y;
};

Pixel pixelOf(Point p) {
    return {static_cast<int>(std::floor(WINDOW_SIZE / 2 + p.x)),
            static_cast<int>(std::floor(WINDOW_SIZE / 2 - p.y))};
}

std::string describe(Pixel p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

Point lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

struct Curve {
    Point p[4];

    // De Casteljau's construction, independent of how the program samples.
    Point at(double t) const {
        const Point a = lerp(p[0], p[1], t);
        const Point b = lerp(p[1], p[2], t);
        const Point c = lerp(p[2], p[3], t);
        return lerp(lerp(a, b, t), lerp(b, c, t), t);
    }
    // The sample t = a / 1024 truly nearest to q.
    Point nearestSample(Point q) const {
        Point best = p[0];
        for (int a = 0; a <= 1024; ++a) {
            if (distance(at(a / 1024.0), q) < distance(best, q)) {
                best = at(a / 1024.0);
            }
        }
        return best;
    }
    double distanceTo(Point q) const { return distance(nearestSample(q), q); }
};

const Curve DEFAULT_CURVE = {{{-225, -225}, {-225, 0}, {0, 225}, {225, 225}}};
const Point DEFAULT_QUERY = {-160, 160};
const Point SAMPLE_512 = {-84.375, 84.375};
const char *const CONTROL_NAMES[4] = {"P0", "P1", "P2", "P3"};

// ---- What the picture shows ----------------------------------------------------------

AssertionResult backgroundIsWhite(const Picture &picture) {
    for (Pixel p : {Pixel{4, 4}, Pixel{795, 4}, Pixel{4, 795}, Pixel{795, 795}}) {
        if (!isWhite(picture.at(p.x, p.y))) {
            return AssertionFailure() << "background pixel " << describe(p) << " is "
                                      << describe(picture.at(p.x, p.y)) << ", not white";
        }
    }
    return AssertionSuccess();
}

// The window is black until the first frame is swapped in, and a frame shows the scene.
AssertionResult firstFrameArrived(const Picture &picture) {
    if (AssertionResult white = backgroundIsWhite(picture); !white) {
        return white;
    }
    const int drawn = picture.width * picture.height - countPixels(picture, isWhite);
    return drawn > 0 ? AssertionSuccess() : AssertionFailure() << "nothing is drawn";
}

AssertionResult dotShown(const Picture &picture, Point where, const ColourClass &colour,
                         const std::string &what) {
    const Pixel p = pixelOf(where);
    if (!colour(picture.at(p.x, p.y))) {
        return AssertionFailure() << what << " should be at pixel " << describe(p) << ", which is "
                                  << describe(picture.at(p.x, p.y));
    }
    return AssertionSuccess();
}

AssertionResult dotGone(const Picture &picture, Point where, const ColourClass &colour,
                        const std::string &what) {
    const Pixel p = pixelOf(where);
    if (foundNear(picture, p.x, p.y, 4, colour)) {
        return AssertionFailure() << what << " is still shown around pixel " << describe(p);
    }
    return AssertionSuccess();
}

AssertionResult pointsShown(const Picture &picture, const Curve &curve, Point query) {
    for (int i = 0; i < 4; ++i) {
        if (AssertionResult shown = dotShown(picture, curve.p[i], isRed,
                                             std::string("red control point ") + CONTROL_NAMES[i]);
            !shown) {
            return shown;
        }
    }
    return dotShown(picture, query, isGreen, "the green query point");
}

// The black curve passes within a pixel of the curve's points t = 1/16 … 15/16.
AssertionResult curveShown(const Picture &picture, const Curve &curve) {
    for (int k = 1; k < 16; ++k) {
        const Pixel p = pixelOf(curve.at(k / 16.0));
        if (!foundNear(picture, p.x, p.y, 1, isBlack)) {
            return AssertionFailure() << "the black curve should pass pixel " << describe(p)
                                      << " (t = " << k << "/16)";
        }
    }
    return AssertionSuccess();
}

// Where the old curve lay well away from the new one, nothing dark is left.
AssertionResult curveGone(const Picture &picture, const Curve &old, const Curve &now) {
    for (int k = 1; k < 16; ++k) {
        const Point point = old.at(k / 16.0);
        const Pixel p = pixelOf(point);
        if (now.distanceTo(point) > 10 && foundNear(picture, p.x, p.y, 1, isBlack)) {
            return AssertionFailure() << "the old curve is still drawn at pixel " << describe(p);
        }
    }
    return AssertionSuccess();
}

// Orange along the segment from `from` to `to`, and none past its end. The reach allows
// for the search settling a few samples from the truly nearest one.
AssertionResult segmentShown(const Picture &picture, Point from, Point to, int reach) {
    for (double t : {0.2, 0.4, 0.6, 0.8}) {
        const Pixel p = pixelOf(lerp(from, to, t));
        if (!foundNear(picture, p.x, p.y, reach, isOrange)) {
            return AssertionFailure() << "the orange segment should pass pixel " << describe(p);
        }
    }
    const Pixel beyond = pixelOf(lerp(from, to, 1.2));
    if (foundNear(picture, beyond.x, beyond.y, reach, isOrange)) {
        return AssertionFailure() << "the orange segment reaches past the curve, to pixel "
                                  << describe(beyond);
    }
    return AssertionSuccess();
}

AssertionResult segmentGone(const Picture &picture, Point from, Point to) {
    const Pixel middle = pixelOf(lerp(from, to, 0.5));
    if (foundNear(picture, middle.x, middle.y, 2, isOrange)) {
        return AssertionFailure() << "the old orange segment is still shown at pixel "
                                  << describe(middle);
    }
    return AssertionSuccess();
}

AssertionResult samePicture(const Picture &picture, const Picture &expected) {
    const int differences = countDifferences(picture, expected, 24);
    if (differences != 0) {
        return AssertionFailure() << differences << " pixels differ from the expected picture";
    }
    return AssertionSuccess();
}

AssertionResult changedPicture(const Picture &picture, const Picture &before) {
    const int differences = countDifferences(picture, before, 24);
    if (differences < 100) {
        return AssertionFailure() << "only " << differences << " pixels changed";
    }
    return AssertionSuccess();
}

// The program under test: the one built beside the test, or another copy of it named by
// QUENLOW_PROGRAM, such as the binary unpacked from the Debian package.
std::string programPath() {
    const char *path = std::getenv("QUENLOW_PROGRAM");
    return path != nullptr && *path != '\0' ? path : QUENLOW_PROGRAM;
}

// ---- The X server, one per test process ----------------------------------------------

std::string artifactPath(const std::string &name) {
    return std::string(ARTIFACT_DIR) + "/" + name;
}

std::unique_ptr<VirtualScreen> screen;
std::unique_ptr<XSession> session;

class XServer : public ::testing::Environment {
  public:
    void SetUp() override {
        try {
            start();
        } catch (const std::exception &e) {
            FAIL() << e.what();
        }
    }
    void TearDown() override {
        session.reset();
        screen.reset();
    }

  private:
    static void start() {
        std::string tag = ::testing::GTEST_FLAG(filter);
        for (char &c : tag) {
            c = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' ? c : '_';
        }
        const std::string log = artifactPath("xvfb-" + tag + ".log");
        screen = std::make_unique<VirtualScreen>(XVFB_EXECUTABLE, log);
        session = std::make_unique<XSession>(screen->displayName());
        if (!session->hasXTest()) {
            throw std::runtime_error("the X server has no XTEST extension");
        }
    }
};

// ---- The program, one per test -------------------------------------------------------

class RunningProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(session) << "no X server";
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = std::string(test->test_suite_name()) + "." + test->name();
        ASSERT_TRUE(session->windowsTitled(TITLE).empty()) << "a window of an earlier run is left";

        const std::string program = programPath();
        ASSERT_EQ(access(program.c_str(), X_OK), 0) << program << " is not an executable file";
        ChildLaunch launch;
        launch.argv = {program};
        // Mesa and the X libraries leave allocations behind at exit that LeakSanitizer would
        // report against the program; the program itself allocates nothing, so leak checking
        // is off for it alone while every other sanitizer check stays on.
        const char *asan = std::getenv("ASAN_OPTIONS");
        launch.environment =
            environmentWith(currentEnvironment(), "ASAN_OPTIONS",
                            std::string(asan != nullptr ? asan : "") + ":detect_leaks=0");
        launch.environment = environmentWith(launch.environment, "DISPLAY", screen->displayName());
        launch.logPath = artifactPath(name_ + ".log");
        program_ = std::make_unique<ChildProcess>(launch);

        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        std::vector<WindowId> windows;
        while ((windows = session->windowsTitled(TITLE)).empty() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(windows.size(), 1u)
            << "windows titled \"" << TITLE << "\" opened by " << program
            << "; its output is in " << launch.logPath;
        window_ = windows[0];
        ASSERT_TRUE(showsWithin("first-frame", firstFrameArrived));
        firstFrame_ = shown_;
    }

    void TearDown() override {
        if (!program_) {
            return;
        }
        if (const std::optional<int> status = program_->waitForExit(std::chrono::milliseconds(0));
            status && !exitExpected_) {
            ADD_FAILURE() << "the program ended during the test with " << describeStatus(*status)
                          << "; its output is in " << artifactPath(name_ + ".log");
        }
        program_->stop();
        program_.reset();
        // The server destroys the window when it notices the connection is gone; the next
        // program may get the same window id, so wait for that.
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (!session->windowsTitled(TITLE).empty()) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the window outlived its program";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Polls the window until its picture passes the check. On time-out the last picture is
    // saved as a PNG beside the test's build files and its path is part of the failure.
    AssertionResult showsWithin(const std::string &label,
                                const std::function<AssertionResult(const Picture &)> &check) {
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        AssertionResult last = AssertionFailure() << "the window's pixels could not be read";
        std::optional<Picture> lastPicture;
        for (;;) {
            if (std::optional<Picture> picture = session->capture(window_)) {
                last = check(*picture);
                lastPicture = std::move(picture);
                if (last) {
                    shown_ = *lastPicture;
                    return last;
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        AssertionResult failure = AssertionFailure() << label << ": " << last.message();
        if (lastPicture) {
            const std::string path = artifactPath(name_ + "-" + label + ".png");
            failure << (writePng(*lastPicture, path) ? "\n  screenshot: " : "\n  cannot write ")
                    << path;
        }
        return failure;
    }

    static void pointerTo(Point scene) {
        const Pixel p = pixelOf(scene);
        session->movePointer(WINDOW_X + p.x, WINDOW_Y + p.y);
    }

    static void drag(Point from, Point to) {
        pointerTo(from);
        session->pressButton(1);
        for (int step = 1; step <= 8; ++step) {
            pointerTo(lerp(from, to, step / 8.0));
        }
        session->releaseButton(1);
    }

    // Keys go to the window under the pointer; this spot is empty in every scene tested.
    static void pressKey(unsigned long keysym) {
        pointerTo({300, -300});
        session->tapKey(keysym);
    }

    std::string name_;
    std::unique_ptr<ChildProcess> program_;
    WindowId window_ = 0;
    Picture firstFrame_;
    Picture shown_; // the latest picture that passed a check
    bool exitExpected_ = false;
};

// ---- The tests -----------------------------------------------------------------------

TEST_F(RunningProgram, OpensOneWindowTitledQuenlowExampleAt300By100Of800By800) {
    const std::optional<XSession::Placement> place = session->placement(window_);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->x, WINDOW_X);
    EXPECT_EQ(place->y, WINDOW_Y);
    EXPECT_EQ(place->width, WINDOW_SIZE);
    EXPECT_EQ(place->height, WINDOW_SIZE);
    EXPECT_TRUE(place->viewable);
}

TEST_F(RunningProgram, FirstFrameShowsTheDefaultSceneAndTheSegmentToTheMiddleSample) {
    EXPECT_TRUE(showsWithin("default-scene", [](const Picture &picture) {
        AssertionResult result = backgroundIsWhite(picture);
        result = result ? pointsShown(picture, DEFAULT_CURVE, DEFAULT_QUERY) : result;
        result = result ? curveShown(picture, DEFAULT_CURVE) : result;
        result = result ? segmentShown(picture, DEFAULT_QUERY, SAMPLE_512, 1) : result;
        return result;
    }));
    // The discarded pieces near both ends of the curve have their regions outlined.
    const int blue = countPixels(firstFrame_, isBlue);
    EXPECT_GT(blue, 300) << "blue pixels";
}

using Mouse = RunningProgram;

TEST_F(Mouse, DraggingTheQueryPointMovesItAndTheSegmentFollows) {
    const Point moved = {150, -20};
    drag(DEFAULT_QUERY, moved);
    const Point end = DEFAULT_CURVE.nearestSample(moved);
    EXPECT_TRUE(showsWithin("query-moved", [&](const Picture &picture) {
        AssertionResult result = dotShown(picture, moved, isGreen, "the green query point");
        result =
            result ? dotGone(picture, DEFAULT_QUERY, isGreen, "the green query point") : result;
        result = result ? segmentShown(picture, moved, end, 2) : result;
        result = result ? segmentGone(picture, DEFAULT_QUERY, SAMPLE_512) : result;
        result = result ? curveShown(picture, DEFAULT_CURVE) : result;
        return result;
    }));
}

TEST_F(Mouse, DraggingAControlPointReshapesTheCurve) {
    Curve reshaped = DEFAULT_CURVE;
    reshaped.p[1] = {100, -150};
    drag(DEFAULT_CURVE.p[1], reshaped.p[1]);
    EXPECT_TRUE(showsWithin("curve-reshaped", [&](const Picture &picture) {
        AssertionResult result = pointsShown(picture, reshaped, DEFAULT_QUERY);
        result = result ? dotGone(picture, DEFAULT_CURVE.p[1], isRed, "P1") : result;
        result = result ? curveShown(picture, reshaped) : result;
        result = result ? curveGone(picture, DEFAULT_CURVE, reshaped) : result;
        result =
            result ? segmentShown(picture, DEFAULT_QUERY, reshaped.nearestSample(DEFAULT_QUERY), 2)
                   : result;
        return result;
    }));
}

TEST_F(Mouse, RightClickRestoresTheDefaultPicture) {
    drag(DEFAULT_QUERY, {100, 50});
    drag(DEFAULT_CURVE.p[2], {-50, -100});
    ASSERT_TRUE(showsWithin("edited", [&](const Picture &picture) {
        AssertionResult result = dotShown(picture, {100, 50}, isGreen, "the green query point");
        return result ? dotShown(picture, {-50, -100}, isRed, "P2") : result;
    }));
    pointerTo({300, -300});
    session->pressButton(3);
    session->releaseButton(3);
    EXPECT_TRUE(showsWithin(
        "reset", [&](const Picture &picture) { return samePicture(picture, firstFrame_); }));
}

using Keys = RunningProgram;

// The rounded boxes around the pieces near the curve's upright start have long upright
// sides; the capsules there lean with the curve.
TEST_F(Keys, EnterSwitchesRegionsToRoundedBoxesAndBackToCapsules) {
    EXPECT_LT(longestColumnRun(firstFrame_, isBlue), 40) << "upright blue run with capsules";
    pressKey(XK_Return);
    EXPECT_TRUE(showsWithin("boxes", [&](const Picture &picture) {
        AssertionResult result = changedPicture(picture, firstFrame_);
        const int run = longestColumnRun(picture, isBlue);
        return !result || run >= 70 ? result
                                    : AssertionFailure() << "the longest upright blue run is "
                                                         << run << " pixels, not a box side";
    }));
    pressKey(XK_Return);
    EXPECT_TRUE(showsWithin("capsules-again", [&](const Picture &picture) {
        return samePicture(picture, firstFrame_);
    }));
}

TEST_F(Keys, GraveAccentShowsAndHidesTheRegionsOfEveryLevel) {
    const int blueBefore = countPixels(firstFrame_, isBlue);
    pressKey(XK_grave);
    EXPECT_TRUE(showsWithin("all-levels", [&](const Picture &picture) {
        // The level-0 capsule around the chord P0P3, radius 168.75, is never discarded
        // by the search, so only the overlay draws it, on both sides of the chord.
        const double offset = 168.75 / std::sqrt(2.0);
        for (Point side : {Point{-offset, offset}, Point{offset, -offset}}) {
            const Pixel p = pixelOf(side);
            if (!foundNear(picture, p.x, p.y, 1, isBlue)) {
                return AssertionFailure() << "no level-0 outline at pixel " << describe(p);
            }
        }
        const int blue = countPixels(picture, isBlue);
        if (blue < blueBefore + 10000) {
            return AssertionFailure()
                   << blue << " blue pixels, against " << blueBefore << " without the overlay";
        }
        return AssertionSuccess();
    }));
    pressKey(XK_grave);
    EXPECT_TRUE(showsWithin("overlay-hidden", [&](const Picture &picture) {
        return samePicture(picture, firstFrame_);
    }));
}

TEST_F(Keys, EscapeEndsTheProgramWithStatusZero) {
    exitExpected_ = true;
    pressKey(XK_Escape);
    const std::optional<int> status = program_->waitForExit(PATIENCE);
    ASSERT_TRUE(status) << "the program is still running";
    EXPECT_EQ(describeStatus(*status), "exit status 0")
        << "program output in " << artifactPath(name_ + ".log");
}

// With no window manager here, the test sends the close request one would.
TEST_F(RunningProgram, ClosingTheWindowEndsTheProgramWithStatusZero) {
    exitExpected_ = true;
    session->requestClose(window_);
    const std::optional<int> status = program_->waitForExit(PATIENCE);
    ASSERT_TRUE(status) << "the program is still running";
    EXPECT_EQ(describeStatus(*status), "exit status 0")
        << "program output in " << artifactPath(name_ + ".log");
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    killChildrenOnInterrupt();
    ::testing::AddGlobalTestEnvironment(new XServer);
    return RUN_ALL_TESTS();
}
