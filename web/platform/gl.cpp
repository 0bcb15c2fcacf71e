// The fixed-function OpenGL calls the program makes, for the browser. WebGL has no wide or
// smoothed lines and no colour changes inside glBegin/glEnd, so instead of emulating OpenGL
// on it this keeps the GL state on the CPU, maps every vertex through the matrix stacks and
// the viewport to window pixels, and hands each finished primitive, with its colour and its
// line width or point size, to a 2D canvas renderer (canvas.js) that strokes and fills them
// smoothed. The vertices go over in fixed buffers, several times a frame when they are full.
#include "web/platform/layer.h"

#include <GL/gl.h>

namespace {

// x' = xx·x + yx·y + tx, y' = xy·x + yy·y + ty: the program draws in a plane, so only the
// x and y rows of a GL matrix ever matter.
struct Matrix {
    double xx = 1, xy = 0, yx = 0, yy = 1, tx = 0, ty = 0;
};

Matrix times(const Matrix &m, const Matrix &n) {
    return {m.xx * n.xx + m.yx * n.xy,        m.xy * n.xx + m.yy * n.xy,
            m.xx * n.yx + m.yx * n.yy,        m.xy * n.yx + m.yy * n.yy,
            m.xx * n.tx + m.yx * n.ty + m.tx, m.xy * n.tx + m.yy * n.ty + m.ty};
}

// The minimum depths OpenGL guarantees; a push beyond them is ignored, as GL_STACK_OVERFLOW.
struct MatrixStack {
    static constexpr int CAPACITY = 32;
    Matrix entries[CAPACITY];
    int top = 0;
    int capacity;
};
MatrixStack modelView{{}, 0, 32};
MatrixStack projection{{}, 0, 2};
MatrixStack *current = &modelView;

Matrix &currentMatrix() {
    return current->entries[current->top];
}

// Projection times model-view, formed when either changes rather than at every vertex.
Matrix sceneToClip;
void matrixChanged() {
    sceneToClip = times(projection.entries[projection.top], modelView.entries[modelView.top]);
}

// As GL does: the current matrix times m, so that m acts on vertices first.
void multiplyCurrent(const Matrix &m) {
    currentMatrix() = times(currentMatrix(), m);
    matrixChanged();
}

struct Viewport {
    double x = 0, y = 0, width = 0, height = 0;
};
Viewport viewport;
int canvasHeight = 0;

float clearColour[3] = {0, 0, 0};
float colour[3] = {1, 1, 1};
float lineWidth = 1;
float pointSize = 1;

// A primitive goes to the renderer as MODE, vertex count, red, green, blue, width (line width
// or point size), followed in the vertex buffer by its vertices as canvas x, y pairs.
constexpr int PRIMITIVE_FIELDS = 6;
constexpr int PRIMITIVE_CAPACITY = 1024;
constexpr int VERTEX_CAPACITY = 8192;
float primitives[PRIMITIVE_CAPACITY][PRIMITIVE_FIELDS];
float vertices[VERTEX_CAPACITY][2];
int primitiveCount = 0;
int vertexCount = 0;

bool drawing = false; // between glBegin and glEnd of a mode the renderer draws
GLenum drawingMode = GL_POINTS;

float *openPrimitive() {
    return primitives[primitiveCount - 1];
}

// Starts a record of the current primitive with the current colour; when the buffers cannot
// take it, what they hold goes to the renderer first.
void beginRecord() {
    if (primitiveCount == PRIMITIVE_CAPACITY || vertexCount > VERTEX_CAPACITY - 2) {
        flushPrimitives();
    }
    float *record = primitives[primitiveCount++];
    record[0] = static_cast<float>(drawingMode);
    record[1] = 0;
    record[2] = colour[0];
    record[3] = colour[1];
    record[4] = colour[2];
    record[5] = drawingMode == GL_POINTS ? pointSize : lineWidth;
}

// Ends the open record and starts another with the vertices that the primitive's next
// vertex still joins: none for points, the unpaired one of a segment, a strip's last.
void splitRecord() {
    const int count = static_cast<int>(openPrimitive()[1]);
    const int carried = drawingMode == GL_POINTS  ? 0
                        : drawingMode == GL_LINES ? count % 2
                                                  : (count > 0 ? 1 : 0);
    float kept[2] = {0, 0};
    if (carried > 0) {
        kept[0] = vertices[vertexCount - 1][0];
        kept[1] = vertices[vertexCount - 1][1];
    }
    beginRecord();
    if (carried > 0) {
        vertices[vertexCount][0] = kept[0];
        vertices[vertexCount][1] = kept[1];
        ++vertexCount;
        openPrimitive()[1] = 1;
    }
}

void setColour(float red, float green, float blue) {
    if (red == colour[0] && green == colour[1] && blue == colour[2]) {
        return;
    }
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
    // A colour change inside a primitive applies from its next vertex on.
    if (drawing && openPrimitive()[1] > 0) {
        splitRecord();
    } else if (drawing) {
        openPrimitive()[2] = red;
        openPrimitive()[3] = green;
        openPrimitive()[4] = blue;
    }
}

void addVertex(double x, double y) {
    if (!drawing) {
        return;
    }
    if (vertexCount == VERTEX_CAPACITY) {
        splitRecord();
    }
    const Matrix &m = sceneToClip;
    const double ndcX = m.xx * x + m.yx * y + m.tx;
    const double ndcY = m.xy * x + m.yy * y + m.ty;
    const double windowX = viewport.x + (ndcX + 1) * viewport.width / 2;
    const double windowY = viewport.y + (ndcY + 1) * viewport.height / 2;
    vertices[vertexCount][0] = static_cast<float>(windowX);
    vertices[vertexCount][1] = static_cast<float>(canvasHeight - windowY);
    ++vertexCount;
    openPrimitive()[1] += 1;
}

} // namespace

void setCanvasHeight(int height) {
    canvasHeight = height;
}

void flushPrimitives() {
    if (primitiveCount > 0) {
        quenlowDrawPrimitives(&primitives[0][0], primitiveCount, &vertices[0][0]);
    }
    primitiveCount = 0;
    vertexCount = 0;
}

void currentPen(float (&pen)[3], float &width) {
    pen[0] = colour[0];
    pen[1] = colour[1];
    pen[2] = colour[2];
    width = lineWidth;
}

extern "C" {

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf) {
    clearColour[0] = red;
    clearColour[1] = green;
    clearColour[2] = blue;
}

void glClear(GLbitfield mask) {
    if (mask & GL_COLOR_BUFFER_BIT) {
        flushPrimitives();
        quenlowClearCanvas(clearColour[0], clearColour[1], clearColour[2]);
    }
}

// The canvas always blends and smooths, which is the state the program asks for once at
// start-up and never changes.
void glBlendFunc(GLenum, GLenum) {}
void glEnable(GLenum) {}

void glPointSize(GLfloat size) {
    pointSize = size;
}
void glLineWidth(GLfloat width) {
    lineWidth = width;
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    setColour(red, green, blue);
}
void glColor3d(GLdouble red, GLdouble green, GLdouble blue) {
    setColour(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue));
}

// The program draws points, lines and line strips; vertices of any other mode are dropped.
void glBegin(GLenum mode) {
    drawing = mode == GL_POINTS || mode == GL_LINES || mode == GL_LINE_STRIP;
    if (drawing) {
        drawingMode = mode;
        beginRecord();
    }
}
void glEnd() {
    drawing = false;
}

void glVertex2d(GLdouble x, GLdouble y) {
    addVertex(x, y);
}
void glVertex2dv(const GLdouble *v) {
    addVertex(v[0], v[1]);
}

void glMatrixMode(GLenum mode) {
    if (mode == GL_PROJECTION) {
        current = &projection;
    } else if (mode == GL_MODELVIEW) {
        current = &modelView;
    }
}
void glLoadIdentity() {
    currentMatrix() = Matrix{};
    matrixChanged();
}
void glPushMatrix() {
    if (current->top + 1 < current->capacity) {
        current->entries[current->top + 1] = current->entries[current->top];
        ++current->top;
    }
}
void glPopMatrix() {
    if (current->top > 0) {
        --current->top;
        matrixChanged();
    }
}
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble, GLdouble) {
    Matrix ortho;
    ortho.xx = 2 / (right - left);
    ortho.yy = 2 / (top - bottom);
    ortho.tx = -(right + left) / (right - left);
    ortho.ty = -(top + bottom) / (top - bottom);
    multiplyCurrent(ortho);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble) {
    Matrix translation;
    translation.tx = x;
    translation.ty = y;
    multiplyCurrent(translation);
}
void glScaled(GLdouble x, GLdouble y, GLdouble) {
    Matrix scale;
    scale.xx = x;
    scale.yy = y;
    multiplyCurrent(scale);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    viewport = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(width),
                static_cast<double>(height)};
}

} // extern "C"
