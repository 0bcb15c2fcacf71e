// GL and GLUT entry points that do nothing, so that a benchmark times the program's own
// work and none of the driver's.
#include <GL/glut.h>

extern "C" {

void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glClear(GLbitfield) {}
void glBlendFunc(GLenum, GLenum) {}
void glEnable(GLenum) {}
void glPointSize(GLfloat) {}
void glLineWidth(GLfloat) {}
void glColor3f(GLfloat, GLfloat, GLfloat) {}
void glColor3d(GLdouble, GLdouble, GLdouble) {}
void glBegin(GLenum) {}
void glEnd() {}
void glVertex2d(GLdouble, GLdouble) {}
void glVertex2dv(const GLdouble *) {}
void glMatrixMode(GLenum) {}
void glLoadIdentity() {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glPushMatrix() {}
void glPopMatrix() {}
void glTranslated(GLdouble, GLdouble, GLdouble) {}
void glScaled(GLdouble, GLdouble, GLdouble) {}

void glutInitDisplayMode(unsigned int) {}
void glutInitWindowPosition(int, int) {}
void glutInitWindowSize(int, int) {}
int glutCreateWindow(const char *) {
    return 1;
}
void glutPostRedisplay() {}
void glutSwapBuffers() {}

} // extern "C"
