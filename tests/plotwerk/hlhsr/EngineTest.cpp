// The engine between clipping and the backend: how it stores what it is given in each
// mode, in which order it prints a viewport's records, and what every kind of record hands
// to the backend.

#include <Tessara/nodes/SoMarkerSet.h>

#include "HlhsrFixture.h"
#include "support/DebugErrorRecorder.h"

using namespace hlhsr;

namespace {

const SbVec4f LINE[4] = {pt(-0.5f, 0, 0.5f), pt(0, 0.5f, 0.4f), pt(0.5f, 0, 0.3f),
                         pt(0.5f, -0.5f, 0.2f)};
const SbColor LINE_COLORS[4] = {tag(1), tag(2), tag(3), tag(4)};

/// A filled (style 0) square of side 1 centred on (x, 0), or one of side 0.8 beside it.
void addSquare(SoHLHSRVectorize& engine, float z, int k, int style = 0, float x = 0.0f) {
    const float h = x == 0.0f ? 0.5f : 0.4f;
    const SbVec4f points[4] = {pt(x - h, -h, z), pt(x - h, h, z), pt(x + h, h, z),
                               pt(x + h, -h, z)};
    const SbColor colors[4] = {tag(k), tag(k), tag(k), tag(k)};
    engine.addPolygon(points, 4, colors, 0, 1.0f, 2.0f, 0xFFFF, 1, style, SbString(), SbString(),
                      nullptr, 0.0f, 0.0f);
}

}  // namespace

/// The library set up and a recording backend whose 100 x 100 mm page maps a normalised point
/// (x, y) to ((x + 1) * 50, (y + 1) * 50) millimetres.
class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        action = std::make_unique<RecordingAction>();
        action->setDrawingDimensions(100.0f, 100.0f);
    }
    void TearDown() override {
        action.reset();
        SoPlotWerk::finish();
    }
    std::unique_ptr<SoHLHSRVectorize> makeEngine(int mode) {
        return std::make_unique<SoHLHSRVectorize>(action.get(), mode);
    }

    std::unique_ptr<RecordingAction> action;
};

TEST_F(Engine, OrderingModesStoreEverySegmentAndMarkAlone) {
    // Mode 0 only sorts: lines and marks stay whole.
    const struct { int mode, records; } cases[] = {{0, 2}, {1, 7}, {2, 7}};
    for (const auto& c : cases) {
        auto engine = makeEngine(c.mode);
        engine->beginViewport();
        engine->addPolyLine(LINE, 4, LINE_COLORS, 1, 2.0f, 0xF0F0, 2);
        engine->addPolyMark(LINE, 4, LINE_COLORS, 1, 3.0f, nullptr);
        SoGraphicPrimitiveList& list = *engine->getPrimitives();
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
    auto engine = makeEngine(1);
    engine->setPolygonOffset(0.125f);
    engine->setLineOffset(-0.25f);
    engine->setMarkerOffset(0.5f);
    engine->beginViewport();
    for (int style : {0, 1}) {
        engine->addPolygon(LINE, 3, LINE_COLORS, 0, 1.0f, 2.0f, 0xFFFF, 1, style, SbString(),
                           SbString(), nullptr, 0.0f, 0.0f);
    }
    engine->addPolyLine(LINE, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    engine->addPolyMark(LINE, 1, LINE_COLORS, 0, 1.0f, nullptr);
    const SbString text("x");
    engine->addText(LINE[3], tag(5), SbString("Font"), 12.0f, 1, &text, 1.0f, 0, 0.0f);
    // Filled, outlined (a line), segment, mark, text.
    const float depths[5][2] = {
        {0.425f, 0.625f}, {0.05f, 0.25f}, {0.15f, 0.25f}, {1, 1}, {0.2f, 0.2f}};
    SoGraphicPrimitiveList& list = *engine->getPrimitives();
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
    auto engine = makeEngine(1);
    engine->addPolyLine(LINE, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    EXPECT_TRUE(errors.contains("SoHLHSRVectorize::addPolyLine", "No viewport"));
    ASSERT_NE(engine->getPrimitives(), nullptr);
    EXPECT_EQ(engine->getPrimitives()->getLength(), 1);
    engine->addPolyLine(nullptr, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    EXPECT_TRUE(errors.contains("SoHLHSRVectorize::addPolyLine", "Null"));
    engine->addPolygon(LINE, -3, LINE_COLORS, 0, 1, 1, 0xFFFF, 1, 0, SbString(), SbString(),
                       nullptr, 0, 0);
    EXPECT_EQ(engine->getPrimitives()->getLength(), 1);
}

// Each viewport prints farthest first, once it is flushed or the next one begins, and
// numbers its records afresh.
TEST_F(Engine, EachViewportPrintsFarthestFirst) {
    DebugErrorRecorder errors;
    for (int mode : {0, 1}) {
        action->clear();
        auto engine = makeEngine(mode);
        engine->flush();
        EXPECT_TRUE(action->getCalls().empty()) << "nothing before a viewport";
        engine->beginViewport();
        addSquare(*engine, 0.2f, 1);
        addSquare(*engine, 0.8f, 2);
        addSquare(*engine, 0.5f, 3);
        EXPECT_EQ(SoHLHSRVectorize::getSequence(), 3);
        engine->beginViewport();
        EXPECT_EQ(SoHLHSRVectorize::getSequence(), 0);
        // Farther than everything of the first viewport, yet printed after it.
        addSquare(*engine, 0.9f, 4, 0, -0.5f);
        addSquare(*engine, 0.3f, 5, 0, 0.5f);
        EXPECT_EQ(engine->getPrimitives()->getPrimitive(1)->id, 1);
        engine->flush();
        EXPECT_EQ(engine->getPrimitives(), nullptr);
        std::vector<int> printed;
        for (const RecordedCall& call : drawingCalls(*action))
            printed.push_back(tagOf(call.colors.at(0)));
        EXPECT_EQ(printed, (std::vector<int>{2, 3, 1, 4, 5})) << "mode " << mode;
    }
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

// Every record projects its points onto the page and hands the backend its own values; the
// attributes the traversal gives are followed through the painter by the capture tests.
TEST_F(Engine, EveryKindOfRecordPrintsWhatItWasGiven) {
    auto engine = makeEngine(1);
    engine->beginViewport();
    const SbVec4f triangle[3] = {pt(-1, -1, 0.5f), pt(-1, 1, 0.5f), pt(1, -1, 0.5f)};
    for (int style : {0, 1, 2, 7}) {
        engine->addPolygon(triangle, 3, LINE_COLORS, 1, 0.5f, 3.0f, 0x0F0F, 2, style, SbString(),
                           SbString(), nullptr, 0.0f, 0.0f);
    }
    SoMarkerSet* markerSet = new SoMarkerSet;
    markerSet->ref();
    engine->addPolyMark(LINE, 1, LINE_COLORS, 0, 4.0f, markerSet);
    std::vector<SbString> lines = {SbString("first"), SbString("caf\xc3\xa9"),
                                   SbString("\xe2\x82\xac 5")};
    engine->addText(pt(0, 0, 0.5f), tag(5), SbString("Courier"), 10.0f, 3, lines.data(), 1.5f, 2,
                    0.25f);
    lines[0] = SbString("changed");
    const unsigned char pixels[6] = {1, 2, 3, 4, 5, 6};
    engine->addImage(pt(0.5f, -0.5f, 0.9f), pixels, SbVec2s(2, 1), SbVec2s(4, 2), 3, SoImage::RIGHT,
                     SoImage::TOP);
    engine->flush();
    markerSet->unref();
    // Style 7 prints nothing.
    ASSERT_EQ(action->count(RecordedCall::POLYGON), 1u);
    const RecordedCall filled = action->ofKind(RecordedCall::POLYGON)[0];
    EXPECT_FLOAT_EQ(filled.points.at(1)[0], 0.0f);
    EXPECT_FLOAT_EQ(filled.points.at(1)[1], 100.0f);
    EXPECT_EQ(filled.colors, (std::vector<SbColor>(LINE_COLORS, LINE_COLORS + 3)));
    const RecordedCall outline = action->ofKind(RecordedCall::POLYLINE).at(0);
    EXPECT_EQ(outline.points.size(), 3u);
    EXPECT_EQ(action->ofKind(RecordedCall::POLYMARK_DOTS).at(0).pointSize, 3.0f);
    EXPECT_EQ(action->ofKind(RecordedCall::POLYMARK_MARKERS).at(0).markerSet, markerSet);
    const std::vector<RecordedCall> text = action->ofKind(RecordedCall::TEXT2);
    ASSERT_EQ(text.size(), 3u);
    const float step = 10.0f * action->getNominalWidth(SoVectorizeAction::MILLIMETER) * 1.5f;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(text[i].origin[0], 50.0f);
        EXPECT_NEAR(text[i].origin[1], 50.0f - i * step, 1e-4f) << "one line below the other";
        EXPECT_EQ(text[i].color, tag(5));
    }
    EXPECT_EQ(text[0].string, "first") << "the lines are copies";
    EXPECT_EQ(text[1].string, "caf\xc3\xa9");
    // Printers take Latin-1 text: what it cannot hold prints as '?'.
    EXPECT_EQ(text[2].string, "? 5");
    const RecordedCall image = action->ofKind(RecordedCall::IMAGE).at(0);
    EXPECT_FLOAT_EQ(image.origin[0], 75.0f);
    EXPECT_FLOAT_EQ(image.origin[1], 25.0f);
}
