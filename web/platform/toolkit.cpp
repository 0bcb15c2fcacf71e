// The freeglut calls the program makes, for the browser: the window is the page's canvas,
// redraws are coalesced into one animation frame as GLUT coalesces them, and the page's
// input (canvas.js) reaches the program's callbacks through the functions exported here.
#include "quenlow.h"
#include "web/platform/layer.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

namespace {

int requestedWidth = 300;
int requestedHeight = 300;
bool redisplayPending = false;

void (*displayCallback)() = nullptr;
void (*reshapeCallback)(int, int) = nullptr;
void (*keyboardCallback)(unsigned char, int, int) = nullptr;
void (*mouseCallback)(int, int, int, int) = nullptr;
void (*motionCallback)(int, int) = nullptr;

} // namespace

extern "C" {

void glutInit(int *, char **) {}
void glutInitDisplayMode(unsigned int) {}
void glutInitWindowPosition(int, int) {}
void glutInitWindowSize(int width, int height) {
    requestedWidth = width;
    requestedHeight = height;
}
int glutCreateWindow(const char *title) {
    quenlowOpenCanvas(requestedWidth, requestedHeight, title);
    setCanvasHeight(requestedHeight);
    return 1;
}

void glutDisplayFunc(void (*callback)()) {
    displayCallback = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
    reshapeCallback = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    keyboardCallback = callback;
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
    mouseCallback = callback;
}
void glutMotionFunc(void (*callback)(int, int)) {
    motionCallback = callback;
}

void glutPostRedisplay() {
    if (!redisplayPending) {
        redisplayPending = true;
        quenlowRequestFrame();
    }
}

void glutSwapBuffers() {
    flushPrimitives();
}

// As a window first appears: one reshape to its size and one redraw. Then control goes
// back to the browser's event loop for good; the runtime stays alive for the callbacks.
void glutMainLoop() {
    if (reshapeCallback != nullptr) {
        reshapeCallback(requestedWidth, requestedHeight);
    }
    glutPostRedisplay();
    quenlowListen();
    emscripten_exit_with_live_runtime();
}

// The page's events, in canvas pixels with y downward.
EMSCRIPTEN_KEEPALIVE void webDisplay() {
    redisplayPending = false;
    if (displayCallback != nullptr) {
        displayCallback();
    }
}
EMSCRIPTEN_KEEPALIVE void webKey(int key, int x, int y) {
    if (keyboardCallback != nullptr) {
        keyboardCallback(static_cast<unsigned char>(key), x, y);
    }
}
EMSCRIPTEN_KEEPALIVE void webMouse(int button, int state, int x, int y) {
    if (mouseCallback != nullptr) {
        mouseCallback(button, state, x, y);
    }
}
EMSCRIPTEN_KEEPALIVE void webMotion(int x, int y) {
    if (motionCallback != nullptr) {
        motionCallback(x, y);
    }
}

// A fingertip hides what it touches and lands less precisely than a mouse pointer, so a
// touch takes the nearest point within `reach` pixels (the later one of two equally near,
// as a mouse press prefers), where the program's own pick, which the press still goes
// through, reaches only 5.5 pixels and prefers the later point to the nearer.
EMSCRIPTEN_KEEPALIVE void webTouchPress(int x, int y, double reach) {
    const double sceneX = x - windowWidth / 2;
    const double sceneY = windowHeight / 2 - y;
    int nearest = -1;
    double nearestDistanceSq = reach * reach;
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        const double dx = editPoints[i].x - sceneX;
        const double dy = editPoints[i].y - sceneY;
        if (dx * dx + dy * dy <= nearestDistanceSq) {
            nearest = i;
            nearestDistanceSq = dx * dx + dy * dy;
        }
    }
    webMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
    if (nearest >= 0) {
        selectedPoint = nearest;
    }
}

} // extern "C"
