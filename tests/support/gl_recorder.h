// A recording stand-in for libGL and freeglut. Tests link the program's code against it
// instead of the real libraries: every call is kept with its arguments, immediate-mode
// primitives are collected with their vertices in scene coordinates, and misuse of the
// API (nesting, unbalanced matrices, non-finite numbers) is noted as a fault.
#pragma once

#include <GL/gl.h>
#include <array>
#include <string>
#include <string_view>
#include <vector>

struct GlCall {
    std::string_view name;
    std::array<double, 6> args; // the numeric arguments, unused ones zero
};

struct Color {
    double r, g, b;
    bool operator==(const Color &other) const {
        return r == other.r && g == other.g && b == other.b;
    }
};

// A vertex as it lands in the scene: the translations and scales pushed on the matrix
// stack since the last glLoadIdentity are applied; the glOrtho projection is not.
struct RecordedVertex {
    double x, y;
    Color color;
};

struct RecordedPrimitive {
    GLenum mode;
    float lineWidth;
    std::vector<RecordedVertex> vertices;
};

struct GlRecording {
    std::vector<GlCall> calls;
    std::vector<RecordedPrimitive> primitives;
    std::vector<std::string> faults; // API misuse, in the order it happened

    int redisplayRequests = 0;
    int bufferSwaps = 0;
    int matrixDepth = 0;        // pushes not yet popped
    int deepestMatrixDepth = 0; // most pushes outstanding at once

    std::string windowTitle;
    void (*displayCallback)() = nullptr;
    void (*reshapeCallback)(int, int) = nullptr;
    void (*keyboardCallback)(unsigned char, int, int) = nullptr;
    void (*mouseCallback)(int, int, int, int) = nullptr;
    void (*motionCallback)(int, int) = nullptr;

    int count(std::string_view name) const;
    std::vector<std::string_view> names() const;
    // Primitives of one mode drawn with one colour (the colour of their first vertex).
    std::vector<RecordedPrimitive> primitivesIn(GLenum mode, Color color) const;
};

// Everything recorded since the last reset.
const GlRecording &recorded();

// Forgets all calls, primitives, faults and counters, and the toolkit registrations.
void resetRecording();

// What the recorder keeps. Long runs such as the fuzzer's keep neither calls nor primitives
// (an overlay frame makes some 100,000 calls) and watch each call as it is made instead;
// faults and counters are always kept.
struct RecorderOptions {
    bool keepCalls = true;
    bool keepPrimitives = true;
    void (*watch)(const GlCall &call) = nullptr;
};

// Takes effect from the next call on and survives resetRecording.
void setRecorderOptions(const RecorderOptions &options);
