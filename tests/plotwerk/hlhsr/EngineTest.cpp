// The engine between clipping and the backend: how it stores what it is given in each
// mode, and in which order it prints a viewport's records.

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

class EngineStoring : public EngineTest {};

TEST_F(EngineStoring, OrderingModesCutPolylinesIntoSegments) {
    for (int mode : {1, 2}) {
        auto engine = makeEngine(mode);
        engine->beginViewport();
        engine->addPolyLine(LINE, 4, LINE_COLORS, 1, 2.0f, 0xF0F0, 2);
        SoGraphicPrimitiveList& list = *engine->getPrimitives();
        ASSERT_EQ(list.getLength(), 3);
        for (int i = 0; i < 3; ++i) {
            auto* segment = static_cast<SoPolyLine*>(list.getPrimitive(i));
            ASSERT_EQ(segment->getType(), SoGraphicPrimitive::POLYLINE);
            ASSERT_EQ(segment->getNumPoints(), 2);
            EXPECT_EQ(*segment->getPoint(0), LINE[i]);
            EXPECT_EQ(*segment->getPoint(1), LINE[i + 1]);
            EXPECT_EQ(*segment->getColor(0), LINE_COLORS[i]);
            EXPECT_EQ(*segment->getColor(1), LINE_COLORS[i + 1]);
            EXPECT_EQ(segment->id, i);
            EXPECT_EQ(segment->linePattern, 0xF0F0);
            EXPECT_EQ(segment->linePatternScaleFactor, 2);
            EXPECT_EQ(segment->lineWidth, 2.0f);
        }
    }
}

TEST_F(EngineStoring, DepthSortModeKeepsPolylinesAndMarksWhole) {
    auto engine = makeEngine(0);
    engine->beginViewport();
    engine->addPolyLine(LINE, 4, LINE_COLORS, 1, 2.0f, 0xF0F0, 2);
    engine->addPolyMark(LINE, 4, LINE_COLORS, 1, 3.0f, nullptr);
    SoGraphicPrimitiveList& list = *engine->getPrimitives();
    ASSERT_EQ(list.getLength(), 2);
    EXPECT_EQ(list.getPrimitive(0)->getNumPoints(), 4);
    EXPECT_EQ(list.getPrimitive(1)->getType(), SoGraphicPrimitive::POLYMARK);
    EXPECT_EQ(list.getPrimitive(1)->getNumPoints(), 4);
}

TEST_F(EngineStoring, OrderingModesStoreEachMarkAlone) {
    auto engine = makeEngine(1);
    engine->beginViewport();
    engine->addPolyMark(LINE, 4, LINE_COLORS, 1, 3.0f, nullptr);
    SoGraphicPrimitiveList& list = *engine->getPrimitives();
    ASSERT_EQ(list.getLength(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(*list.getPrimitive(i)->getPoint(0), LINE[i]);
        EXPECT_EQ(*list.getPrimitive(i)->getColor(0), LINE_COLORS[i]);
        EXPECT_EQ(static_cast<SoPolyMark*>(list.getPrimitive(i))->markerSize, 3.0f);
    }
}

TEST_F(EngineStoring, EachKindTakesItsOwnDepthOffset) {
    auto engine = makeEngine(1);
    engine->setPolygonOffset(0.125f);
    engine->setLineOffset(-0.25f);
    engine->setMarkerOffset(0.5f);
    engine->beginViewport();
    addSquare(*engine, 0.5f, 0, 0);
    addSquare(*engine, 0.5f, 1, 1);
    engine->addPolyLine(LINE, 2, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    engine->addPolyMark(LINE, 1, LINE_COLORS, 0, 1.0f, nullptr);
    SoGraphicPrimitiveList& list = *engine->getPrimitives();
    ASSERT_EQ(list.getLength(), 4);
    EXPECT_FLOAT_EQ(list.getPrimitive(0)->getZMax(), 0.625f);
    EXPECT_FLOAT_EQ(list.getPrimitive(1)->getZMax(), 0.25f);
    EXPECT_FLOAT_EQ(list.getPrimitive(2)->getZMax(), 0.25f);
    EXPECT_FLOAT_EQ(list.getPrimitive(3)->getZMax(), 1.0f);
}

TEST_F(EngineStoring, PolygonKeepsEverythingItIsGiven) {
    auto engine = makeEngine(2);
    engine->beginViewport();
    const SbVec4f points[3] = {pt(0, 0, 0), pt(0, 1, 0), pt(1, 0, 0)};
    const SbColor colors[3] = {tag(1), tag(2), tag(3)};
    const unsigned char mask[128] = {};
    engine->addPolygon(points, 3, colors, 1, 1.5f, 2.5f, 0x0FF0, 3, 2, SbString("a"), SbString("b"),
                       mask, 1.0f, 4.0f);
    auto* p = static_cast<SoPolygon*>(engine->getPrimitives()->getPrimitive(0));
    EXPECT_EQ(p->multicolor, 1);
    EXPECT_EQ(p->lineWidth, 1.5f);
    EXPECT_EQ(p->markerSize, 2.5f);
    EXPECT_EQ(p->linePattern, 0x0FF0);
    EXPECT_EQ(p->linePatternScaleFactor, 3);
    EXPECT_EQ(p->drawStyle, 2);
    EXPECT_EQ(p->string1, SbString("a"));
    EXPECT_EQ(p->string2, SbString("b"));
    EXPECT_EQ(p->pattern, mask);
    EXPECT_EQ(p->offsetFactor, 1.0f);
    EXPECT_EQ(p->offsetUnits, 4.0f);
    EXPECT_EQ(*p->getColor(2), tag(3));
}

TEST_F(EngineStoring, RecordsAreNumberedFromEachViewportStart) {
    auto engine = makeEngine(1);
    engine->beginViewport();
    engine->addPolyMark(LINE, 3, LINE_COLORS, 0, 1.0f, nullptr);
    EXPECT_EQ(SoHLHSRVectorize::getSequence(), 3);
    engine->flush();
    EXPECT_EQ(engine->getPrimitives(), nullptr);
    EXPECT_EQ(SoHLHSRVectorize::getSequence(), 0);
    engine->beginViewport();
    engine->addPolyMark(LINE, 2, LINE_COLORS, 0, 1.0f, nullptr);
    EXPECT_EQ(engine->getPrimitives()->getPrimitive(1)->id, 1);
}

TEST_F(EngineStoring, BadInputIsReportedAndDropped) {
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

class EngineFlush : public EngineTest {};

TEST_F(EngineFlush, PrintsFarthestFirst) {
    auto engine = makeEngine(0);
    engine->beginViewport();
    addSquare(*engine, 0.2f, 1);
    addSquare(*engine, 0.8f, 2);
    addSquare(*engine, 0.5f, 3);
    engine->flush();
    EXPECT_EQ(printedTags(), (std::vector<int>{2, 3, 1}));
    // Printing projects the stored points onto the page.
    const RecordedCall first = action->ofKind(RecordedCall::POLYGON).at(0);
    EXPECT_FLOAT_EQ(first.points[0][0], pageX(-0.5f));
    EXPECT_FLOAT_EQ(first.points[1][1], pageY(0.5f));
}

TEST_F(EngineFlush, NothingToFlushBeforeAViewport) {
    auto engine = makeEngine(1);
    engine->flush();
    EXPECT_TRUE(action->getCalls().empty());
}

TEST_F(EngineFlush, ViewportChangePrintsWhatCameBefore) {
    auto engine = makeEngine(1);
    engine->beginViewport();
    addSquare(*engine, 0.1f, 1);
    addSquare(*engine, 0.2f, 2);
    engine->flush();
    engine->beginViewport();
    // Farther than everything of the first viewport, yet printed after it.
    addSquare(*engine, 0.9f, 3);
    addSquare(*engine, 0.3f, 4);
    engine->flush();
    EXPECT_EQ(printedTags(), (std::vector<int>{2, 1, 3, 4}));
}

TEST_F(EngineFlush, LineOffsetLiftsLinesOffAFilledPolygon) {
    // A line on a polygon at the same depth: a negative line offset makes it nearer, so it
    // prints after the polygon; a positive one, before.
    for (float offset : {-0.01f, 0.01f}) {
        action->clear();
        auto engine = makeEngine(1);
        engine->setLineOffset(offset);
        engine->beginViewport();
        const SbVec4f line[2] = {pt(-0.25f, 0, 0.5f), pt(0.25f, 0, 0.5f)};
        const SbColor colors[2] = {tag(7), tag(7)};
        engine->addPolyLine(line, 2, colors, 0, 1.0f, 0xFFFF, 1);
        addSquare(*engine, 0.5f, 1);
        engine->flush();
        EXPECT_EQ(printedTags(), offset < 0 ? std::vector<int>({1, 7}) : std::vector<int>({7, 1}))
            << offset;
    }
}

TEST_F(EngineFlush, ModesWithoutTheirStageWarnOncePerApply) {
    for (int mode : {3, 4}) {
        DebugErrorRecorder errors;
        auto engine = makeEngine(mode);
        for (int viewport = 0; viewport < 2; ++viewport) {
            engine->beginViewport();
            // Side by side: hidden-surface removal has nothing to take away.
            addSquare(*engine, 0.2f, 1, 0, -0.5f);
            addSquare(*engine, 0.8f, 2, 0, 0.5f);
            engine->flush();
        }
        EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 1u) << errors.dump();
        EXPECT_TRUE(errors.contains("SoHLHSRVectorize::flush", "not available")) << mode;
        // Still printed, in the painter's order.
        EXPECT_EQ(printedTags(), (std::vector<int>{2, 1, 2, 1}));
        action->clear();
    }
}

TEST_F(EngineFlush, OrderingModesWarnAboutNothing) {
    DebugErrorRecorder errors;
    for (int mode : {0, 1}) {
        auto engine = makeEngine(mode);
        engine->beginViewport();
        addSquare(*engine, 0.2f, 1);
        engine->flush();
    }
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

TEST_F(EngineFlush, HiddenLineModeOrdersPolygonsAndSegmentsForNow) {
    auto engine = makeEngine(4);
    engine->beginViewport();
    engine->addPolyLine(LINE, 4, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    engine->addPolyMark(LINE, 4, LINE_COLORS, 0, 1.0f, nullptr);
    addSquare(*engine, 0.5f, 9);
    EXPECT_EQ(engine->getPrimitives()->getLength(), 5);
}

TEST_F(EngineFlush, RasterModeStoresLikeSurfaceRemovalForNow) {
    auto engine = makeEngine(3);
    engine->beginViewport();
    addSquare(*engine, 0.5f, 9, 1);
    engine->addPolyLine(LINE, 4, LINE_COLORS, 0, 1.0f, 0xFFFF, 1);
    engine->addPolyMark(LINE, 2, LINE_COLORS, 0, 1.0f, nullptr);
    SoGraphicPrimitiveList& list = *engine->getPrimitives();
    ASSERT_EQ(list.getLength(), 6);
    EXPECT_EQ(list.getPrimitive(0)->getType(), SoGraphicPrimitive::POLYGON);
    EXPECT_EQ(static_cast<SoPolygon*>(list.getPrimitive(0))->drawStyle, 1);
}

TEST_F(EngineFlush, TextAndImageAreStoredAndPrinted) {
    auto engine = makeEngine(1);
    engine->beginViewport();
    const SbString lines[2] = {SbString("a"), SbString("b")};
    const unsigned char pixels[4] = {1, 2, 3, 4};
    engine->addText(pt(0, 0, 0.2f), tag(5), SbString("F"), 3.0f, 2, lines, 1.0f, 0, 0.0f);
    engine->addImage(pt(0.5f, 0.5f, 0.9f), pixels, SbVec2s(2, 2), SbVec2s(4, 4), 1, SoImage::CENTER,
                     SoImage::HALF);
    engine->flush();
    const std::vector<RecordedCall::Kind> expected = {RecordedCall::IMAGE, RecordedCall::TEXT2,
                                                      RecordedCall::TEXT2};
    EXPECT_EQ(action->kinds(), expected);
}
