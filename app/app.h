// The application shell: start-up, the toolkit callbacks and the frame they drive.
#pragma once

constexpr int PICK_DISTANCE_SQ = 30; // squared whole-pixel reach of a press around a point

void initApplication();
void resetScene();

void onDisplay();
void onReshape(int width, int height);
void onKeyboard(unsigned char key, int x, int y);
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
