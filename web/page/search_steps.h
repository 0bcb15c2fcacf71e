// The page's picture of one step of the level shown, over the program's frame that stops
// within it: the level's regions in grey until the drop decides them, the circle of the rule
// from the threshold on, and once the kept pieces are halved, the ends of their halves. Plain
// C++ over GL, so that the browser tests' checker draws the same marks on the desktop's frame.
#pragma once

#include "quenlow.h"

// A piece of the level shown as the step shown has it: grey while undecided, then blue if
// dropped, or magenta with its halves' ends ticked (half a tick in scene pixels) once halved.
void drawPieceAtStep(const BoundedPiece &piece, double tick);
// Every undecided piece of the level shown, then from the threshold on the rule.
void drawStepMarks();
// Half the length of those ticks, in scene pixels, in the window's frame.
constexpr double HALF_END_TICK = 4.0;
// The ends of a kept piece's two halves, as magenta ticks across its chord.
void drawHalfEnds(int step, int start, double halfLength);
// Whether the step shown still leaves the piece grey: before the drop, or kept at the drop.
bool undecidedAtStep(const BoundedPiece &piece);
