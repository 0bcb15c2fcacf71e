// Editing the scene with the mouse: a left press picks the point under the pointer, a drag
// moves it, a release drops it; a right press restores the default scene.
#include "app/app.h"
#include "quenlow.h"

#include <GL/glut.h>

// Offsets and squared distances are 64-bit: a drag far outside a large desktop would
// overflow 32 bits, and every offset a window system reports fits easily in 64.
using Pixels = long long;

static void pickPoint(int x, int y) {
    const Pixels halfWidth = windowWidth / 2;
    const Pixels halfHeight = windowHeight / 2;
    int picked = selectedPoint;
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        const Pixels offsetX = static_cast<Pixels>(editPoints[i].x) - x + halfWidth;
        const Pixels offsetY = static_cast<Pixels>(editPoints[i].y) - halfHeight + y;
        // The last point within reach wins, so Q wins over a control point beneath it.
        if (offsetX * offsetX + offsetY * offsetY < PICK_DISTANCE_SQ) {
            picked = i;
        }
    }
    selectedPoint = picked;
}

void onMouse(int button, int state, int x, int y) {
    if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
        pickPoint(x, y);
    } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
        selectedPoint = -1;
    } else if (button == GLUT_RIGHT_BUTTON && state == GLUT_DOWN) {
        resetScene();
        glutPostRedisplay();
    }
}

// The held point jumps to the pointer, in whole pixels.
void onMotion(int x, int y) {
    if (selectedPoint >= 0) {
        const Pixels halfWidth = windowWidth / 2;
        const Pixels halfHeight = windowHeight / 2;
        editPoints[selectedPoint] = {static_cast<double>(x - halfWidth),
                                     static_cast<double>(halfHeight - y)};
    }
    glutPostRedisplay();
}
