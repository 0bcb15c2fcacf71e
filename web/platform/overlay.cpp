// The all-levels overlay, kept between frames: its 1023 outlines follow the curve, the
// region shape, the level shown and the window, never the query point, yet stroking them is
// most of a frame's time in a browser. The link wraps the program's drawAllRegions (see
// web/CMakeLists.txt) with this, which keeps them in a layer of their own (overlay.js) once
// they stay the same, and lays the kept layer in their place in each frame until what they
// are drawn from changes. The program's own calls are the desktop's, unchanged.
#include "draw/draw.h"
#include "quenlow.h"
#include "web/platform/layer.h"

#include <GL/gl.h>
#include <cstring>

// How a frame draws the overlay, for the layer's side in overlay.js: its outlines on the
// canvas, its outlines into the layer and the layer on the canvas, or the kept layer alone if
// it still fits the canvas.
enum OverlayDrawing { ON_CANVAS, INTO_LAYER, FROM_LAYER };
extern "C" {
bool quenlowBeginOverlay(int drawing);
void quenlowEndOverlay();
}

namespace {

// Everything the outlines are drawn from: what drawRegion reads, and the window that the
// projection maps them into.
struct OverlaySource {
    Point samples[SAMPLE_SEGMENTS + 1];
    double bounds[LEVEL_COUNT];
    bool boxes;
    int lastLevel, step;
    int width, height;
};

OverlaySource drawn;      // what the outlines were last drawn from
bool drawnOnce = false;   // they have been drawn at all
bool inLayer = false;     // and that drawing is the layer's
float drawnColour[3];     // the colour and line width drawing them leaves current, which a
float drawnLineWidth = 1; // frame that only lays the layer over the canvas leaves too

// Bit for bit, so that the layer is reused only where the outlines would come out the same.
bool sameSource() {
    return drawnOnce && std::memcmp(drawn.samples, curveSamples, sizeof curveSamples) == 0 &&
           std::memcmp(drawn.bounds, errorBounds, sizeof errorBounds) == 0 &&
           drawn.boxes == boxMode && drawn.lastLevel == lastLevelShown && drawn.step == stepShown &&
           drawn.width == windowWidth && drawn.height == windowHeight;
}

void keepSource() {
    std::memcpy(drawn.samples, curveSamples, sizeof curveSamples);
    std::memcpy(drawn.bounds, errorBounds, sizeof errorBounds);
    drawn.boxes = boxMode;
    drawn.lastLevel = lastLevelShown;
    drawn.step = stepShown;
    drawn.width = windowWidth;
    drawn.height = windowHeight;
    drawnOnce = true;
}

} // namespace

extern "C" {

void __real__Z14drawAllRegionsv();

// What is drawn before the overlay goes to the canvas first, so that the layer lands on it
// in the frame's order: over the search's regions and result, under the curve and points.
// Outlines that changed since the last frame are likely to change again in the next, as
// while a control point is dragged: they go straight to the canvas, at no more cost than
// without a layer, and the layer takes them once they have stayed the same for a frame.
void __wrap__Z14drawAllRegionsv() {
    flushPrimitives();
    const OverlayDrawing drawing = !sameSource() ? ON_CANVAS : inLayer ? FROM_LAYER : INTO_LAYER;
    if (quenlowBeginOverlay(drawing)) {
        __real__Z14drawAllRegionsv();
        flushPrimitives();
        keepSource();
        inLayer = drawing != ON_CANVAS;
        currentPen(drawnColour, drawnLineWidth);
    } else {
        glColor3f(drawnColour[0], drawnColour[1], drawnColour[2]);
        glLineWidth(drawnLineWidth);
    }
    quenlowEndOverlay();
}

} // extern "C"
