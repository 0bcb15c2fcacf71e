// Keyboard commands: Escape quits, Enter switches the region shape, ` toggles the overlay.
#include "app/app.h"
#include "quenlow.h"

#include <GL/glut.h>
#include <cstdlib>

constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_GRAVE = '`';

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
