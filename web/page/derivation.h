// How a number of the tables was made: a bound of the piece table or an r of the level table,
// with this scene's figures put in, and its construction drawn in both views while open.
#pragma once

// Tells the page the figures of the derivation open, if any, for the frame just drawn.
void reportDerivation();
// Its construction, in scene pixels: Q to the chord's, end's or box's point, r on from there,
// and the region's nearest or farthest point as a dot of the size given in view pixels.
void drawDerivation(float dotSize);
// A new level or step leaves the piece it explains: nothing is open.
void forgetDerivation();
