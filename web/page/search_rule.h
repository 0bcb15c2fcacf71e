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
// The circle (drawn as every arc of the program is), then the tightest piece marked.
void drawSearchRule(int level);
// The tightest piece's region in a thick teal outline, and the radius from Q to the point
// of that region farthest from Q, where it touches the circle.
void markTightestPiece(int level);
