// The branch-and-bound search: which pieces each level drops, which samples survive, and
// where the orange segment ends. Linked without the region drawing, so that this file's
// drawRegion can note every piece the search drops.
#include "curve/curve.h"
#include "gl_recorder.h"
#include "quenlow.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <gtest/gtest.h>
#include <random>

namespace {

struct Piece {
    int level, start;
    bool operator==(const Piece &other) const {
        return level == other.level && start == other.start;
    }
};

std::vector<Piece> dropped;

} // namespace

void drawRegion(int level, int step, int start) {
    EXPECT_EQ(step, 1024 >> level);
    dropped.push_back({level, start});
}

namespace {

struct SearchOutcome {
    std::vector<Piece> dropped; // in the order their regions were drawn
    std::vector<int> survivors; // start samples of the final single-step pieces
    int result;                 // the selected sample, where the orange segment ends
};

std::ostream &operator<<(std::ostream &out, const Piece &piece) {
    return out << "level " << piece.level << " start " << piece.start;
}

const Point DEFAULT_CURVE[4] = {{-225, -225}, {-225, 0}, {0, 225}, {225, 225}};

void useCurve(const Point (&points)[4]) {
    std::copy(points, points + 4, controlPoints);
    computeBinomials();
    buildBernsteinTable();
    sampleCurve();
    computeErrorBounds();
}

// One frame's search from Q, as the display callback runs it.
SearchOutcome search(Point q, bool box) {
    queryPoint = q;
    boxMode = box;
    dropped.clear();
    resetRecording();
    const int listsBefore = currentList;
    candidateLists[currentList][0] = 0;
    findNearestPoint(0, 1024, 1);
    EXPECT_EQ(currentList, listsBefore); // ten flips bring both selectors back
    EXPECT_NE(currentList, nextList);

    // Every surviving piece of a level leaves two halves; the search's own record, which the
    // web page shows, holds the pieces it drew as dropped, in the order it drew them.
    int count = 1;
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const LevelRecord &record = searchRecord[level];
        std::vector<Piece> drawn, recordedDrops;
        std::copy_if(dropped.begin(), dropped.end(), std::back_inserter(drawn),
                     [level](const Piece &p) { return p.level == level; });
        for (int i = 0; i < record.count; ++i) {
            if (!record.pieces[i].kept) {
                recordedDrops.push_back({level, record.pieces[i].start});
            }
        }
        EXPECT_EQ(record.step, 1024 >> level);
        EXPECT_EQ(record.count, count) << "level " << level;
        EXPECT_EQ(recordedDrops, drawn) << "level " << level;
        count = 2 * record.kept;
    }
    SearchOutcome outcome{dropped, {}, -1};
    outcome.survivors.assign(candidateLists[currentList], candidateLists[currentList] + count);
    outcome.result = outcome.survivors.at(count / 2);

    // One orange segment, from Q to the selected sample.
    const std::vector<RecordedPrimitive> segments =
        recorded().primitivesIn(GL_LINES, Color{1.0, 0.5, 0.0});
    EXPECT_EQ(recorded().primitives.size(), 1u);
    EXPECT_EQ(segments.size(), 1u);
    if (!segments.empty() && segments[0].vertices.size() == 2) {
        EXPECT_EQ(segments[0].lineWidth, 1.5f);
        EXPECT_EQ(segments[0].vertices[0].x, q.x);
        EXPECT_EQ(segments[0].vertices[0].y, q.y);
        EXPECT_EQ(segments[0].vertices[1].x, curveSamples[outcome.result].x);
        EXPECT_EQ(segments[0].vertices[1].y, curveSamples[outcome.result].y);
    }
    return outcome;
}

std::vector<int> range(int first, int last) {
    std::vector<int> result;
    for (int a = first; a <= last; ++a) {
        result.push_back(a);
    }
    return result;
}

std::vector<int> candidatesPerLevel(const std::vector<Piece> &dropped) {
    std::vector<int> counts{1};
    for (int level = 0; level + 1 < LEVEL_COUNT; ++level) {
        const int gone = static_cast<int>(std::count_if(
            dropped.begin(), dropped.end(), [level](const Piece &p) { return p.level == level; }));
        counts.push_back(2 * (counts.back() - gone));
    }
    return counts;
}

class NearestPointSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        currentList = 0;
        nextList = 1;
        useCurve(DEFAULT_CURVE);
    }
};

TEST_F(NearestPointSearch, DefaultSceneWithCapsulesNarrowsToEightSamplesAroundTheMiddle) {
    const SearchOutcome outcome = search({-160, 160}, false);
    EXPECT_EQ(candidatesPerLevel(outcome.dropped),
              (std::vector<int>{1, 2, 4, 8, 8, 8, 8, 8, 8, 8}));
    const std::vector<Piece> firstDrops(outcome.dropped.begin(), outcome.dropped.begin() + 4);
    EXPECT_EQ(firstDrops, (std::vector<Piece>{{3, 0}, {3, 128}, {3, 768}, {3, 896}}));
    EXPECT_EQ(outcome.survivors, range(508, 515));
    EXPECT_EQ(outcome.result, 512);
    EXPECT_EQ(curveSamples[512].x, -84.375);
    EXPECT_EQ(curveSamples[512].y, 84.375);
    // Level 4 keeps what lies no farther than piece 448 … 512 can: 118.29 px.
    const LevelRecord &level4 = searchRecord[4];
    EXPECT_EQ(level4.pieces[level4.tightest].start, 448);
    EXPECT_NEAR(level4.pieces[level4.tightest].upper, 118.29, 0.005);
}

TEST_F(NearestPointSearch, DefaultSceneWithBoxesKeepsMoreButEndsAtTheSameSample) {
    const SearchOutcome outcome = search({-160, 160}, true);
    EXPECT_EQ(candidatesPerLevel(outcome.dropped),
              (std::vector<int>{1, 2, 4, 8, 8, 8, 12, 16, 24, 32}));
    const std::vector<Piece> firstDrops(outcome.dropped.begin(), outcome.dropped.begin() + 4);
    EXPECT_EQ(firstDrops, (std::vector<Piece>{{3, 0}, {3, 128}, {3, 768}, {3, 896}}));
    EXPECT_EQ(outcome.survivors, range(490, 533));
    EXPECT_EQ(outcome.result, 512);
}

TEST_F(NearestPointSearch, AQueryPointOnTheCurveSelectsItsOwnSample) {
    for (bool box : {false, true}) {
        for (int sample : {300, 700}) {
            const SearchOutcome outcome = search(curveSamples[sample], box);
            EXPECT_EQ(outcome.result, sample) << (box ? "boxes" : "capsules");
        }
    }
}

TEST_F(NearestPointSearch, AtTheEndsTheSegmentStopsShortOfTheEndPoint) {
    for (bool box : {false, true}) {
        SCOPED_TRACE(box ? "boxes" : "capsules");
        SearchOutcome outcome = search(controlPoints[0], box);
        EXPECT_EQ(outcome.survivors, range(0, 3));
        EXPECT_EQ(outcome.result, 2);
        outcome = search(controlPoints[3], box);
        EXPECT_EQ(outcome.survivors, range(1020, 1023));
        EXPECT_EQ(outcome.result, 1022);
    }
}

TEST_F(NearestPointSearch, OnTheMirrorLineBothEndsSurviveAndTheMiddleEntryWins) {
    const SearchOutcome outcome = search({300, -300}, false);
    std::vector<int> expected = range(0, 3);
    const std::vector<int> farEnd = range(1020, 1023);
    expected.insert(expected.end(), farEnd.begin(), farEnd.end());
    EXPECT_EQ(outcome.survivors, expected);
    EXPECT_EQ(outcome.result, 1020); // not the nearer end samples 0 and 1024
    EXPECT_NEAR(std::hypot(curveSamples[1020].x - 300, curveSamples[1020].y + 300), 530.70, 0.005);
}

TEST_F(NearestPointSearch, EvenlySpacedCollinearPointsStillFindTheNearestSample) {
    useCurve({{-300, 0}, {-100, 0}, {100, 0}, {300, 0}});
    for (bool box : {false, true}) {
        EXPECT_EQ(search({50, 100}, box).result, 597) << (box ? "boxes" : "capsules");
    }
}

TEST_F(NearestPointSearch, StackedControlPointsKeepEveryPiece) {
    useCurve({{40, -70}, {40, -70}, {40, -70}, {40, -70}});
    for (bool box : {false, true}) {
        const SearchOutcome outcome = search({-100, 100}, box);
        EXPECT_TRUE(outcome.dropped.empty());
        EXPECT_EQ(outcome.survivors, range(0, 1023));
        EXPECT_EQ(outcome.result, 512);
    }
}

// The search's pruning, written out literally: every candidate's bounds, and a piece
// dropped when its lower bound exceeds the upper bound of any candidate of its level.
std::pair<double, double> literalBounds(Point a, Point b, Point q, double r, bool box) {
    const double toA = std::hypot(a.x - q.x, a.y - q.y), toB = std::hypot(b.x - q.x, b.y - q.y);
    if (!box) {
        double lower = std::min(toA, toB) - r;
        const double dx = b.x - a.x, dy = b.y - a.y;
        if ((q.x - a.x) * dx + (q.y - a.y) * dy > 0 && (q.x - b.x) * dx + (q.y - b.y) * dy < 0) {
            const double lengthSq = dx * dx + dy * dy;
            const double cross = q.x * dy - q.y * dx - a.x * b.y + a.y * b.x;
            lower = std::fabs(cross) * std::sqrt(lengthSq) / lengthSq - r;
        }
        return {lower, std::max(toA, toB) + r};
    }
    const double xmin = std::min(a.x, b.x), xmax = std::max(a.x, b.x);
    const double ymin = std::min(a.y, b.y), ymax = std::max(a.y, b.y);
    const double ox = std::max({0.0, q.x - xmax, xmin - q.x});
    const double oy = std::max({0.0, q.y - ymax, ymin - q.y});
    const double fx = std::max(std::fabs(xmin - q.x), std::fabs(q.x - xmax));
    const double fy = std::max(std::fabs(ymin - q.y), std::fabs(q.y - ymax));
    return {std::sqrt(ox * ox + oy * oy) - r, std::sqrt(fx * fx + fy * fy) + r};
}

SearchOutcome literalSearch(Point q, bool box) {
    SearchOutcome outcome{{}, {0}, -1};
    for (int level = 0, step = 1024; level < LEVEL_COUNT; ++level, step /= 2) {
        std::vector<std::pair<double, double>> bounds;
        for (int s : outcome.survivors) {
            bounds.push_back(
                literalBounds(curveSamples[s], curveSamples[s + step], q, errorBounds[level], box));
        }
        std::vector<int> halves;
        for (size_t j = 0; j < bounds.size(); ++j) {
            const bool beaten = std::any_of(bounds.begin(), bounds.end(), [&](const auto &other) {
                return bounds[j].first > other.second;
            });
            if (beaten) {
                outcome.dropped.push_back({level, outcome.survivors[j]});
            } else {
                halves.push_back(outcome.survivors[j]);
                halves.push_back(outcome.survivors[j] + step / 2);
            }
        }
        outcome.survivors = halves;
    }
    outcome.result = outcome.survivors[outcome.survivors.size() / 2];
    return outcome;
}

// The record of the last search: each piece's bounds as the rule computes them, the
// threshold the first piece with the smallest upper bound, and kept exactly the pieces
// whose lower bound does not exceed it.
void expectRecordFollowsTheRule(Point q, bool box) {
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        const LevelRecord &record = searchRecord[level];
        const BoundedPiece &tightest = record.pieces[record.tightest];
        for (int i = 0; i < record.count; ++i) {
            const BoundedPiece &piece = record.pieces[i];
            const auto bounds = literalBounds(curveSamples[piece.start],
                                              curveSamples[piece.start + record.step], q,
                                              errorBounds[level], box);
            ASSERT_NEAR(piece.lower, bounds.first, 1e-9) << "level " << level << " piece " << i;
            ASSERT_NEAR(piece.upper, bounds.second, 1e-9) << "level " << level << " piece " << i;
            ASSERT_EQ(piece.kept, !(piece.lower > tightest.upper));
            ASSERT_TRUE(i < record.tightest ? piece.upper > tightest.upper
                                            : piece.upper >= tightest.upper);
        }
    }
}

// Any scene: the search drops exactly what the literal rule drops, keeps a sample truly
// nearest to Q, and ends on one of its survivors.
TEST_F(NearestPointSearch, RandomScenesAgreeWithTheLiteralRuleAndKeepTheNearestSample) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> coordinate(-420, 420);
    const auto randomPoint = [&] {
        return Point{double(coordinate(random)), double(coordinate(random))};
    };
    int dropsSeen = 0;
    for (int scene = 0; scene < 400; ++scene) {
        useCurve({randomPoint(), randomPoint(), randomPoint(), randomPoint()});
        const Point q = scene % 5 == 0 ? curveSamples[coordinate(random) + 420] : randomPoint();
        for (bool box : {false, true}) {
            SCOPED_TRACE(testing::Message() << "scene " << scene << (box ? " boxes" : " capsules"));
            const SearchOutcome fast = search(q, box);
            const SearchOutcome literal = literalSearch(q, box);
            ASSERT_EQ(fast.dropped, literal.dropped);
            ASSERT_EQ(fast.survivors, literal.survivors);
            ASSERT_EQ(fast.result, literal.result);
            expectRecordFollowsTheRule(q, box);
            dropsSeen += static_cast<int>(fast.dropped.size());

            double nearest = INFINITY;
            for (const Point &p : curveSamples) {
                nearest = std::min(nearest, std::hypot(p.x - q.x, p.y - q.y));
            }
            const bool nearestSurvives =
                std::any_of(fast.survivors.begin(), fast.survivors.end(), [&](int s) {
                    return std::hypot(curveSamples[s].x - q.x, curveSamples[s].y - q.y) ==
                               nearest ||
                           std::hypot(curveSamples[s + 1].x - q.x, curveSamples[s + 1].y - q.y) ==
                               nearest;
                });
            ASSERT_TRUE(nearestSurvives);
            ASSERT_NE(std::find(fast.survivors.begin(), fast.survivors.end(), fast.result),
                      fast.survivors.end());
        }
    }
    EXPECT_GT(dropsSeen, 400 * 2 * 4); // the scenes really prune
}

} // namespace
