// Window set-up, the projection, the keyboard commands and the order of work in a frame.
#include "app/app.h"
#include "curve/curve.h"
#include "draw/draw.h"
#include "quenlow.h"

#include <GL/glut.h>
#include <cstdlib>

constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_GRAVE = '`';

constexpr Point DEFAULT_POINTS[EDIT_POINT_COUNT] = {
    {-225.0, -225.0}, {-225.0, 0.0}, {0.0, 225.0}, {225.0, 225.0}, {-160.0, 160.0}};

void initApplication() {
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowPosition(300, 100);
    glutInitWindowSize(windowWidth, windowHeight);
    glutCreateWindow("Quenlow Example");

    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    // Every colour is opaque: blending only softens the smoothed edges of points and lines.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glPointSize(6.0f);

    computeBinomials();
    buildBernsteinTable();
    resetScene();
}

void resetScene() {
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        editPoints[i] = DEFAULT_POINTS[i];
    }
    selectedPoint = -1;
}

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT);
    sampleCurve();
    computeErrorBounds();

    candidateLists[currentList][0] = 0;
    findNearestPoint(0, SAMPLE_SEGMENTS, 1);
    if (showAllLevels) {
        drawAllRegions();
    }

    drawCurve();
    drawPoints();
    glutSwapBuffers();
}

// Scene units are pixels with the origin at the centre pixel. The matrix mode stays on the
// projection, so the region arcs push and scale the projection matrix itself.
void onReshape(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    const double halfWidth = width / 2;
    const double halfHeight = height / 2;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, 0.0, 1.0);
    glViewport(0, 0, width, height);
}

void onKeyboard(unsigned char key, int, int) {
    switch (key) {
    case KEY_ESCAPE:
        std::exit(0);
    case KEY_ENTER:
        boxMode = !boxMode;
        break;
    case KEY_GRAVE:
        showAllLevels = !showAllLevels;
        break;
    default:
        break;
    }
    glutPostRedisplay();
}
