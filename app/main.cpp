// Quenlow Example: the point of a cubic Bézier curve nearest to a query point, found by a
// ten-level branch-and-bound over uniform subdivisions of the curve.
//
// Controls:
//   left drag    move a control point (red) or the query point (green)
//   right click  restore the default scene
//   Enter        switch bounding regions between capsules and rounded boxes
//   `            show or hide the regions of every subdivision level
//   Esc          quit
#include "app/app.h"

#include <GL/glut.h>

int main(int argc, char **argv) {
    glutInit(&argc, argv);
    initApplication();
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutMainLoop();
    return 0;
}
