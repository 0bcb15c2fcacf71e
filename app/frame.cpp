// One frame: everything shown is recomputed from the five points and the two flags.
#include "app/app.h"
#include "curve/curve.h"
#include "draw/draw.h"
#include "quenlow.h"

#include <GL/glut.h>

// Drawn back to front: the regions the search drops, its result, the overlay, the pieces
// still in play when the page steps through the search, then the curve and, on top of
// everything, the points.
void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT);
    sampleCurve();
    computeErrorBounds();

    candidateLists[currentList][0] = 0;
    findNearestPoint(0, SAMPLE_SEGMENTS, 1);
    if (showAllLevels) {
        drawAllRegions();
    }
    drawPiecesInPlay();

    drawCurve();
    drawPoints();
    glutSwapBuffers();
}
