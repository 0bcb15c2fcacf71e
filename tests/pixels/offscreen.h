// Runs the program's own start-up and display callback against the real OpenGL
// implementation with no display: Mesa's surfaceless EGL stands in for the toolkit's window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int r, g, b;
};

// One frame as read back, addressed like the window: (0, 0) is the top-left pixel.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // rows top-down, four bytes a pixel

    Rgb at(int x, int y) const;
};

// The program's start-up as after window creation, on an offscreen surface of the
// window's size, followed by the toolkit's first reshape.
void startOffscreenProgram();

// Draws one frame with the program's display callback and reads it back.
Frame renderFrame();

// Seconds the last buffer swap waited for the implementation to finish drawing.
double lastSwapWaitSeconds();

// Writes the frame as an 8-bit RGB PNG; false when the file cannot be written.
bool writePng(const Frame &frame, const std::string &path);
