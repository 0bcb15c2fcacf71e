// Marks the page draws over the program's picture with the program's own GL calls: a thin
// segment and a cross, in the colour and width already set.
#pragma once

#include "quenlow.h"

void drawSegment(Point from, Point to);
void drawCross(Point at, double arm); // arm: half the cross's width and height
