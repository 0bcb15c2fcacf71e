// The page's way to the scene without a drag: the state its points, fields and address read,
// the search's result it speaks, and a move of one point made as a drag makes it, so that
// a point moved by key, by number or by link gives the very frame the same drag gives.
#include "quenlow.h"
#include "web/page/search_report.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

// The toolkit's entry points for the page's input, in toolkit.cpp.
extern "C" {
void webMouse(int button, int state, int x, int y);
void webMotion(int x, int y);
}

namespace {

// The five points, x and y each; the two switches; the level shown and the step of it.
double sceneState[2 * EDIT_POINT_COUNT + 4];
// The sample the segment ends at, its distance from Q and the truly nearest point's.
double searchResult[3];

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const double *webScene() {
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        sceneState[2 * i] = editPoints[i].x;
        sceneState[2 * i + 1] = editPoints[i].y;
    }
    sceneState[2 * EDIT_POINT_COUNT] = boxMode;
    sceneState[2 * EDIT_POINT_COUNT + 1] = showAllLevels;
    sceneState[2 * EDIT_POINT_COUNT + 2] = lastLevelShown;
    sceneState[2 * EDIT_POINT_COUNT + 3] = stepShown;
    return sceneState;
}

// Of the frame last drawn; the search ran to its end whatever level the picture shows.
EMSCRIPTEN_KEEPALIVE const double *webResult() {
    const SearchReport report = reportSearch();
    searchResult[0] = report.selected;
    searchResult[1] = report.selectedDistance;
    searchResult[2] = report.truth.distance;
    return searchResult;
}

// Point `index` to the scene point (x, y): pressed where it is and held, as a finger's
// press holds the point it chose even where another lies on it, moved, and released.
EMSCRIPTEN_KEEPALIVE void webMovePoint(int index, int x, int y) {
    if (index < 0 || index >= EDIT_POINT_COUNT) {
        return;
    }
    const int halfWidth = windowWidth / 2;
    const int halfHeight = windowHeight / 2;
    const Point from = editPoints[index];
    webMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, static_cast<int>(from.x) + halfWidth,
             halfHeight - static_cast<int>(from.y));
    selectedPoint = index;
    webMotion(x + halfWidth, halfHeight - y);
    webMouse(GLUT_LEFT_BUTTON, GLUT_UP, x + halfWidth, halfHeight - y);
}

} // extern "C"
