// A captured window picture and the colour classes a user tells apart. Smoothed edges
// blend into the background, so colours are classed by hue with margins, never matched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int r, g, b;
};

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

using ColourClass = bool (*)(Rgb);

bool isWhite(Rgb c);
bool isRed(Rgb c);
bool isGreen(Rgb c);  // the query point's dark green
bool isOrange(Rgb c); // the result segment
bool isBlue(Rgb c);   // region outlines of every level, pale to deep
bool isDark(Rgb c);   // the black curve, also where it lies over an outline

// Whether a pixel of the class lies in the square of half-size `reach` around (x, y).
bool foundNear(const Picture &picture, int x, int y, int reach, ColourClass colour);
int countPixels(const Picture &picture, ColourClass colour);
// Pixels where any channel differs by more than `tolerance`.
int countDifferences(const Picture &a, const Picture &b, int tolerance);
// The longest vertical run of pixels of the class in any column.
int longestColumnRun(const Picture &picture, ColourClass colour);

std::string describe(Rgb c);
// Writes an 8-bit RGB PNG; returns false if the file cannot be written.
bool savePng(const Picture &picture, const std::string &path);
