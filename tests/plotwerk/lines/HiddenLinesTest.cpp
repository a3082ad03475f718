// Hidden-line removal: what each primitive keeps of its outline or its course, measured by
// the length of its visible pieces.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "../../../libPlotWerk/src/hlhsr/lines/SoHiddenLines.h"
#include "support/DebugErrorRecorder.h"

namespace {

struct Primitive {
    std::vector<SbVec4f> points;  // page x, y and depth, growing away from the viewer
    bool polygon;
    int colorOf = -1;  // drawn in the colour of that primitive number, not its own
    std::vector<SbVec3f> normals = {};
};

constexpr int kHidden = 100;
/// Lengths drawn by primitive number (plus kHidden for hidden ones), and the pieces drawn.
std::pair<std::map<int, double>, size_t> kept(const std::vector<Primitive>& primitives,
                                              unsigned short hiddenPattern, float featureAngle) {
    SoHiddenLines lines;
    lines.setHiddenPattern(hiddenPattern);
    lines.setFeatureAngle(featureAngle);
    for (size_t k = 0; k < primitives.size(); ++k) {
        const int tag = primitives[k].colorOf < 0 ? int(k) : primitives[k].colorOf;
        const std::vector<SbColor> colors(primitives[k].points.size(), SbColor(tag / 8.0f, 0, 0));
        const Primitive& p = primitives[k];
        if (!p.polygon)
            lines.addPolyLine(p.points.data(), int(p.points.size()), colors.data(), 1, 0xFFFF, 1);
        else
            lines.addPolygon(p.points.data(), int(p.points.size()), colors.data(), 1, 0xFFFF, 1,
                             nullptr, p.normals.empty() ? nullptr : p.normals.data());
    }
    std::map<int, double> lengths;
    const std::vector<SoVisibleLine> visible = lines.computeVisibleLines();
    for (const SoVisibleLine& line : visible) {
        const bool hidden = line.attributes.linePattern == hiddenPattern;
        EXPECT_TRUE(!hidden || &line == &visible[0] ||
                    (&line - 1)->attributes.linePattern == hiddenPattern)
            << "hidden pieces come first";
        for (size_t i = 1; i < line.points.size(); ++i) {
            const SbVec4f a = line.points[i] - line.points[i - 1];
            lengths[int(std::lround(line.attributes.color[0] * 8)) + (hidden ? kHidden : 0)] +=
                a.length();
            const SbVec4f b = i > 1 ? line.points[i - 1] - line.points[i - 2] : SbVec4f();
            EXPECT_FALSE(i > 1 &&
                         std::fabs(a[0] * b[1] - a[1] * b[0]) <= 1e-6 * a.length() * b.length() &&
                         a.dot(b) >= 0)
                << "pieces that run on in one line are one segment";
        }
    }
    return {lengths, visible.size()};
}

SbVec4f pt(float x, float y, float z) {
    return SbVec4f(x, y, z, 1.0f);
}

TEST(HiddenLines, EachPrimitiveKeepsWhatNoPolygonHides) {
    const Primitive square = {{pt(-0.5f, -0.5f, 0.5f), pt(0.5f, -0.5f, 0.5f), pt(0.5f, 0.5f, 0.5f),
                               pt(-0.5f, 0.5f, 0.5f)},
                              true};
    // A strip through the square, nearer below y = 0 and farther above it.
    const Primitive strip = {{pt(-0.2f, -0.8f, 0.1f), pt(0.2f, -0.8f, 0.1f), pt(0.2f, 0.8f, 0.9f),
                              pt(-0.2f, 0.8f, 0.9f)},
                             true};
    const Primitive near = {{pt(0.4f, -0.5f, 0.06f), pt(0.5f, -0.5f, 0.5f), pt(0.5f, 0.5f, 0.5f)},
                            true};
    const std::vector<SbVec4f> beside = {pt(0.5f, 0.5f, 0.5f), pt(0.5f, -0.5f, 0.5f),
                                         pt(0.53f, 0, 0.94f)};
    // The two faces as parts of one smooth surface that comes to a tip at the lower end of
    // their edge, then with a crease between them.
    const SbVec3f up(0, 0, -1), tilted(0.0499f, 0, -0.9988f), other(0.4472f, 0, -0.8944f);
    // A face whose edge P-Q its neighbours across split at R, and cover from end to end or in
    // part: only what they leave of it is drawn. Turned, so that P-Q runs slanted on the page.
    const auto turned = [](float x, float y) {
        return pt(0.8f * x - 0.6f * y, 0.6f * x + 0.8f * y, 0.5f);
    };
    const SbVec4f p = turned(-0.5f, 0), q = turned(0.5f, 0), r = turned(0, 0), u = turned(0, -0.5f);
    const std::vector<Primitive> split = {
        {{p, q, turned(0, 0.5f)}, true}, {{p, u, r}, true}, {{r, u, q}, true}};
    std::vector<Primitive> splitInPart = split, splitTwice = split;
    splitInPart[2].points[2] = turned(0.3f, 0);
    for (Primitive copy : split) {  // smaller, beside the first, on a line of its own
        for (SbVec4f& a : copy.points) a.setValue(0.4f * a[0] - 0.45f, 0.4f * a[1] + 0.6f, a[2], 1);
        splitTwice.push_back(copy);
    }
    const Primitive smooth[] = {{near.points, true, -1, {other, tilted, up}},
                                {beside, true, -1, {up, other, other}},
                                {beside, true, -1, {other, other, other}}};
    const struct {
        const char* name;
        std::vector<Primitive> primitives;
        std::map<int, double> lengths;  // by primitive
        size_t pieces;
        unsigned short hiddenPattern = 0;
        float featureAngle = -1.0f;
    } cases[] = {
        {"a polygon alone", {square}, {{0, 4.0}}, 1},
        {"a polygon repeated", {square, {square.points, true, 0}}, {{0, 4.0}}, 1},
        {"a polygon and its copy in a colour of its own", {square, square}, {{0, 4}, {1, 4}}, 2},
        {"a line behind it",
         {square, {{pt(-0.3f, 0, 0.8f), pt(0.3f, 0, 0.8f)}, false}},
         {{0, 4}},
         1},
        {"a line across behind it",
         {square, {{pt(-0.9f, 0, 0.8f), pt(0.9f, 0, 0.8f)}, false}},
         {{0, 4.0}, {1, 0.8}},
         3},
        // A line hides nothing: the square's edges it crosses stay whole.
        {"a line across in front of it",
         {square, {{pt(-0.9f, 0, 0.1f), pt(0.9f, 0, 0.1f)}, false}},
         {{0, 4.0}, {1, 1.8}},
         2},
        // Clipping cut the square at the view's right border: that edge is not the shape's.
        {"a polygon at the border",
         {{{pt(0.5f, -0.5f, 0.5f), pt(1, -0.5f, 0.5f), pt(1, 0.5f, 0.5f), pt(0.5f, 0.5f, 0.5f)},
           true}},
         {{0, 2.0}},
         1},
        // The square's top edge comes first with a sliver, which hides nothing: the square
        // still hides what passes behind it there.
        {"a line up behind it, a sliver on its edge",
         {{{pt(-0.5f, 0.5f, 0.5f), pt(0.5f, 0.5f, 0.5f), pt(0, 0.5f, 0.5f)}, true},
          square,
          {{pt(0, -0.9f, 0.8f), pt(0, 0.9f, 0.8f)}, false}},
         {{0, 2.0}, {1, 4.0}, {2, 0.8}},
         4},
        {"a line of one point", {{{pt(0, 0, 0.1f)}, false}, {{pt(0, 0, 0.1f)}, true}}, {}, 0},
        {"two polygons through each other", {square, strip}, {{0, 4.0 - 0.4}, {1, 4.0 - 1.0}}, 3},
        // As a drafter draws them: where they meet too, in the first one's colour.
        {"two polygons through each other, and where they meet",
         {square, strip},
         {{0, 4.0}, {1, 4.0 - 1.0}},
         4,
         0,
         1},
        {"a line across behind it, its hidden part dashed",
         {square, {{pt(-0.9f, 0, 0.8f), pt(0.9f, 0, 0.8f)}, false}},
         {{0, 4.0}, {1, 0.8}, {1 + kHidden, 1.0}},
         4,
         0xF0F0},
        // Two faces 17 degrees apart with feature edges at 30: their edge stays where the
        // second folds back under the first on the page, as at the outline of a cylinder.
        {"a fold",
         {near, {{pt(0.5f, 0.5f, 0.5f), pt(0.5f, -0.5f, 0.5f), pt(0.47f, 0, 0.94f)}, true}},
         {{0, 2.104988}},
         1,
         0,
         30.0f},
        {"no fold", {near, {beside, true}}, {{0, 1.104988}, {1, 1.001798}}, 2, 0, 30.0f},
        // At one degree the faces' planes differ too much; the normals can still say that
        // the two are parts of one smooth surface.
        {"a smooth surface", {smooth[0], smooth[1]}, {{0, 1.104988}, {1, 1.001798}}, 2, 0, 1},
        {"a crease", {smooth[0], smooth[2]}, {{0, 2.104988}, {1, 1.001798}}, 2, 0, 1},
        {"no area", {{{beside[1], beside[1], beside[0]}, true}, near}, {{1, 2.104988}}, 1, 0, 1},
        {"an edge split across", split, {{0, 1.414214}, {1, 0.707107}, {2, 0.707107}}, 3, 0, 1},
        {"two edges split across",
         splitTwice,
         {{0, 1.414214}, {1, 0.707107}, {2, 0.707107}, {3, 0.565685}, {4, 0.282843}, {5, 0.282843}},
         6,
         0,
         1},
        {"an edge split across in part",
         splitInPart,
         {{0, 1.614214}, {1, 0.707107}, {2, 0.583095}},
         3,
         0,
         1},
        // At an angle of 0 every edge stays, the diagonal of a flat face too, drawn once.
        {"a square in two halves, every edge",
         {{{square.points[0], square.points[1], square.points[2]}, true},
          {{square.points[0], square.points[2], square.points[3]}, true}},
         {{0, 2 + std::sqrt(2.0)}, {1, 2.0}},
         2,
         0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [lengths, pieces] = kept(c.primitives, c.hiddenPattern, c.featureAngle);
        EXPECT_EQ(lengths.size(), c.lengths.size());
        for (const auto& [k, length] : c.lengths) EXPECT_NEAR(lengths.at(k), length, 1e-5);
        EXPECT_EQ(pieces, c.pieces);
    }
}

// Repeats are found however many primitives came between, and so are copies a hair away
// (in every coordinate), wherever they fall among the cells they are filed in; a copy
// further away draws its own lines.
TEST(HiddenLines, APrimitiveRepeatedLaterIsDrawnOnce) {
    const struct {
        float shift;
        size_t timesDrawn;
    } cases[] = {{0.0f, 1}, {3e-5f, 1}, {-7e-5f, 1}, {0.03f, 2}};
    for (const auto& c : cases) {
        std::vector<Primitive> squares;
        for (int k = 0; k < 40; ++k) {
            const float x = -0.95f + 0.04513f * float(k), depth = 0.2f + 0.01f * float(k);
            squares.push_back({{pt(x, 0, depth), pt(x + 0.02f, 0, depth),
                                pt(x + 0.02f, 0.02f, depth), pt(x, 0.02f, depth)},
                               true});
        }
        for (int k = 0; k < 40; ++k) {
            std::vector<SbVec4f> copy = squares[size_t(k)].points;
            for (SbVec4f& p : copy) p += SbVec4f(c.shift, c.shift, c.shift, 0.0f);
            squares.push_back({copy, true, k});
        }
        const auto [lengths, pieces] = kept(squares, 0, -1.0f);
        EXPECT_EQ(pieces, 40 * c.timesDrawn) << c.shift;
        for (const auto& [k, length] : lengths)
            EXPECT_NEAR(length, 0.08 * double(c.timesDrawn), 1e-5) << k << " " << c.shift;
    }
}

// Large triangles about one centre meet two by two: 30 draw where they meet; 60 would meet
// along 1,770 lines, each cut at every edge in front of it, and leave them out, saying so.
TEST(HiddenLines, ManyFacesThroughOneAnotherLeaveOutWhereTheyMeet) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> corner(-0.45f, 0.45f);
    const auto total = [](const std::map<int, double>& lengths) {
        double sum = 0;
        for (const auto& [k, length] : lengths) sum += length;
        return sum;
    };
    for (const auto& [count, tooMany] : {std::pair{30, false}, {60, true}}) {
        std::vector<Primitive> triangles;
        for (int k = 0; k < count; ++k) {
            float u[6];
            for (float& v : u) v = corner(random);
            triangles.push_back({{pt(u[0], u[1], 0.5f + u[2]), pt(u[3], u[4], 0.5f + u[5]),
                                  pt(-u[0] - u[3], -u[1] - u[4], 0.5f - u[2] - u[5])},
                                 true});
        }
        DebugErrorRecorder recorder;
        const double drafted = total(kept(triangles, 0, 1.0f).first);
        EXPECT_EQ(recorder.contains("SoHiddenLines"), tooMany) << count;
        EXPECT_EQ(drafted > total(kept(triangles, 0, -1.0f).first) + 0.1, !tooMany) << count;
    }
}

// Segments through the line that a fan of sheets shares pierce every sheet there, at cut
// points a rounding apart: each segment is cut there once, not once a sheet.
TEST(HiddenLines, CutsAHairApartCutOnce) {
    constexpr int count = 60;
    std::vector<Primitive> fan;
    for (int k = 0; k < count; ++k) {
        const float turn = 0.05f + 3.0f * float(k) / count;
        const float x = 0.9f * std::cos(turn), z = 0.4f * std::sin(turn);
        fan.push_back({{pt(-x, -0.9f, 0.5f - z), pt(x, -0.9f, 0.5f + z), pt(x, 0.9f, 0.5f + z),
                        pt(-x, 0.9f, 0.5f - z)},
                       true});
        const float a = 0.05f * std::cos(1.3f * turn), b = 0.05f * std::sin(1.3f * turn);
        fan.push_back({{pt(-a, -b, 0.5f - 0.3f * z), pt(a, b, 0.5f + 0.3f * z)}, false});
    }
    kept(fan, 0, -1.0f);
    EXPECT_LT(SoHiddenLines::getLastTimings().pieces, 20 * count);
}

// A triangle seen nearly edge-on (its page corners 1e-8 off one line) still hides, and its
// edge tests pass all along that line: outside the triangle's stretch, nothing is inside.
TEST(HiddenLines, AnOutlineSeenEdgeOnHoldsOnlyItsOwnStretchOfLine) {
    const SoLinePoint corners[] = {{0.1, 0.1, 0.0}, {0.2, 0.2 + 1e-8, 0.9}, {0.3, 0.3, 1.0}};
    const SoLineObject sliver(corners, 3, true, {});
    ASSERT_TRUE(sliver.hides());
    EXPECT_TRUE(sliver.outlineContains(0.2, 0.2));
    for (double beyond : {-0.3, 0.05, 0.35, 0.9})
        EXPECT_FALSE(sliver.outlineContains(beyond, beyond));
}

}  // namespace

// Behind a disc made as a fan of long thin triangles from one rim point, a line is cut where
// it passes under the rim, not under every triangle. One that comes nearer and nearer to the
// disc behind it is seen where it comes near enough: the pieces drawn agree with the points
// seen along it, as they do where a line comes through, or passes under the rim exactly at
// a corner, where no crossing cuts it.
TEST(HiddenLines, ALineBehindAFanIsCutAtItsRimAndWhereItComesNear) {
    constexpr int rim = 400;
    auto rimPoint = [&](int k) {
        const float turn = 6.2831853f * float(k) / rim;
        return pt(0.8f * std::cos(turn), 0.8f * std::sin(turn), 0.5f);
    };
    const SbColor colors[3] = {SbColor(0, 0, 0), SbColor(0, 0, 0), SbColor(0, 0, 0)};
    auto addFan = [&](SoHiddenLines& lines) {
        for (int k = 1; k + 1 < rim; ++k) {
            const SbVec4f triangle[] = {rimPoint(0), rimPoint(k), rimPoint(k + 1)};
            lines.addPolygon(triangle, 3, colors, 1, 0xFFFF, 1);
        }
    };
    SoHiddenLines fan;
    addFan(fan);
    fan.computeVisibleLines();
    const long fanPieces = SoHiddenLines::getLastTimings().pieces;
    const SbColor red[2] = {SbColor(1, 0, 0), SbColor(1, 0, 0)};
    const SbVec4f corner = rimPoint(50), far = pt(-0.9f, -0.6f, 0.8f);
    const SbVec4f outside =
        pt(corner[0] * 1.1f + far[0] * -0.1f, corner[1] * 1.1f + far[1] * -0.1f, 0.8f);
    const std::vector<SbVec4f> courses[] = {{pt(-0.9f, -0.2f, 0.8f), pt(0.9f, -0.2f, 0.8f)},
                                            {pt(-0.9f, 0.1f, 0.52f), pt(0.9f, 0.1f, 0.5f)},
                                            {pt(-0.9f, 0.3f, 0.9f), pt(0.9f, 0.3f, 0.1f)},
                                            {outside, far}};
    for (const std::vector<SbVec4f>& course : courses) {
        SCOPED_TRACE(course[0][2]);
        SoHiddenLines lines;
        addFan(lines);
        lines.addPolyLine(course.data(), 2, red, 1, 0xFFFF, 1);
        double drawn = 0.0;
        for (const SoVisibleLine& line : lines.computeVisibleLines())
            if (line.attributes.color[0] == 1.0f)
                for (size_t i = 1; i < line.points.size(); ++i)
                    drawn += (line.points[i] - line.points[i - 1]).length();
        const long pieces = SoHiddenLines::getLastTimings().pieces - fanPieces;
        EXPECT_TRUE(&course != &courses[0] || pieces < 20) << pieces;
        std::vector<SbVec4f> along;
        for (int k = 0; k <= 1800; ++k)
            along.push_back(course[0] + (course[1] - course[0]) * (float(k) / 1800));
        const std::vector<char> seen = lines.findSeenPoints(along);
        const double length = std::hypot(course[1][0] - course[0][0], course[1][1] - course[0][1]);
        EXPECT_NEAR(drawn, length * std::count(seen.begin(), seen.end(), 1) / 1801.0, 0.01);
    }
}
