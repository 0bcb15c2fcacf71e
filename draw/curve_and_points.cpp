// The curve as a black polyline through every sixteenth sample, and the five points.
#include "draw/draw.h"
#include "quenlow.h"

#include <GL/gl.h>

constexpr int POLYLINE_STRIDE = 16; // samples between polyline vertices: 65 vertices in all

void drawCurve() {
    glLineWidth(1.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_LINE_STRIP);
    {
        for (int a = 0; a <= SAMPLE_SEGMENTS; a += POLYLINE_STRIDE) {
            glVertex2d(curveSamples[a].x, curveSamples[a].y);
        }
    }
    glEnd();
}

// Control points red, the query point dark green and last, so it lies on top.
void drawPoints() {
    glBegin(GL_POINTS);
    {
        glColor3f(1.0f, 0.0f, 0.0f);
        for (int i = 0; i < 4; ++i) {
            glVertex2d(controlPoints[i].x, controlPoints[i].y);
        }
        glColor3f(0.0f, 0.5f, 0.0f);
        glVertex2d(queryPoint.x, queryPoint.y);
    }
    glEnd();
}
