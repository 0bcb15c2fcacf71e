// The default scene, shown at start-up and restored by a right click.
#include "app/app.h"
#include "quenlow.h"

constexpr Point DEFAULT_POINTS[EDIT_POINT_COUNT] = {
    {-225.0, -225.0}, {-225.0, 0.0}, {0.0, 225.0}, {225.0, 225.0}, {-160.0, 160.0}};

void resetScene() {
    for (int i = 0; i < EDIT_POINT_COUNT; ++i) {
        editPoints[i] = DEFAULT_POINTS[i];
    }
    selectedPoint = -1;
}
