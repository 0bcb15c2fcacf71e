// The rule that drops a piece, drawn over a frame that stops at a level: the circle about Q
// whose radius is the level's smallest upper bound, and the piece that sets it. Plain C++
// over GL, so that the browser tests' checker draws the same marks on the desktop's frame.
#pragma once

#include "quenlow.h"

// Teal: no shade of the region blue, and apart from the picture's magenta, red, green,
// orange and black.
constexpr float RULE_RED = 0.0f, RULE_GREEN = 0.6f, RULE_BLUE = 0.55f;

// The level's threshold: the upper bound of its tightest piece.
double ruleRadius(int level);
// The point of a chord from a to b that its region's upper bound measures from: the end
// farther from Q (capsule), or the chord box's corner farthest from Q (rounded box).
Point farthestOfChord(Point a, Point b, Point q, bool boxes);
// The circle, drawn as every arc of the program is, and its radius.
void drawSearchRule(int level);
// The radius from Q to the point of the tightest piece's region farthest from Q, where the
// region touches the circle: it points out the piece that sets the threshold.
void drawRuleRadius(int level);
// A wide teal outline of the tightest piece's region, for the pieces in play to be drawn
// again over, so that it shows as a rim.
void markTightestPiece(int level);
