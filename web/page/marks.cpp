// Marks shared by the page's views of a guess and of the other methods.
#include "web/page/marks.h"

#include <GL/gl.h>

void drawSegment(Point from, Point to) {
    glBegin(GL_LINES);
    glVertex2d(from.x, from.y);
    glVertex2d(to.x, to.y);
    glEnd();
}

void drawCross(Point at, double arm) {
    glBegin(GL_LINES);
    glVertex2d(at.x - arm, at.y - arm);
    glVertex2d(at.x + arm, at.y + arm);
    glVertex2d(at.x - arm, at.y + arm);
    glVertex2d(at.x + arm, at.y - arm);
    glEnd();
}
