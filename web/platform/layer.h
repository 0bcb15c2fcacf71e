// What the browser layer's two halves share: the toolkit half (toolkit.cpp) opens the
// canvas and ends each frame, the GL half (gl.cpp) draws into it.
#pragma once

// The canvas renderer's entry points, in canvas.js.
extern "C" {
void quenlowOpenCanvas(int width, int height, const char *title);
void quenlowClearCanvas(float red, float green, float blue);
void quenlowDrawPrimitives(const float *primitives, int primitiveCount, const float *vertices);
void quenlowRequestFrame();
void quenlowListen();
// Directs the drawing to another canvas of the page, by its id, or back to the program's
// window with none: the page draws views of its own with the program's drawing.
void quenlowSelectCanvas(const char *id);
}

// The window height that vertices are mapped to, for canvas rows that run downward.
void setCanvasHeight(int height);
// Hands every finished primitive to the renderer: the end of a frame.
void flushPrimitives();
// The colour and line width now current, for a drawing left out to leave them as it would.
void currentPen(float (&pen)[3], float &width);
