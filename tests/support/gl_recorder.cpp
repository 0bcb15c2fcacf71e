// Definitions of the GL and GLUT entry points the program uses, recording instead of drawing.
#include "gl_recorder.h"

#include <GL/glut.h>
#include <cmath>
#include <initializer_list>

namespace {

struct Transform {
    double scaleX = 1.0, scaleY = 1.0, offsetX = 0.0, offsetY = 0.0;
};

struct RecorderState {
    GlRecording recording;
    std::vector<Transform> matrixStack{Transform{}};
    Color color{1.0, 1.0, 1.0};
    float lineWidth = 1.0f;
    bool insideBegin = false;
};

RecorderState state;
RecorderOptions options; // outlives resetRecording

void fault(const std::string &what) {
    state.recording.faults.push_back(what);
}

void record(std::string_view name, std::initializer_list<double> args) {
    GlCall call{name, {}};
    int i = 0;
    for (double arg : args) {
        call.args[i++] = arg;
        if (!std::isfinite(arg)) {
            fault(std::string(name) + " with a non-finite argument");
        }
    }
    if (options.keepCalls) {
        state.recording.calls.push_back(call);
    }
    if (options.watch != nullptr) {
        options.watch(call);
    }
}

// Only vertices and colours may be given between glBegin and glEnd.
void recordOutsideBegin(std::string_view name, std::initializer_list<double> args) {
    if (state.insideBegin) {
        fault(std::string(name) + " between glBegin and glEnd");
    }
    record(name, args);
}

void addVertex(double x, double y) {
    if (!state.insideBegin) {
        fault("glVertex outside glBegin/glEnd");
        return;
    }
    if (!options.keepPrimitives) {
        return;
    }
    const Transform &t = state.matrixStack.back();
    state.recording.primitives.back().vertices.push_back(
        {t.offsetX + t.scaleX * x, t.offsetY + t.scaleY * y, state.color});
}

} // namespace

int GlRecording::count(std::string_view name) const {
    int n = 0;
    for (const GlCall &call : calls) {
        n += call.name == name;
    }
    return n;
}

std::vector<std::string_view> GlRecording::names() const {
    std::vector<std::string_view> result;
    for (const GlCall &call : calls) {
        result.push_back(call.name);
    }
    return result;
}

std::vector<RecordedPrimitive> GlRecording::primitivesIn(GLenum mode, Color color) const {
    std::vector<RecordedPrimitive> result;
    for (const RecordedPrimitive &primitive : primitives) {
        if (primitive.mode == mode && !primitive.vertices.empty() &&
            primitive.vertices.front().color == color) {
            result.push_back(primitive);
        }
    }
    return result;
}

const GlRecording &recorded() {
    return state.recording;
}

void resetRecording() {
    state = RecorderState{};
}

void setRecorderOptions(const RecorderOptions &newOptions) {
    options = newOptions;
}

extern "C" {

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    recordOutsideBegin("glClearColor", {r, g, b, a});
}
void glClear(GLbitfield mask) {
    recordOutsideBegin("glClear", {static_cast<double>(mask)});
}
void glBlendFunc(GLenum source, GLenum destination) {
    recordOutsideBegin("glBlendFunc",
                       {static_cast<double>(source), static_cast<double>(destination)});
}
void glEnable(GLenum capability) {
    recordOutsideBegin("glEnable", {static_cast<double>(capability)});
}
void glPointSize(GLfloat size) {
    recordOutsideBegin("glPointSize", {size});
}
void glLineWidth(GLfloat width) {
    recordOutsideBegin("glLineWidth", {width});
    state.lineWidth = width;
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", {r, g, b});
    state.color = {r, g, b};
}
void glColor3d(GLdouble r, GLdouble g, GLdouble b) {
    record("glColor3d", {r, g, b});
    state.color = {r, g, b};
}

void glBegin(GLenum mode) {
    recordOutsideBegin("glBegin", {static_cast<double>(mode)});
    state.insideBegin = true;
    if (options.keepPrimitives) {
        state.recording.primitives.push_back({mode, state.lineWidth, {}});
    }
}
void glEnd() {
    record("glEnd", {});
    if (!state.insideBegin) {
        fault("glEnd without glBegin");
    }
    state.insideBegin = false;
}
void glVertex2d(GLdouble x, GLdouble y) {
    record("glVertex2d", {x, y});
    addVertex(x, y);
}
void glVertex2dv(const GLdouble *v) {
    record("glVertex2dv", {v[0], v[1]});
    addVertex(v[0], v[1]);
}

void glMatrixMode(GLenum mode) {
    recordOutsideBegin("glMatrixMode", {static_cast<double>(mode)});
}
void glLoadIdentity() {
    recordOutsideBegin("glLoadIdentity", {});
    state.matrixStack.back() = Transform{};
}
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearVal,
             GLdouble farVal) {
    recordOutsideBegin("glOrtho", {left, right, bottom, top, nearVal, farVal});
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    recordOutsideBegin("glViewport", {static_cast<double>(x), static_cast<double>(y),
                                      static_cast<double>(width), static_cast<double>(height)});
}
void glPushMatrix() {
    recordOutsideBegin("glPushMatrix", {});
    state.matrixStack.push_back(state.matrixStack.back());
    GlRecording &r = state.recording;
    r.matrixDepth += 1;
    r.deepestMatrixDepth =
        r.matrixDepth > r.deepestMatrixDepth ? r.matrixDepth : r.deepestMatrixDepth;
}
void glPopMatrix() {
    recordOutsideBegin("glPopMatrix", {});
    if (state.matrixStack.size() == 1) {
        fault("glPopMatrix without glPushMatrix");
        return;
    }
    state.matrixStack.pop_back();
    state.recording.matrixDepth -= 1;
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    recordOutsideBegin("glTranslated", {x, y, z});
    Transform &t = state.matrixStack.back();
    t.offsetX += t.scaleX * x;
    t.offsetY += t.scaleY * y;
}
void glScaled(GLdouble x, GLdouble y, GLdouble z) {
    recordOutsideBegin("glScaled", {x, y, z});
    Transform &t = state.matrixStack.back();
    t.scaleX *= x;
    t.scaleY *= y;
}

void glutInit(int *argc, char **) {
    record("glutInit", {static_cast<double>(*argc)});
}
void glutInitDisplayMode(unsigned int mode) {
    record("glutInitDisplayMode", {static_cast<double>(mode)});
}
void glutInitWindowPosition(int x, int y) {
    record("glutInitWindowPosition", {static_cast<double>(x), static_cast<double>(y)});
}
void glutInitWindowSize(int width, int height) {
    record("glutInitWindowSize", {static_cast<double>(width), static_cast<double>(height)});
}
int glutCreateWindow(const char *title) {
    record("glutCreateWindow", {});
    state.recording.windowTitle = title;
    return 1;
}
void glutDisplayFunc(void (*callback)()) {
    record("glutDisplayFunc", {});
    state.recording.displayCallback = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
    record("glutReshapeFunc", {});
    state.recording.reshapeCallback = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
    record("glutKeyboardFunc", {});
    state.recording.keyboardCallback = callback;
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
    record("glutMouseFunc", {});
    state.recording.mouseCallback = callback;
}
void glutMotionFunc(void (*callback)(int, int)) {
    record("glutMotionFunc", {});
    state.recording.motionCallback = callback;
}
void glutMainLoop() {
    record("glutMainLoop", {});
}
void glutPostRedisplay() {
    record("glutPostRedisplay", {});
    state.recording.redisplayRequests += 1;
}
void glutSwapBuffers() {
    recordOutsideBegin("glutSwapBuffers", {});
    state.recording.bufferSwaps += 1;
}

} // extern "C"
