// The window: creating it with the fixed rendering state, and keeping a centred,
// pixel-unit projection whenever it is resized.
#include "app/app.h"
#include "curve/curve.h"
#include "quenlow.h"

#include <GL/glut.h>

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
