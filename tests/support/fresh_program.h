// Puts the program's process-wide state back to how a new process starts, with the
// start-up tables built, and forgets everything the recorder saw.
#pragma once

#include "app/app.h"
#include "curve/curve.h"
#include "gl_recorder.h"
#include "quenlow.h"

inline void startFreshProgram() {
    windowWidth = 800;
    windowHeight = 800;
    boxMode = false;
    showAllLevels = false;
    currentList = 0;
    nextList = 1;
    lastLevelShown = LEVEL_COUNT;
    stepShown = STEP_HALVE;
    computeBinomials();
    buildBernsteinTable();
    resetScene();
    resetRecording();
}

inline void placeControlPoints(Point p0, Point p1, Point p2, Point p3) {
    controlPoints[0] = p0;
    controlPoints[1] = p1;
    controlPoints[2] = p2;
    controlPoints[3] = p3;
}
