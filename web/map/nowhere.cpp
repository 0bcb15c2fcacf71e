// Where the worker's drawing goes: nowhere. A worker has no canvas, so the regions the
// search draws as it drops pieces are not even worked out (their arcs' sines and cosines
// would cost twenty times the search itself), and the GL calls of its result segment do
// nothing (bench/null_gl.cpp). The search is the program's own findNearestPoint.
#include "draw/draw.h"

void drawRegion(int, int, int) {}
