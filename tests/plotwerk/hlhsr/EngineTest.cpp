// The engine between clipping and the backend: how it stores what it is given in each
// mode and in which order it prints a viewport's records. What every kind of record hands
// the backend is followed through the painter by the capture tests.

#include <array>

#include "../../../libPlotWerk/src/hlhsr/SoFlatFaceJoiner.h"
#include "HlhsrFixture.h"
#include "support/DebugErrorRecorder.h"

using namespace hlhsr;

namespace {

const SbVec4f LINE[4] = {pt(-0.5f, 0, 0.5f), pt(0, 0.5f, 0.4f), pt(0.5f, 0, 0.3f),
                         pt(0.5f, -0.5f, 0.2f)};
const SbColor LINE_COLORS[4] = {tag(1), tag(2), tag(3), tag(4)};

/// A filled square of side 1 centred on (x, 0), or one of side 0.8 beside it.
void addSquare(SoHLHSRVectorize& engine, float z, int k, float x = 0.0f,
               const unsigned char* pattern = nullptr) {
    const float h = x == 0.0f ? 0.5f : 0.4f;
    const SbVec4f points[4] = {pt(x - h, -h, z), pt(x - h, h, z), pt(x + h, h, z),
                               pt(x + h, -h, z)};
    const SbColor colors[4] = {tag(k), tag(k), tag(k), tag(k)};
    engine.addPolygon(points, 4, colors, 0, 1.0f, 2.0f, 0xFFFF, 1, 0, SbString(), SbString(),
                      pattern, 0.0f, 0.0f);
}

}  // namespace

using Engine = PrintTest;

TEST_F(Engine, OrderingModesStoreEverySegmentAndMarkAlone) {
    // Mode 0 only sorts: lines and marks stay whole.
    // The raster mode also stores an outline as its edges (the closing one too) and a
    // polygon of points as its corners: 4 + 4 records, where the others store 2.
    const struct { int mode, records; } cases[] = {{0, 4}, {1, 9}, {2, 9}, {3, 15}};
    auto action = makeAction(100.0f);
    for (const auto& c : cases) {
        SoHLHSRVectorize engine(action.get(), c.mode);
        engine.beginViewport();
        engine.addPolyLine(LINE, 4, LINE_COLORS, 1, 2.0f, 0xF0F0, 2);
        engine.addPolyMark(LINE, 4, LINE_COLORS, 1, 3.0f, nullptr);
        for (int style : {1, 2})
            engine.addPolygon(LINE, 4, LINE_COLORS, 1, 1.0f, 2.0f, 0xFFFF, 1, style, SbString(),
                              SbString(), nullptr, 0.0f, 0.0f);
        SoGraphicPrimitiveList& list = *engine.getPrimitives();
        ASSERT_EQ(list.getLength(), c.records) << "mode " << c.mode;
        if (c.mode == 0) continue;
        for (int i = 0; i < 3; ++i) {
            auto* segment = static_cast<SoPolyLine*>(list.getPrimitive(i));
            ASSERT_EQ(segment->getNumPoints(), 2);
            EXPECT_EQ(*segment->getPoint(1), LINE[i + 1]);
            EXPECT_EQ(*segment->getColor(1), LINE_COLORS[i + 1]);
            EXPECT_EQ(segment->id, i);
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(*list.getPrimitive(3 + i)->getPoint(0), LINE[i]);
            EXPECT_EQ(*list.getPrimitive(3 + i)->getColor(0), LINE_COLORS[i]);
        }
    }
}

// An offset moves a record's depths and leaves its box; text stands at its anchor.
TEST_F(Engine, EachKindTakesItsOwnDepthOffset) {
    auto action = makeAction(100.0f);
    SoHLHSRVectorize engine(action.get(), 1);
    engine.setPolygonOffset(0.125f);
    engine.setLineOffset(-0.25f);
    engine.setMarkerOffset(0.5f);
    engine.beginViewport();
    for (int style : {0, 1}) {
        engine.addPolygon(LINE, 3, LINE_COLORS, 0, 1.0f, 2.0f, 0xFFFF, 1, style, SbString(),
                          SbString(), nullptr, 0.0f, 0.0f);
    }
    engine.addPolyLine(LINE, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    engine.addPolyMark(LINE, 1, LINE_COLORS, 0, 1.0f, nullptr);
    const SbString text("x");
    engine.addText(LINE[3], tag(5), SbString("Font"), 12.0f, 1, &text, 1.0f, 0, 0.0f);
    // Filled, outlined (a line), segment, mark, text.
    const float depths[5][2] = {
        {0.425f, 0.625f}, {0.05f, 0.25f}, {0.15f, 0.25f}, {1, 1}, {0.2f, 0.2f}};
    SoGraphicPrimitiveList& list = *engine.getPrimitives();
    ASSERT_EQ(list.getLength(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(list.getPrimitive(i)->getZMin(), depths[i][0], 1e-6f) << i;
        EXPECT_NEAR(list.getPrimitive(i)->getZMax(), depths[i][1], 1e-6f) << i;
    }
    EXPECT_EQ(*list.getPrimitive(0)->getBBox(), SbBox2f(-0.5f, 0, 0.5f, 0.5f));
    EXPECT_EQ(*list.getPrimitive(4)->getBBox(), SbBox2f(0.5f, -0.5f, 0.5f, -0.5f));
}

TEST_F(Engine, BadInputIsReportedAndDropped) {
    DebugErrorRecorder errors;
    auto action = makeAction(100.0f);
    SoHLHSRVectorize engine(action.get(), 1);
    engine.addPolyLine(LINE, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    EXPECT_TRUE(errors.contains("SoHLHSRVectorize::addPolyLine", "No viewport"));
    ASSERT_NE(engine.getPrimitives(), nullptr);
    EXPECT_EQ(engine.getPrimitives()->getLength(), 1);
    engine.addPolyLine(nullptr, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    EXPECT_TRUE(errors.contains("SoHLHSRVectorize::addPolyLine", "Null"));
    engine.addPolygon(LINE, -3, LINE_COLORS, 0, 1, 1, 0xFFFF, 1, 0, SbString(), SbString(), nullptr,
                      0, 0);
    EXPECT_EQ(engine.getPrimitives()->getLength(), 1);
}

// Each viewport prints farthest first, once it is flushed or the next one begins, and
// numbers its records afresh. Of coincident copies only the last prints.
TEST_F(Engine, EachViewportPrintsFarthestFirst) {
    DebugErrorRecorder errors;
    for (int mode : {0, 1}) {
        auto action = makeAction(100.0f);
        SoHLHSRVectorize engine(action.get(), mode);
        engine.flush();
        EXPECT_TRUE(action->getCalls().empty()) << "nothing before a viewport";
        engine.beginViewport();
        addSquare(engine, 0.2f, 1);
        addSquare(engine, 0.8f, 2);
        addSquare(engine, 0.5f, 3);
        addSquare(engine, 0.5f, 6);
        EXPECT_EQ(SoHLHSRVectorize::getSequence(), 4);
        engine.beginViewport();
        EXPECT_EQ(SoHLHSRVectorize::getSequence(), 0);
        // Farther than everything of the first viewport, yet printed after it.
        addSquare(engine, 0.9f, 4, -0.5f);
        addSquare(engine, 0.3f, 5, 0.5f);
        EXPECT_EQ(engine.getPrimitives()->getPrimitive(1)->id, 1);
        engine.flush();
        EXPECT_EQ(engine.getPrimitives(), nullptr);
        std::vector<int> printed;
        for (const RecordedCall& call : drawingCalls(*action))
            printed.push_back(tagOf(call.colors.at(0)));
        EXPECT_EQ(printed, (std::vector<int>{2, 6, 1, 4, 5})) << "mode " << mode;
    }
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

// What lies behind a patterned fill shows through its gaps: every mode prints it beneath,
// and what lies in front over it. A fill through another pattern behind it shows too.
TEST_F(Engine, APatternedFillHidesNothing) {
    static const unsigned char hatch[128] = {0x55}, otherHatch[128] = {0x0F}, dots[128] = {1};
    // The raster mode prints marks last, whole. Behind the solid square 1, the fill 7 of a
    // pattern of its own shows nowhere: only the mode that removes hidden surfaces drops it.
    const std::vector<int> painted = {7, 1, 5, 6, 3, 2, 4}, rastered = {1, 6, 3, 2, 4, 5};
    const std::vector<int> removed(painted.begin() + 1, painted.end());
    for (int mode : {1, 2, 3}) {
        auto action = makeAction(100.0f);
        SoHLHSRVectorize engine(action.get(), mode);
        engine.beginViewport();
        addSquare(engine, 0.9f, 7, 0.05f, dots);
        addSquare(engine, 0.8f, 1, 0.05f);
        addSquare(engine, 0.2f, 2, 0.0f, hatch);
        addSquare(engine, 0.6f, 6, 0.05f, otherHatch);
        // A line behind the fill shows through it, one in front cuts across it.
        const SbVec4f behind[2] = {pt(-0.3f, 0.1f, 0.5f), pt(0.3f, 0.1f, 0.5f)};
        const SbVec4f before[2] = {pt(-0.7f, -0.2f, 0.1f), pt(0.7f, -0.2f, 0.1f)};
        const SbColor colors[2][2] = {{tag(3), tag(3)}, {tag(4), tag(4)}};
        engine.addPolyLine(behind, 2, colors[0], 0, 1.0f, 0xFFFF, 1);
        engine.addPolyLine(before, 2, colors[1], 0, 1.0f, 0xFFFF, 1);
        const SbVec4f mark = pt(0.0f, 0.3f, 0.7f);
        const SbColor markColor = tag(5);
        engine.addPolyMark(&mark, 1, &markColor, 0, 3.0f, nullptr);
        engine.flush();
        std::vector<int> printed;
        for (const RecordedCall& call : drawingCalls(*action))
            if (printed.empty() || printed.back() != tagOf(call.colors.at(0)))
                printed.push_back(tagOf(call.colors.at(0)));
        EXPECT_EQ(printed, mode == 3 ? rastered : mode == 2 ? removed : painted) << "mode " << mode;
    }
}

// A drafter's drawing of lines leaves out the marks that a face hides, as it leaves out
// hidden lines: those on it, in front of it or beside it keep their colours. The library's
// own drawing keeps them all.
TEST_F(Engine, ADraftersLineDrawingLeavesOutMarksBehindFaces) {
    for (int drafter : {0, 1}) {
        auto action = makeAction(100.0f);
        action->setHiddenLineFeatureEdges(drafter);
        SoHLHSRVectorize engine(action.get(), 4);
        engine.beginViewport();
        addSquare(engine, 0.5f, 9);
        const SbVec4f marks[4] = {pt(0, 0, 0.8f), pt(0, 0.1f, 0.5f), pt(0.1f, 0, 0.1f),
                                  pt(0.9f, 0, 0.8f)};
        engine.addPolyMark(marks, 4, LINE_COLORS, 1, 3.0f, nullptr);
        engine.flush();
        std::vector<int> printed;
        for (const RecordedCall& call : drawingCalls(*action))
            if (call.kind == RecordedCall::POLYMARK_DOTS)
                for (const SbColor& color : call.colors) printed.push_back(tagOf(color));
        EXPECT_EQ(printed, (drafter ? std::vector<int>{2, 3, 4} : std::vector<int>{1, 2, 3, 4}));
    }
}

namespace {
double pageArea(const SbVec4f* p, int n) {
    double twice = 0.0;
    for (int i = 0; i < n; ++i) twice += p[i][0] * p[(i + 1) % n][1] - p[(i + 1) % n][0] * p[i][1];
    return std::fabs(twice) / 2;
}
}  // namespace

// The painter's and the raster's modes join a flat face's triangles back into convex polygons,
// covering what they covered: a fan of slivers from one corner of a disc, two such fans whose
// triangles come in turn, the halves of a square. Triangles apart in colour or plane, or whose
// union is not convex, stay apart; a plain depth sort joins none.
TEST_F(Engine, FlatFacesJoinIntoConvexPolygons) {
    using Triangles = std::vector<std::array<SbVec4f, 3>>;
    auto onPlane = [](float x, float y, float lift = 0.0f) {
        return pt(x, y, 0.5f + 0.1f * x + 0.05f * y + lift);
    };
    constexpr size_t slivers = 98;
    auto fan = [&](float cx) {
        Triangles triangles;
        auto rim = [&](size_t i) {
            const float a = 6.2832f * float(i) / float(slivers + 2);
            return onPlane(cx + 0.2f * std::cos(a), 0.2f * std::sin(a));
        };
        for (size_t i = 1; i <= slivers; ++i) triangles.push_back({rim(0), rim(i), rim(i + 1)});
        return triangles;
    };
    Triangles both;
    for (size_t i = 0; i < slivers; ++i)
        both.push_back(fan(-0.5f)[i]), both.push_back(fan(0.5f)[i]);
    const SbVec4f a = onPlane(0, 0), b = onPlane(0.2f, 0), c = onPlane(0, 0.2f);
    const Triangles square = {{a, b, onPlane(0.2f, 0.2f)}, {a, onPlane(0.2f, 0.2f), c}};
    const Triangles bent = {{a, b, c}, {c, b, onPlane(0.2f, 0.2f, 0.01f)}};
    const Triangles notConvex = {{a, b, c}, {c, b, onPlane(0.05f, 0.05f)}};
    const int added = SoFlatFaceJoiner::MOST_POINTS - 2;  // triangles a polygon takes
    const int perFan = int(slivers + added - 1) / added;
    const struct {
        const char* name;
        Triangles triangles;
        int mode, records;
        bool twoColours = false;
    } cases[] = {{"a fan", fan(0), 1, perFan},
                 {"two fans in turn", both, 2, 2 * perFan},
                 {"a fan, sorted", fan(0), 0, int(slivers)},
                 {"a square, by raster", square, 3, 1},
                 {"two colours", square, 1, 2, true},
                 {"bent", bent, 1, 2},
                 {"not convex", notConvex, 1, 2}};
    auto action = makeAction(100.0f);
    for (const auto& c : cases) {
        SoHLHSRVectorize engine(action.get(), c.mode);
        engine.beginViewport();
        double area = 0.0;
        for (size_t k = 0; k < c.triangles.size(); ++k) {
            const SbColor color = tag(c.twoColours && k % 2 ? 2 : 1);
            const SbColor colors[3] = {color, color, color};
            engine.addPolygon(c.triangles[k].data(), 3, colors, 0, 1.0f, 2.0f, 0xFFFF, 1, 0,
                              SbString(), SbString(), nullptr, 0.0f, 0.0f);
            area += pageArea(c.triangles[k].data(), 3);
        }
        SoGraphicPrimitiveList& list = *engine.getPrimitives();
        EXPECT_EQ(list.getLength(), c.records) << c.name;
        for (int i = 0; i < list.getLength(); ++i)
            area -=
                pageArea(list.getPrimitive(i)->getPoint(0), list.getPrimitive(i)->getNumPoints());
        EXPECT_NEAR(area, 0.0, 1e-6) << c.name;
    }
}
