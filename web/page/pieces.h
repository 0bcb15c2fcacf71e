// The piece table's program side: the pieces of the level shown with their bounds, and the
// piece a row of the table points at, outlined in both views.
#pragma once

// Hands the table the record of the level shown (none at all levels).
void reportPieces();
// The piece a row points at, in its own highlight, if the level shown bounded it, and drawn
// again as the step shown has it, the ends of halves ticked, half a tick as given.
void drawChosenPiece(double tick);
// A new level: no row is chosen.
void forgetChosenPiece();
