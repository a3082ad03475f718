// The stored records: what their setters keep (colours, vertex order, normal, depth offset,
// extents) and what each one hands to the backend when it prints.

#include <Tessara/nodes/SoMarkerSet.h>

#include <cmath>

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

const SbColor A(0.1f, 0.2f, 0.3f), B(0.4f, 0.5f, 0.6f), C(0.7f, 0.8f, 0.9f), D(1, 0, 1), E(0, 1, 0);

SoPolygon* polygonWithColors(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors,
                             float depthOffset = 0.0f) {
    auto* p = new SoPolygon;
    p->set(static_cast<int>(points.size()), points.data(), colors.data(), 1, 0.5f, 3.0f, 0x0F0F, 2,
           0, SbString("one"), SbString("two"), nullptr, depthOffset, 0.0f, 0.0f);
    return p;
}

void expectPoint(const SbVec4f& actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual[0], x);
    EXPECT_FLOAT_EQ(actual[1], y);
    EXPECT_FLOAT_EQ(actual[2], z);
}

}  // namespace

// ---- Polygon setter: colours, vertex order, normal ----

TEST(PolygonRecord, TriangleKeepsItsThreeColours) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 0, 0)}, {A, B, C}));
    EXPECT_EQ(*p->getColor(0), A);
    EXPECT_EQ(*p->getColor(1), B);
    EXPECT_EQ(*p->getColor(2), C);
    expectPoint(*p->getPoint(1), 0, 1, 0);
}

TEST(PolygonRecord, QuadrilateralLastVertexTakesTheFirstColour) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 1, 0), pt(1, 0, 0)}, {A, B, C, D}));
    EXPECT_EQ(*p->getColor(1), B);
    EXPECT_EQ(*p->getColor(2), C);
    EXPECT_EQ(*p->getColor(3), A);
}

TEST(PolygonRecord, ViewerFacingOrderIsKeptAndNormalPointsToTheViewer) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 1, 0), pt(1, 0, 0)}, {A, B, C, D}));
    expectPoint(*p->getPoint(1), 0, 1, 0);
    expectPoint(*p->getPoint(3), 1, 0, 0);
    EXPECT_FLOAT_EQ(p->normal[0], 0.0f);
    EXPECT_FLOAT_EQ(p->normal[1], 0.0f);
    EXPECT_FLOAT_EQ(p->normal[2], -1.0f);
}

TEST(PolygonRecord, OtherOrderIsReversedFromVertexOneWithItsColours) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(1, 0, 0), pt(1, 1, 0), pt(0, 1, 0)}, {A, B, C, D}));
    expectPoint(*p->getPoint(0), 0, 0, 0);
    expectPoint(*p->getPoint(1), 0, 1, 0);
    expectPoint(*p->getPoint(2), 1, 1, 0);
    expectPoint(*p->getPoint(3), 1, 0, 0);
    // The colour rule came first (D replaced by A), then the reversal moved the colours.
    EXPECT_EQ(*p->getColor(0), A);
    EXPECT_EQ(*p->getColor(1), A);
    EXPECT_EQ(*p->getColor(2), C);
    EXPECT_EQ(*p->getColor(3), B);
    EXPECT_FLOAT_EQ(p->normal[2], -1.0f);
}

TEST(PolygonRecord, ReversedTriangleSwapsItsTwoLastVertices) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)}, {A, B, C}));
    expectPoint(*p->getPoint(1), 0, 1, 0);
    expectPoint(*p->getPoint(2), 1, 0, 0);
    EXPECT_EQ(*p->getColor(1), C);
    EXPECT_EQ(*p->getColor(2), B);
}

TEST(PolygonRecord, ClosingDuplicateStaysLastWhenReversed) {
    std::unique_ptr<SoPolygon> p(polygonWithColors(
        {pt(0, 0, 0), pt(1, 0, 0), pt(1, 1, 0), pt(0, 1, 0), pt(0, 0, 0)}, {A, B, C, D, E}));
    expectPoint(*p->getPoint(1), 0, 1, 0);
    expectPoint(*p->getPoint(2), 1, 1, 0);
    expectPoint(*p->getPoint(3), 1, 0, 0);
    expectPoint(*p->getPoint(4), 0, 0, 0);
    EXPECT_EQ(*p->getColor(1), D);
    EXPECT_EQ(*p->getColor(3), B);
    EXPECT_EQ(*p->getColor(4), A);
}

TEST(PolygonRecord, TiltedPlaneGivesAUnitNormalTowardsTheViewer) {
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 0, 1)}, {A, B, C}));
    const float h = std::sqrt(0.5f);
    EXPECT_FLOAT_EQ(p->normal[0], h);
    EXPECT_FLOAT_EQ(p->normal[1], 0.0f);
    EXPECT_FLOAT_EQ(p->normal[2], -h);
}

TEST(PolygonRecord, TwoPointsHaveNoNormal) {
    std::unique_ptr<SoPolygon> p(polygonWithColors({pt(0, 0, 0), pt(1, 0, 1)}, {A, B}));
    EXPECT_EQ(p->normal, SbVec3f(0, 0, 0));
    expectPoint(*p->getPoint(1), 1, 0, 1);
}

// ---- Depth offset and extents ----

TEST(RecordExtents, ZeroOffsetKeepsTheDepths) {
    std::unique_ptr<SoPolygon> p(polygonWithColors(
        {pt(-0.5f, 0, 0.25f), pt(0, 0.75f, 0.5f), pt(0.5f, -0.25f, 0.125f)}, {A, B, C}));
    EXPECT_FLOAT_EQ(p->getZMax(), 0.5f);
    EXPECT_FLOAT_EQ(p->getZMin(), 0.125f);
    EXPECT_EQ(*p->getBBox(), SbBox2f(-0.5f, -0.25f, 0.5f, 0.75f));
}

TEST(RecordExtents, OffsetShiftsEveryStoredDepthAndTheRange) {
    std::unique_ptr<SoPolygon> p(polygonWithColors(
        {pt(-0.5f, 0, 0.25f), pt(0, 0.75f, 0.5f), pt(0.5f, -0.25f, 0.125f)}, {A, B, C}, 0.25f));
    EXPECT_FLOAT_EQ((*p->getPoint(0))[2], 0.5f);
    EXPECT_FLOAT_EQ((*p->getPoint(1))[2], 0.75f);
    EXPECT_FLOAT_EQ((*p->getPoint(2))[2], 0.375f);
    EXPECT_FLOAT_EQ(p->getZMax(), 0.75f);
    EXPECT_FLOAT_EQ(p->getZMin(), 0.375f);
    EXPECT_EQ(*p->getBBox(), SbBox2f(-0.5f, -0.25f, 0.5f, 0.75f));
}

TEST(RecordExtents, LinesAndMarksTakeTheirOffsetToo) {
    const SbVec4f points[2] = {pt(0, 0, 0.5f), pt(1, 1, 0.25f)};
    const SbColor colors[2] = {A, B};
    SoPolyLine line;
    line.set(2, points, colors, 1, 2.0f, 0xFF00, 3, -0.125f);
    EXPECT_FLOAT_EQ(line.getZMax(), 0.375f);
    EXPECT_FLOAT_EQ(line.getZMin(), 0.125f);
    EXPECT_EQ(*line.getColor(1), B);
    SoPolyMark marks;
    marks.set(2, points, colors, 1, 4.0f, nullptr, 0.5f);
    EXPECT_FLOAT_EQ(marks.getZMax(), 1.0f);
    EXPECT_FLOAT_EQ(marks.getZMin(), 0.75f);
    EXPECT_EQ(*marks.getBBox(), SbBox2f(0, 0, 1, 1));
}

TEST(RecordExtents, MonoPointRecordsTakeTheirDepthFromTheAnchor) {
    SoGraphicText2D text;
    const SbString lines[1] = {SbString("x")};
    text.set(SbVec4f(0.25f, -0.5f, 0.75f, 1), A, SbString("Font"), 12, 1, lines, 1, 0, 0);
    EXPECT_FLOAT_EQ(text.getZMax(), 0.75f);
    EXPECT_FLOAT_EQ(text.getZMin(), 0.75f);
    EXPECT_EQ(text.getNumPoints(), 1);
    EXPECT_EQ(text.getPoint(3), &text.point);
    EXPECT_EQ(text.getColor(0), nullptr);
    EXPECT_EQ(*text.getBBox(), SbBox2f(0.25f, -0.5f, 0.25f, -0.5f));
}

TEST(RecordTypes, EveryClassAnswersItsCode) {
    EXPECT_EQ(SoPolygon().getType(), 3);
    EXPECT_EQ(SoPolyLine().getType(), 4);
    EXPECT_EQ(SoPolyMark().getType(), 5);
    EXPECT_EQ(SoGraphicText2D().getType(), 6);
    EXPECT_EQ(SoGraphicImage().getType(), 7);
}

TEST(RecordTypes, ConstructionDefaults) {
    SoPolyLine line;
    EXPECT_EQ(line.linePattern, 0xFFFF);
    EXPECT_EQ(line.linePatternScaleFactor, 1);
    EXPECT_EQ(line.lineWidth, 0.0f);
    EXPECT_TRUE(line.getBBox()->isEmpty());
    EXPECT_EQ(line.moveCount, 0);
    SoGraphicImage image;
    EXPECT_EQ(image.size, SbVec2s(0, 0));
    EXPECT_EQ(image.size2, SbVec2s(0, 0));
    SoPolyMark marks;
    EXPECT_EQ(marks.markerSet, nullptr);
    EXPECT_EQ(marks.getPoint(0), nullptr);
}

TEST(RecordTypes, PolygonCopiesItsPrintingAttributesOnly) {
    std::unique_ptr<SoPolygon> source(
        polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 0, 0)}, {A, B, C}));
    const unsigned char mask[128] = {};
    source->pattern = mask;
    source->drawStyle = 1;
    source->offsetFactor = 2.0f;
    SoPolygon copy;
    copy.copyAttributes(*source);
    EXPECT_EQ(copy.multicolor, 1);
    EXPECT_EQ(copy.drawStyle, 1);
    EXPECT_EQ(copy.markerSize, 3.0f);
    EXPECT_EQ(copy.lineWidth, 0.5f);
    EXPECT_EQ(copy.linePattern, 0x0F0F);
    EXPECT_EQ(copy.linePatternScaleFactor, 2);
    EXPECT_EQ(copy.string1, SbString("one"));
    EXPECT_EQ(copy.string2, SbString("two"));
    EXPECT_EQ(copy.pattern, mask);
    EXPECT_EQ(copy.getNumPoints(), 0);
    EXPECT_EQ(copy.normal, SbVec3f(0, 0, 0));
    EXPECT_EQ(copy.offsetFactor, 0.0f);
}

// ---- Printing ----

class RecordPrinting : public EngineTest {};

TEST_F(RecordPrinting, FilledPolygonPrintsProjectedWithItsStringsAndPattern) {
    auto engine = makeEngine(1);
    const unsigned char mask[128] = {0xAA};
    std::unique_ptr<SoPolygon> p(
        polygonWithColors({pt(0, 0, 0.5f), pt(0, 1, 0.5f), pt(1, 0, 0.5f)}, {A, B, C}));
    p->pattern = mask;
    p->print(engine.get());
    ASSERT_EQ(action->count(RecordedCall::POLYGON), 1u);
    const RecordedCall call = action->ofKind(RecordedCall::POLYGON)[0];
    ASSERT_EQ(call.points.size(), 3u);
    EXPECT_FLOAT_EQ(call.points[1][0], pageX(0));
    EXPECT_FLOAT_EQ(call.points[1][1], pageY(1));
    EXPECT_FLOAT_EQ(call.points[1][2], 0.5f);
    EXPECT_EQ(call.colors, (std::vector<SbColor>{A, B, C}));
    EXPECT_EQ(call.patternString1, "one");
    EXPECT_EQ(call.patternString2, "two");
    ASSERT_EQ(call.pattern.size(), 128u);
    EXPECT_EQ(call.pattern[0], 0xAA);
}

TEST_F(RecordPrinting, OutlineAndPointStylesPrintAsLineAndMarks) {
    auto engine = makeEngine(1);
    for (int style : {1, 2, 7}) {
        std::unique_ptr<SoPolygon> p(
            polygonWithColors({pt(0, 0, 0), pt(0, 1, 0), pt(1, 0, 0)}, {A, B, C}));
        p->drawStyle = style;
        p->print(engine.get());
    }
    const std::vector<RecordedCall::Kind> expected = {RecordedCall::POLYLINE,
                                                      RecordedCall::POLYMARK_DOTS};
    EXPECT_EQ(action->kinds(), expected);
    const RecordedCall line = action->ofKind(RecordedCall::POLYLINE)[0];
    EXPECT_EQ(line.lineWidth, 0.5f);
    EXPECT_EQ(line.linePattern, 0x0F0F);
    EXPECT_EQ(line.linePatternScaleFactor, 2);
    EXPECT_EQ(action->ofKind(RecordedCall::POLYMARK_DOTS)[0].pointSize, 3.0f);
}

TEST_F(RecordPrinting, LineAndMarksPrintTheirOwnValues) {
    auto engine = makeEngine(1);
    const SbVec4f points[2] = {pt(-1, -1, 0), pt(1, 1, 0)};
    const SbColor colors[2] = {A, B};
    SoPolyLine line;
    line.set(2, points, colors, 1, 2.0f, 0xFF00, 3, 0.0f);
    line.print(engine.get());
    SoMarkerSet* markerSet = new SoMarkerSet;
    markerSet->ref();
    SoPolyMark markers, dots;
    markers.set(2, points, colors, 0, 4.0f, markerSet, 0.0f);
    dots.set(2, points, colors, 0, 4.0f, nullptr, 0.0f);
    markers.print(engine.get());
    dots.print(engine.get());
    const RecordedCall l = action->ofKind(RecordedCall::POLYLINE).at(0);
    EXPECT_FLOAT_EQ(l.points[0][0], 0.0f);
    EXPECT_FLOAT_EQ(l.points[1][1], 100.0f);
    EXPECT_EQ(l.colors, (std::vector<SbColor>{A, B}));
    EXPECT_EQ(l.lineWidth, 2.0f);
    EXPECT_EQ(l.linePattern, 0xFF00);
    EXPECT_EQ(l.linePatternScaleFactor, 3);
    EXPECT_EQ(action->ofKind(RecordedCall::POLYMARK_MARKERS).at(0).markerSet, markerSet);
    EXPECT_EQ(action->ofKind(RecordedCall::POLYMARK_DOTS).at(0).pointSize, 4.0f);
    markerSet->unref();
}

TEST_F(RecordPrinting, TextPrintsOneLineBelowTheOther) {
    auto engine = makeEngine(1);
    const SbString lines[3] = {SbString("first"), SbString("caf\xc3\xa9"),
                               SbString("\xe2\x82\xac 5")};
    SoGraphicText2D text;
    text.set(SbVec4f(0, 0, 0.5f, 1), B, SbString("Courier"), 10.0f, 3, lines, 1.5f, 2, 0.25f);
    text.print(engine.get());
    const std::vector<RecordedCall> calls = action->ofKind(RecordedCall::TEXT2);
    ASSERT_EQ(calls.size(), 3u);
    const float step = 10.0f * action->getNominalWidth(SoVectorizeAction::MILLIMETER) * 1.5f;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(calls[i].origin[0], 50.0f);
        EXPECT_NEAR(calls[i].origin[1], 50.0f - i * step, 1e-4f);
        EXPECT_EQ(calls[i].fontName, "Courier");
        EXPECT_EQ(calls[i].fontSize, 10.0f);
        EXPECT_EQ(calls[i].justification, 2);
        EXPECT_EQ(calls[i].angle, 0.25f);
        EXPECT_EQ(calls[i].color, B);
    }
    EXPECT_EQ(calls[0].string, "first");
    EXPECT_EQ(calls[1].string, "caf\xc3\xa9");
    // Printers take Latin-1 text: what it cannot hold prints as '?'.
    EXPECT_EQ(calls[2].string, "? 5");
}

TEST_F(RecordPrinting, TextStringsAreCopies) {
    auto engine = makeEngine(1);
    std::vector<SbString> lines = {SbString("kept")};
    SoGraphicText2D text;
    text.set(SbVec4f(0, 0, 0, 1), A, SbString("F"), 1, 1, lines.data(), 1, 0, 0);
    lines[0] = SbString("changed");
    text.print(engine.get());
    EXPECT_EQ(action->ofKind(RecordedCall::TEXT2).at(0).string, "kept");
}

TEST_F(RecordPrinting, ImagePrintsItsSizesAndAlignments) {
    auto engine = makeEngine(1);
    const unsigned char pixels[6] = {1, 2, 3, 4, 5, 6};
    SoGraphicImage image;
    image.set(SbVec4f(0.5f, -0.5f, 0.25f, 1), pixels, SbVec2s(2, 1), SbVec2s(4, 2), 3,
              SoImage::RIGHT, SoImage::TOP);
    image.print(engine.get());
    const std::vector<RecordedCall> calls = action->ofKind(RecordedCall::IMAGE);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FLOAT_EQ(calls[0].origin[0], 75.0f);
    EXPECT_FLOAT_EQ(calls[0].origin[1], 25.0f);
    EXPECT_EQ(calls[0].sourceSize, SbVec2s(2, 1));
    EXPECT_EQ(calls[0].requestedSize, SbVec2s(4, 2));
    EXPECT_EQ(calls[0].numComponents, 3);
    EXPECT_EQ(calls[0].horAlignment, SoImage::RIGHT);
    EXPECT_EQ(calls[0].vertAlignment, SoImage::TOP);
}
