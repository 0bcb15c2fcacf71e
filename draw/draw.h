// Drawing the state as immediate-mode OpenGL in scene coordinates (one unit a pixel,
// origin at the window centre): the curve and its points, and the bounding regions.
#pragma once

void drawCurve();
void drawPoints();

void drawRegion(int level, int step, int start);
// A region's outline alone, in the line width and colour already current.
void drawOutline(int level, int step, int start);
void drawArc(double cx, double cy, double r, double from, double to);
void drawAllRegions();
// The regions of the pieces still in play after the last level shown, if it is not the last.
void drawPiecesInPlay();
// One of them: the region of a piece the level kept.
void drawInPlay(int level, int step, int start);
