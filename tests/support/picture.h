// Pictures of the program's window as the tests read them back, from a window under X or
// from an offscreen frame: the colour classes a user tells apart, simple measures over a
// picture, and saving one as a PNG file to look at after a failed check or reading one back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    int r, g, b;
};

// Addressed like the window: (0, 0) is the top-left pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // rows top-down, three bytes a pixel

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb at(int x, int y) const {
        const std::uint8_t *p = &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
        return {p[0], p[1], p[2]};
    }
};

// Smoothed edges blend into what lies beneath, so colours are classed with margins, never
// matched. A window and an offscreen frame come from the same rasteriser pixel for pixel,
// so one set of margins serves both.
using ColourClass = std::function<bool(Rgb)>;

bool isWhite(Rgb c);  // the background
bool isRed(Rgb c);    // the control points
bool isGreen(Rgb c);  // the query point's dark green
bool isOrange(Rgb c); // the segment from the query point to the curve
bool isBlue(Rgb c);   // region outlines of every level, pale to deep
bool isBlack(Rgb c);  // the curve, also where it lies over an outline
bool isMagenta(Rgb c); // the outlines of the pieces still in play, on the web page
bool isTeal(Rgb c);    // the web page's circle of a level's threshold and its tightest piece

// Whether a pixel of the class lies in the square of half-size `reach` around (x, y).
bool foundNear(const Picture &picture, int x, int y, int reach, const ColourClass &colour);
int countPixels(const Picture &picture, const ColourClass &colour);
// Pixels where any channel differs by more than `tolerance`.
int countDifferences(const Picture &a, const Picture &b, int tolerance);
// The longest vertical run of pixels of the class in any column.
int longestColumnRun(const Picture &picture, const ColourClass &colour);

// Scaled to width x height, each pixel the mean of the area of the picture it covers, as a
// screen of another pixel density shows a frame.
Picture resampled(const Picture &picture, int width, int height);

std::string describe(Rgb c);
// Writes an 8-bit RGB PNG; false when the file cannot be written.
bool writePng(const Picture &picture, const std::string &path);
// Reads any PNG as 8-bit RGB, dropping alpha; false when it cannot be read.
bool readPng(const std::string &path, Picture &picture);
