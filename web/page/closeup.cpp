// The close-up: the program's own drawing functions under a projection that magnifies the
// part of the scene the level shown decided about, on a canvas of the page's own. Geometry
// is magnified, not the pen: GL widths and sizes are in the view's pixels.
#include "web/page/closeup.h"
#include "web/page/derivation.h"

#include "app/app.h"
#include "draw/draw.h"
#include "quenlow.h"
#include "web/page/held.h"
#include "web/page/pieces.h"
#include "web/page/search_report.h"
#include "web/page/search_rule.h"
#include "web/page/search_steps.h"
#include "web/platform/layer.h"

#include <GL/gl.h>
#include <cmath>

// The page's side, in closeup.js.
extern "C" {
int quenlowCloseupSize();
void quenlowShowCloseup(int level, double centreX, double centreY, double scale, double wanted);
}

namespace {

constexpr double FILL = 0.9; // share of the view the box's longer side spans
// The canvas places vertices as 32-bit floats: one d view pixels from the middle lands within
// d·2^-24 of its place. Magnified further than keeps that under a tenth of a pixel for every
// vertex drawn, the picture would be the float's, not the search's.
constexpr double PLACEMENT = 0.1 * 16777216.0;

struct View {
    double centreX, centreY;
    double scale; // view pixels per scene pixel
    double half;  // half the view's side, in scene pixels
};

Box grown(Box box, double by) {
    return {box.xmin - by, box.xmax + by, box.ymin - by, box.ymax + by};
}

Box joined(Box a, Box b) {
    return {std::fmin(a.xmin, b.xmin), std::fmax(a.xmax, b.xmax), std::fmin(a.ymin, b.ymin),
            std::fmax(a.ymax, b.ymax)};
}

Box pointBox(Point p) {
    return {p.x, p.x, p.y, p.y};
}

Box regionBox(int level, int step, int start) {
    return grown(chordBox(curveSamples[start], curveSamples[start + step]), errorBounds[level]);
}

// Every region the level bounded, kept and dropped alike; at all levels the final run's
// samples and the truly nearest point.
Box subjectBox(const SearchReport &report) {
    if (lastLevelShown < LEVEL_COUNT) {
        const LevelRecord &record = searchRecord[lastLevelShown];
        Box box = regionBox(lastLevelShown, record.step, record.pieces[0].start);
        for (int i = 1; i < record.count; ++i) {
            box = joined(box, regionBox(lastLevelShown, record.step, record.pieces[i].start));
        }
        return box;
    }
    Box box = pointBox(report.truePoint);
    for (int i = 0; i < report.finalCount; ++i) {
        box = joined(box, pointBox(curveSamples[report.finalSamples[i]]));
    }
    return box;
}

// The farthest any vertex drawn lies from the view's middle: within the points' hull, grown
// by the coarsest region's radius.
double farthestVertex(double x, double y) {
    double farthest = 0;
    for (const Point &p : editPoints) {
        farthest = std::fmax(farthest, std::hypot(p.x - x, p.y - y));
    }
    return farthest + errorBounds[0];
}

bool inView(Box box, const View &view) {
    return box.xmax >= view.centreX - view.half && box.xmin <= view.centreX + view.half &&
           box.ymax >= view.centreY - view.half && box.ymin <= view.centreY + view.half;
}

// Whether a piece's region can show in the view: its box meets the view, and a capsule
// also comes within the view's half-diagonal of its middle, which leaves out the long
// slanting capsules of the coarse levels that only pass near it. Each outline drawn costs
// the drag a canvas stroke or more.
bool inView(int level, int step, int start, const View &view) {
    if (!inView(regionBox(level, step, start), view)) {
        return false;
    }
    if (boxMode) {
        return true;
    }
    const Point a = curveSamples[start];
    const Point b = curveSamples[start + step];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSq = dx * dx + dy * dy;
    double along =
        lengthSq > 0 ? ((view.centreX - a.x) * dx + (view.centreY - a.y) * dy) / lengthSq : 0.0;
    along = std::fmin(1.0, std::fmax(0.0, along));
    const double away =
        std::hypot(a.x + along * dx - view.centreX, a.y + along * dy - view.centreY);
    return away <= errorBounds[level] + view.half * std::sqrt(2.0);
}

// The dropped regions of every level up to the one shown, in the search's order, and the
// overlay's, each only where it meets the view.
void drawDroppedRegions(const View &view) {
    const int deepest = (lastLevelShown < LEVEL_COUNT ? lastLevelShown : LEVEL_COUNT - 1) -
                        (heldBack.decisions ? 1 : 0);
    for (int level = 0; level <= deepest; ++level) {
        const LevelRecord &record = searchRecord[level];
        for (int i = 0; i < record.count; ++i) {
            const int start = record.pieces[i].start;
            if (!record.pieces[i].kept && inView(level, record.step, start, view)) {
                drawRegion(level, record.step, start);
            }
        }
    }
}

void drawOverlay(const View &view) {
    for (int level = 0, step = SAMPLE_SEGMENTS; level < LEVEL_COUNT; ++level, step /= 2) {
        for (int start = 0; start < SAMPLE_SEGMENTS; start += step) {
            if (inView(level, step, start, view)) {
                drawRegion(level, step, start);
            }
        }
    }
}

// The level's pieces not yet drawn as dropped, as the step shown has them: grey while
// undecided, in play with the ends of their halves once halved.
void drawUndroppedInView(const View &view) {
    const LevelRecord &record = searchRecord[lastLevelShown];
    for (int i = 0; i < record.count; ++i) {
        const BoundedPiece &piece = record.pieces[i];
        if ((piece.kept || undecidedAtStep(piece)) &&
            inView(lastLevelShown, record.step, piece.start, view)) {
            drawPieceAtStep(piece, HALF_END_TICK / view.scale);
        }
    }
}

// The part of the circle that can meet the view, in steps fine enough that the chords stray
// less than a tenth of a view pixel from the circle at this magnification.
void drawCircleEdge(double radius, const View &view) {
    const Point q = queryPoint;
    const double away = std::hypot(view.centreX - q.x, view.centreY - q.y);
    const double reach = view.half * std::sqrt(2.0);
    if (away > radius + reach || radius > away + reach) {
        return;
    }
    double from = -PI;
    double to = PI;
    if (away > reach) {
        const double towards = std::atan2(view.centreY - q.y, view.centreX - q.x);
        const double spread = std::asin(reach / away);
        from = towards - spread;
        to = towards + spread;
    }
    const double step = std::sqrt(0.8 / (radius * view.scale));
    const int steps = static_cast<int>(std::fmin(std::ceil((to - from) / step), 4096.0));
    glLineWidth(1.5f);
    glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= steps; ++i) {
        const double angle = from + (to - from) * i / steps;
        glVertex2d(q.x + radius * std::cos(angle), q.y + radius * std::sin(angle));
    }
    glEnd();
}

// Through every sample, so that at any magnification it runs through the regions bounded;
// only the runs of steps that reach into the view.
void drawWholeCurve(const View &view) {
    glLineWidth(1.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    bool drawing = false;
    for (int a = 0; a < SAMPLE_SEGMENTS; ++a) {
        const bool shows = inView(chordBox(curveSamples[a], curveSamples[a + 1]), view);
        if (shows && !drawing) {
            glBegin(GL_LINE_STRIP);
            glVertex2d(curveSamples[a].x, curveSamples[a].y);
        } else if (!shows && drawing) {
            glEnd();
        }
        if (shows) {
            glVertex2d(curveSamples[a + 1].x, curveSamples[a + 1].y);
        }
        drawing = shows;
    }
    if (drawing) {
        glEnd();
    }
}

void drawSegment(Point from, Point to) {
    glBegin(GL_LINES);
    glVertex2d(from.x, from.y);
    glVertex2d(to.x, to.y);
    glEnd();
}

// The search's result and what to hold it against: the selected sample as an orange dot, the
// nearest sample as a teal ring and the truly nearest point as a black cross.
void drawResultMarks(const SearchReport &report, const View &view) {
    const Point selected = curveSamples[report.selected];
    const Point nearest = curveSamples[report.nearestSample];
    const Point truth = report.truePoint;
    glColor3f(1.0f, 0.5f, 0.0f);
    glLineWidth(1.5f);
    drawSegment(queryPoint, selected);
    glColor3f(RULE_RED, RULE_GREEN, RULE_BLUE);
    glLineWidth(2.0f);
    drawArc(nearest.x, nearest.y, 8.0 / view.scale, 0.0, 2.0 * PI);
    glColor3f(1.0f, 0.5f, 0.0f);
    glPointSize(9.0f);
    glBegin(GL_POINTS);
    glVertex2d(selected.x, selected.y);
    glEnd();
    glPointSize(6.0f);
    const double arm = 6.0 / view.scale;
    glColor3f(0.0f, 0.0f, 0.0f);
    glLineWidth(1.5f);
    drawSegment({truth.x - arm, truth.y - arm}, {truth.x + arm, truth.y + arm});
    drawSegment({truth.x - arm, truth.y + arm}, {truth.x + arm, truth.y - arm});
}

} // namespace

void drawCloseup(const SearchReport &report) {
    const int size = quenlowCloseupSize();
    if (size < 1) {
        return;
    }
    const Box box = subjectBox(report);
    const double side = std::fmax(box.xmax - box.xmin, box.ymax - box.ymin);
    View view{(box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2, 0, 0};
    const double wanted = FILL * size / side; // infinite for a box of one point
    const double limit = PLACEMENT / farthestVertex(view.centreX, view.centreY);
    view.scale = std::fmin(wanted, limit);
    view.half = size / 2.0 / view.scale;

    flushPrimitives(); // what the window's canvas still has to draw
    quenlowSelectCanvas("closeup");
    setCanvasHeight(size);
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(view.centreX - view.half, view.centreX + view.half, view.centreY - view.half,
            view.centreY + view.half, 0.0, 1.0);
    glClear(GL_COLOR_BUFFER_BIT);

    drawDroppedRegions(view);
    if (showAllLevels) {
        drawOverlay(view);
    }
    if (lastLevelShown < LEVEL_COUNT) {
        if (stepShown >= STEP_THRESHOLD && !heldBack.decisions) {
            drawCircleEdge(ruleRadius(lastLevelShown), view);
            drawRuleRadius(lastLevelShown);
            markTightestPiece(lastLevelShown);
        }
        drawChosenPiece(HALF_END_TICK / view.scale);
        drawMarkedPieces();
        drawUndroppedInView(view);
        drawDerivation(9.0f);
    }
    drawWholeCurve(view);
    if (lastLevelShown == LEVEL_COUNT) {
        drawResultMarks(report, view);
    }
    drawPoints();
    flushPrimitives();

    quenlowSelectCanvas(nullptr);
    setCanvasHeight(windowHeight);
    onReshape(windowWidth, windowHeight);
    quenlowShowCloseup(lastLevelShown, view.centreX, view.centreY, view.scale, wanted);
}
