// The map of the search over the whole window: for each spot of the plane, what the
// program's own search does with Q there, for the control points given. Plain C++, so that
// the web page's worker and the native tests compute the very same values.
#pragma once

#include "quenlow.h"

enum MapQuantity {
    PIECES_BOUNDED = 0,  // (a) pieces the search bounds in all, over its ten levels
    FINAL_RUN = 1,       // (b) samples in its final run
    SEGMENT_FARTHER = 2, // (c) how much farther the segment's end is than the truly nearest
    COARSE_FARTHER = 3,  // (d) how much farther the coarse table's answer is than that
};

constexpr int MAP_SPOTS = 400; // spots across and down: every second pixel of 800
constexpr int MAP_SPACING = 2; // pixels from one spot to the next

// The scene of the spots: samples the curve and bounds its pieces, once for every spot.
void prepareMap(const Point (&controls)[4], bool boxes);

// Q at the spot's pixel: column i and row j of the map, pixel (2i, 2j) of the window.
Point mapSpot(int i, int j);

// The search run with Q at the point, as the frame runs it, and the quantity read from the
// record it leaves; moves queryPoint there.
double mapValue(MapQuantity quantity, Point q);
