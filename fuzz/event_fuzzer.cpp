// Coverage-guided fuzzing of the program's event stream. Each input decodes into toolkit
// events (reshape, key, mouse button, motion, display) that go straight to the program's
// callbacks, with GL and GLUT going to the recording stand-in; after every event the run
// aborts with a message if the program broke a rule that every correct run keeps.
#include "app/app.h"
#include "fresh_program.h"
#include "gl_recorder.h"
#include "quenlow.h"

#include <GL/glut.h>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

constexpr unsigned char KEY_ESCAPE = 27; // ends the process, so it is never sent
constexpr int BUTTON_COUNT = 5;          // left, middle, right and the two wheel directions
// Frames per input, to keep runs short: a frame with the overlay makes some 30 times the
// calls of one without.
constexpr int MAX_FRAMES = 24;
constexpr int MAX_OVERLAY_FRAMES = 2;

// GL state that outlives a callback, as the GL keeps it.
struct GlState {
    double color[3] = {1.0, 1.0, 1.0};
    double lineWidth = 1.0;
};

// What the calls of one event showed.
struct EventCalls {
    std::string_view first;
    int begins = 0;
    int ends = 0;
    int swaps = 0;
    int callsAfterSwap = 0;
    int redisplays = 0;
    // Region outlines by level, told apart by their shade: those the search discards come
    // before the result segment, the overlay's after it.
    int searchRegions[LEVEL_COUNT] = {};
    int overlayRegions[LEVEL_COUNT] = {};
    int lastSearchLevel = 0;
    bool searchLevelsAscend = true;
    int unknownShades = 0;
    int orangePrimitives = 0;
    GLenum orangeMode = 0;
    double orangeWidth = 0.0;
    int orangeVertices = 0;
    Point orangeEnds[2] = {};
};

GlState gl;
EventCalls seen;
int eventNumber = 0;
char eventText[96];
bool buttonHeld[BUTTON_COUNT];
int framesLeft = 0;
int overlayFramesLeft = 0;

bool isOrange(const double *color) {
    return color[0] == 1.0 && color[1] == 0.5 && color[2] == 0.0;
}

// The level whose outline shade is (s, s, 1) with s = 0.7 · 0.8^level, or -1.
int shadeLevel(const GlCall &call) {
    if (call.args[2] != 1.0 || call.args[0] != call.args[1]) {
        return -1;
    }
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        if (std::fabs(call.args[0] - 0.7 * std::pow(0.8, level)) <= 1e-12) {
            return level;
        }
    }
    return -1;
}

void noteRegionShade(const GlCall &call) {
    const int level = shadeLevel(call);
    if (level < 0) {
        ++seen.unknownShades;
    } else if (seen.orangePrimitives == 0) {
        seen.searchLevelsAscend = seen.searchLevelsAscend && level >= seen.lastSearchLevel;
        seen.lastSearchLevel = level;
        ++seen.searchRegions[level];
    } else {
        ++seen.overlayRegions[level];
    }
}

// A call recognised by its name. The recorder passes the same name literal on every call,
// so after the first match one pointer comparison does: an overlay frame makes 100,000 calls.
class CallName {
  public:
    explicit constexpr CallName(std::string_view text) : text_(text) {}
    bool operator()(std::string_view name) {
        if (name.data() == seenAt_) {
            return true;
        }
        if (name != text_) {
            return false;
        }
        seenAt_ = name.data();
        return true;
    }

  private:
    std::string_view text_;
    const char *seenAt_ = nullptr;
};

CallName isVertex2d("glVertex2d"), isVertex2dv("glVertex2dv"), isColor3f("glColor3f"),
    isColor3d("glColor3d"), isLineWidth("glLineWidth"), isBegin("glBegin"), isEnd("glEnd"),
    isSwapBuffers("glutSwapBuffers"), isPostRedisplay("glutPostRedisplay");

void watch(const GlCall &call) {
    const std::string_view name = call.name;
    if (seen.first.empty()) {
        seen.first = name;
    }
    seen.callsAfterSwap += seen.swaps;
    // Vertices first: they are most of the calls.
    if (isVertex2d(name) || isVertex2dv(name)) {
        if (isOrange(gl.color)) {
            if (seen.orangeVertices < 2) {
                seen.orangeEnds[seen.orangeVertices] = {call.args[0], call.args[1]};
            }
            ++seen.orangeVertices;
        }
    } else if (isColor3f(name) || isColor3d(name)) {
        for (int i = 0; i < 3; ++i) {
            gl.color[i] = call.args[i];
        }
        if (isColor3d(name)) {
            noteRegionShade(call);
        }
    } else if (isLineWidth(name)) {
        gl.lineWidth = call.args[0];
    } else if (isBegin(name)) {
        ++seen.begins;
        if (isOrange(gl.color)) {
            ++seen.orangePrimitives;
            seen.orangeMode = static_cast<GLenum>(call.args[0]);
            seen.orangeWidth = gl.lineWidth;
        }
    } else if (isEnd(name)) {
        ++seen.ends;
    } else if (isSwapBuffers(name)) {
        ++seen.swaps;
    } else if (isPostRedisplay(name)) {
        ++seen.redisplays;
    }
}

[[noreturn]] void fail(const char *what) {
    std::fprintf(stderr, "\nbroken invariant after event %d (%s): %s\n", eventNumber, eventText,
                 what);
    std::abort();
}

void require(bool holds, const char *what) {
    if (!holds) {
        fail(what);
    }
}

void beginEvent(const char *format, ...) {
    ++eventNumber;
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(eventText, sizeof eventText, format, args);
    va_end(args);
    seen = EventCalls{};
}

void checkAnyEvent() {
    const GlRecording &recording = recorded();
    if (!recording.faults.empty()) {
        fail(recording.faults.front().c_str());
    }
    require(seen.begins == seen.ends, "a glBegin left without its glEnd");
    require(recording.matrixDepth == 0, "the matrix stack is not back at its depth");
    require(recording.deepestMatrixDepth <= 1, "the matrix stack was pushed more than one deep");
    require(selectedPoint >= -1 && selectedPoint < EDIT_POINT_COUNT,
            "selectedPoint is outside -1 … 4");
    require((currentList == 0 || currentList == 1) && nextList == 1 - currentList,
            "currentList and nextList are not 0 and 1 in some order");
}

// Input callbacks only change state and ask for a redraw; they draw nothing.
void checkInputEvent(int redisplaysWanted) {
    checkAnyEvent();
    require(seen.begins == 0 && seen.swaps == 0, "an input callback drew");
    require(seen.redisplays == redisplaysWanted, "wrong number of redraw requests");
}

double distanceBetween(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The final list holds (s, s + 1) for each surviving two-step piece [s, s + 2], in
// ascending order; the nearest sample of all must lie in one of those pieces, up to rounding.
void checkFinalList(int count) {
    const int *final = candidateLists[currentList];
    for (int i = 0; i < count; i += 2) {
        require(final[i] >= 0 && final[i] % 2 == 0 && final[i] + 1 < SAMPLE_SEGMENTS &&
                    final[i + 1] == final[i] + 1 && (i == 0 || final[i] > final[i - 1]),
                "the final candidate list is not ascending pairs (s, s + 1)");
    }
    const Point end = curveSamples[final[count / 2]];
    require(seen.orangeEnds[1].x == end.x && seen.orangeEnds[1].y == end.y,
            "the result segment does not end at the middle entry of the final list");

    double nearest = std::numeric_limits<double>::infinity();
    for (const Point &sample : curveSamples) {
        nearest = std::fmin(nearest, distanceBetween(sample, queryPoint));
    }
    double nearestKept = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; i += 2) {
        for (int k = 0; k <= 2; ++k) {
            nearestKept =
                std::fmin(nearestKept, distanceBetween(curveSamples[final[i] + k], queryPoint));
        }
    }
    require(nearestKept <= nearest + 1e-9 * (1.0 + nearest),
            "the search discarded the piece holding the nearest sample");
}

void checkFrame(int currentListBefore) {
    checkAnyEvent();
    require(seen.first == "glClear", "a frame does not start by clearing");
    require(seen.swaps == 1 && seen.callsAfterSwap == 0, "a frame does not end with one swap");
    require(seen.redisplays == 0, "a frame asked for another frame");
    require(currentList == currentListBefore, "a frame left the candidate lists flipped");
    require(seen.unknownShades == 0, "a region outline in the shade of no level");
    require(seen.searchLevelsAscend, "discarded regions drawn out of level order");
    require(seen.orangePrimitives == 1 && seen.orangeVertices == 2,
            "a frame does not draw exactly one orange segment");
    require(seen.orangeMode == GL_LINES && seen.orangeWidth == 1.5,
            "the orange segment is not GL_LINES of width 1.5");
    require(seen.orangeEnds[0].x == queryPoint.x && seen.orangeEnds[0].y == queryPoint.y,
            "the orange segment does not start at the query point");

    // Every kept piece goes on as two halves, so the discards fix every level's count.
    int count = 1;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        require(seen.searchRegions[level] <= count, "more pieces discarded than a level held");
        count = 2 * (count - seen.searchRegions[level]);
    }
    require(count >= 2 && count <= SAMPLE_SEGMENTS, "the final count is outside 2 … 1024");
    checkFinalList(count);

    for (int level = 0; level < LEVEL_COUNT; ++level) {
        require(seen.overlayRegions[level] == (showAllLevels ? 1 << level : 0),
                "the overlay does not draw each level's regions once");
    }
}

// ---------------------------------------------------------------- events

void reshape(int width, int height) {
    beginEvent("reshape %d x %d", width, height);
    onReshape(width, height);
    checkInputEvent(0);
}

void key(unsigned char code) {
    beginEvent("key %d", code);
    onKeyboard(code, 0, 0);
    checkInputEvent(1);
}

// A window system reports presses and releases alternately for each button.
void mouse(int button, int x, int y) {
    const int state = buttonHeld[button] ? GLUT_UP : GLUT_DOWN;
    buttonHeld[button] = !buttonHeld[button];
    beginEvent("button %d %s at %d, %d", button, state == GLUT_DOWN ? "down" : "up", x, y);
    onMouse(button, state, x, y);
    checkInputEvent(button == GLUT_RIGHT_BUTTON && state == GLUT_DOWN ? 1 : 0);
}

// Motion is reported only while some button is held.
void motion(int x, int y) {
    bool anyHeld = false;
    for (bool held : buttonHeld) {
        anyHeld = anyHeld || held;
    }
    if (!anyHeld) {
        return;
    }
    beginEvent("motion to %d, %d", x, y);
    onMotion(x, y);
    checkInputEvent(1);
}

void display() {
    if (framesLeft == 0 || (showAllLevels && overlayFramesLeft == 0)) {
        return;
    }
    --framesLeft;
    if (showAllLevels) {
        --overlayFramesLeft;
    }
    beginEvent("display");
    const int currentListBefore = currentList;
    onDisplay();
    checkFrame(currentListBefore);
}

bool reachable(long long pixel) {
    return pixel >= INT16_MIN && pixel <= INT16_MAX;
}

int pointerClamped(long long pixel) {
    return static_cast<int>(pixel < INT16_MIN ? INT16_MIN : pixel > INT16_MAX ? INT16_MAX : pixel);
}

// Left press on the pixel under point i, one motion to (x, y), release. A point whose pixel
// lies beyond the 16-bit pointer range cannot be pressed on, and stays.
void drag(int i, int x, int y) {
    const long long pressX = static_cast<long long>(editPoints[i].x) + windowWidth / 2;
    const long long pressY = windowHeight / 2 - static_cast<long long>(editPoints[i].y);
    if (!reachable(pressX) || !reachable(pressY)) {
        return;
    }
    if (buttonHeld[GLUT_LEFT_BUTTON]) {
        mouse(GLUT_LEFT_BUTTON, static_cast<int>(pressX), static_cast<int>(pressY));
    }
    mouse(GLUT_LEFT_BUTTON, static_cast<int>(pressX), static_cast<int>(pressY));
    motion(x, y);
    mouse(GLUT_LEFT_BUTTON, x, y);
}

// ---------------------------------------------------------------- decoding

class Input {
  public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return next_ == size_; }
    // Past the end every byte reads as zero.
    std::uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }
    int word() {
        const int low = byte();
        return low | byte() << 8;
    }
    // A pointer coordinate as X11 reports it: 16 bits, signed.
    int pointer() { return static_cast<std::int16_t>(word()); }
    // A window side as X11 allows it.
    int side() { return word() & 0x7fff; }
    // A signed pixel offset, a byte's -128 … 127 times 1 … 256.
    int step() {
        const int factor = static_cast<std::int8_t>(byte());
        return factor * (1 + byte());
    }

  private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

void runEvent(Input &in) {
    switch (in.byte() % 8) {
    case 0: {
        const int width = in.side();
        reshape(width, in.side());
        break;
    }
    case 1: {
        const unsigned char code = in.byte();
        if (code != KEY_ESCAPE) {
            key(code);
        }
        break;
    }
    case 2: {
        const int button = in.byte() % BUTTON_COUNT;
        const int x = in.pointer();
        mouse(button, x, in.pointer());
        break;
    }
    case 3: {
        const int x = in.pointer();
        motion(x, in.pointer());
        break;
    }
    case 4:
        display();
        break;
    case 5: {
        const int i = in.byte() % EDIT_POINT_COUNT;
        const int x = in.pointer();
        drag(i, x, in.pointer());
        break;
    }
    case 6: { // the points in a mask (the four control points if none) onto one pixel
        const int mask = in.byte() % 32;
        const int x = in.pointer();
        const int y = in.pointer();
        for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
            if ((mask == 0 && i < 4) || (mask & 1 << i) != 0) {
                drag(i, x, y);
            }
        }
        break;
    }
    default: { // the control points on one line, evenly spaced or at multiples of a step
        const int x = in.pointer();
        const int y = in.pointer();
        const int dx = in.step();
        const int dy = in.step();
        const bool evenly = in.byte() % 2 == 0;
        for (int i = 0; i < 4; ++i) {
            const int multiple = evenly ? i : static_cast<std::int8_t>(in.byte());
            drag(i, pointerClamped(x + multiple * dx), pointerClamped(y + multiple * dy));
        }
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    setRecorderOptions({false, false, watch});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    startFreshProgram();
    gl = GlState{};
    eventNumber = 0;
    framesLeft = MAX_FRAMES;
    overlayFramesLeft = MAX_OVERLAY_FRAMES;
    for (bool &held : buttonHeld) {
        held = false;
    }

    reshape(800, 800); // a new window's first event
    Input in(data, size);
    while (!in.empty()) {
        runEvent(in);
    }
    framesLeft = 1; // every input ends with a frame of its final state
    overlayFramesLeft = 1;
    display();
    return 0;
}
