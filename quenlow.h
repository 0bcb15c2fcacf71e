// Process-wide state of the nearest-point demo: the scene the user edits, the window,
// and the tables and per-frame data of the curve. Everything is fixed-size and lives
// for the whole process; nothing is allocated.
#pragma once

struct Point {
    double x, y;
};

constexpr double PI = 3.14159265358979323846;

constexpr int SAMPLE_SEGMENTS = 1024;  // parameter steps t = a / 1024 of the sampling grid
constexpr int LEVEL_COUNT = 10;        // subdivision levels 0 … 9 of the search
constexpr double ARC_STEP = PI / 30.0; // angular step of every drawn circular arc
constexpr int EDIT_POINT_COUNT = 5;    // P0 … P3 and the query point Q
constexpr int QUERY_INDEX = 4;         // index of Q in editPoints

// The scene: control points P0 … P3 of the cubic Bézier curve, then the query point Q.
inline Point editPoints[EDIT_POINT_COUNT];
inline Point *const controlPoints = editPoints;
inline Point &queryPoint = editPoints[QUERY_INDEX];
inline int selectedPoint = -1; // index of the point being dragged, -1 for none

inline int windowWidth = 800;      // current window width in pixels
inline int windowHeight = 800;     // current window height in pixels
inline bool boxMode = false;       // bounding regions are rounded boxes, not capsules
inline bool showAllLevels = false; // overlay every region of every level

inline int binomialHalf[3]; // first half of row 3 of Pascal's triangle: 1, 3, 3
inline double bernsteinTable[SAMPLE_SEGMENTS + 1][4]; // cubic Bernstein weights at t = a / 1024
inline Point curveSamples[SAMPLE_SEGMENTS + 1];       // curve point at t = a / 1024, this frame
inline double errorBounds[LEVEL_COUNT]; // how far a piece of each level strays from its chord

// Start samples of the search's candidate pieces: one list for the level being
// processed, one for the halves that go on to the next level.
inline int candidateLists[2][SAMPLE_SEGMENTS];
inline int currentList = 0; // list holding the current level's candidates
inline int nextList = 1;    // list receiving their halves

// The search of the last frame, level by level: every piece it bounded, in its order, with
// how near to and how far from Q the piece's region can lie, and whether it went on. The
// web page reads it; the desktop program only writes it.
struct BoundedPiece {
    int start;    // first sample; the piece ends at start + step
    double lower; // nearest possible distance from Q: below zero when Q lies inside the region
    double upper; // farthest possible distance from Q
    bool kept;    // halved for the next level rather than dropped
};
struct LevelRecord {
    int step;     // samples a piece of the level spans
    int count;    // pieces bounded, in pieces[0 … count)
    int kept;     // pieces kept
    int tightest; // the first piece with the smallest upper bound, the threshold of the level
    BoundedPiece pieces[SAMPLE_SEGMENTS / 2];
};
inline LevelRecord searchRecord[LEVEL_COUNT]; // what the search did at each level

// The web page's step-through: frames follow the search only up to this level, and then
// outline the pieces still in play (the record's kept pieces of that level) instead of
// drawing the result. The desktop program leaves it at LEVEL_COUNT, the whole search.
inline int lastLevelShown = LEVEL_COUNT;

// How far into that level the page's picture goes: its pieces bounded, the threshold found,
// the far ones dropped, or the rest halved. Before the drop the level's dropped regions are
// left out, and before the halving its pieces in play. The desktop program leaves it at
// STEP_HALVE, the whole level.
enum SearchStep { STEP_BOUND, STEP_THRESHOLD, STEP_DROP, STEP_HALVE };
inline int stepShown = STEP_HALVE;

// Axis-aligned bounding box of a chord, shared by the search's bounds and the region outlines.
struct Box {
    double xmin, xmax, ymin, ymax;
};

inline Box chordBox(Point a, Point b) {
    return {a.x < b.x ? a.x : b.x, a.x < b.x ? b.x : a.x, a.y < b.y ? a.y : b.y,
            a.y < b.y ? b.y : a.y};
}
