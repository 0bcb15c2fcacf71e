// Runs the program's own start-up and display callback against the real OpenGL
// implementation with no display: Mesa's surfaceless EGL stands in for the toolkit's window.
#pragma once

#include "picture.h"

// The program's start-up as after window creation, on an offscreen surface of the
// window's size, followed by the toolkit's first reshape.
void startOffscreenProgram();

// Draws one frame with the program's display callback, and what `drawOver` adds to it
// before the swap, if anything, and reads it back.
Picture renderFrame(void (*drawOver)() = nullptr);

// Seconds the last buffer swap waited for the implementation to finish drawing.
double lastSwapWaitSeconds();
