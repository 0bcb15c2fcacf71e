// Start-up runs in a fixed order: toolkit, window and state, callbacks, then the event loop.
#include "fresh_program.h"

#include <gtest/gtest.h>

int quenlowMain(int argc, char **argv);

namespace {

TEST(StartUp, InitialisesTheToolkitThenRegistersTheFiveCallbacksAndLoops) {
    startFreshProgram();
    char name[] = "quenlow-example";
    char option[] = "-display";
    char value[] = ":7";
    char *argv[] = {name, option, value, nullptr};
    EXPECT_EQ(quenlowMain(3, argv), 0);

    const GlRecording &gl = recorded();
    const std::vector<std::string_view> names = gl.names();
    ASSERT_GE(names.size(), 7u);
    EXPECT_EQ(names.front(), "glutInit");
    EXPECT_EQ(gl.calls.front().args[0], 3);
    const std::vector<std::string_view> tail(names.end() - 6, names.end());
    EXPECT_EQ(tail, (std::vector<std::string_view>{"glutDisplayFunc", "glutReshapeFunc",
                                                   "glutKeyboardFunc", "glutMouseFunc",
                                                   "glutMotionFunc", "glutMainLoop"}));
    EXPECT_EQ(gl.displayCallback, &onDisplay);
    EXPECT_EQ(gl.reshapeCallback, &onReshape);
    EXPECT_EQ(gl.keyboardCallback, &onKeyboard);
    EXPECT_EQ(gl.mouseCallback, &onMouse);
    EXPECT_EQ(gl.motionCallback, &onMotion);
    EXPECT_EQ(gl.windowTitle, "Quenlow Example");
    EXPECT_EQ(bernsteinTable[1024][3], 1.0);
    EXPECT_EQ(queryPoint.x, -160);
}

} // namespace
