// The toolkit's window replaced by a Mesa surfaceless EGL pbuffer: the few freeglut entry
// points the program's code calls, and reading a drawn frame back.
#include "offscreen.h"

#include "app/app.h"
#include "quenlow.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

struct Surface {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;
    int width = 0;
    int height = 0;
};

// The process's one offscreen window, left for the process's exit to release: eglTerminate
// unloads Mesa's driver, which leaves two small blocks behind that LeakSanitizer then
// reports and cannot attribute. Kept open, everything stays reachable.
Surface window;
int requestedWidth = 0;
int requestedHeight = 0;
double swapWaitSeconds = 0.0;

[[noreturn]] void unavailable(const char *step) {
    std::fprintf(stderr, "offscreen OpenGL unavailable: %s failed (EGL error 0x%04x)\n", step,
                 eglGetError());
    std::exit(1);
}

// RGBA8888 with 8 bits of alpha: without them Mesa picks a 10-10-10-0 configuration whose
// smoothed edges differ from a window's. The compatibility profile keeps immediate mode.
void openWindow(int width, int height) {
    window.display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (window.display == EGL_NO_DISPLAY || !eglInitialize(window.display, nullptr, nullptr)) {
        unavailable("eglInitialize");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        unavailable("eglBindAPI");
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_NONE};
    EGLConfig config;
    EGLint configCount = 0;
    if (!eglChooseConfig(window.display, configAttributes, &config, 1, &configCount) ||
        configCount == 0) {
        unavailable("eglChooseConfig");
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    window.context = eglCreateContext(window.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (window.context == EGL_NO_CONTEXT) {
        unavailable("eglCreateContext");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    window.surface = eglCreatePbufferSurface(window.display, config, surfaceAttributes);
    if (window.surface == EGL_NO_SURFACE) {
        unavailable("eglCreatePbufferSurface");
    }
    if (!eglMakeCurrent(window.display, window.surface, window.surface, window.context)) {
        unavailable("eglMakeCurrent");
    }
    window.width = width;
    window.height = height;
}

} // namespace

// What the program asks of the toolkit. Only the window's size matters offscreen; the
// window is made once per process and later requests reuse it.
extern "C" {

void glutInitDisplayMode(unsigned int) {}
void glutInitWindowPosition(int, int) {}
void glutInitWindowSize(int width, int height) {
    requestedWidth = width;
    requestedHeight = height;
}
int glutCreateWindow(const char *) {
    if (window.context == EGL_NO_CONTEXT) {
        openWindow(requestedWidth, requestedHeight);
    }
    return 1;
}
void glutPostRedisplay() {}

// A pbuffer has no front buffer to show: the swap waits until the frame is drawn.
void glutSwapBuffers() {
    const auto start = std::chrono::steady_clock::now();
    glFinish();
    swapWaitSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // extern "C"

void startOffscreenProgram() {
    initApplication();
    onReshape(window.width, window.height);
}

Picture renderFrame(void (*drawOver)()) {
    onDisplay();
    if (drawOver != nullptr) {
        drawOver();
        glFinish();
    }
    Picture frame;
    frame.width = window.width;
    frame.height = window.height;
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * frame.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    frame.rgb.resize(bottomUp.size());
    for (int row = 0; row < frame.height; ++row) {
        std::copy_n(&bottomUp[(frame.height - 1 - row) * rowBytes], rowBytes,
                    &frame.rgb[row * rowBytes]);
    }
    return frame;
}

double lastSwapWaitSeconds() {
    return swapWaitSeconds;
}
