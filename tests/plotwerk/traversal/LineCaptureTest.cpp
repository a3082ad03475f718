// Segments chain into polylines and points gather into marks in the capture buffer: one
// print call per node, never one per segment, and never one spanning two nodes.

#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoPointSet.h>

#include <cmath>
#include <limits>

#include "TraversalFixture.h"
#include "support/DebugErrorRecorder.h"

using traversal::coordinatesFor;
using traversal::expectColor;
using traversal::expectPointAt;
using traversal::pageOf;
using K = RecordedCall;

class LineCapture : public traversal::TraversalTest {
  protected:
    SoLineSet* addLineSet(std::initializer_list<SbVec3f> points,
                          std::initializer_list<int32_t> counts = {-1}) {
        root->addChild(coordinatesFor(points));
        auto* lines = new SoLineSet;
        lines->numVertices.setValues(counts);
        root->addChild(lines);
        return lines;
    }
};

TEST_F(LineCapture, SegmentsSharingEndPointsPrintAsOnePolyline) {
    addLineSet({SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0), SbVec3f(0.5f, 0.5f, 0),
                SbVec3f(-0.5f, 0.5f, 0)});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 4u);
    expectPointAt(lines[0].points[0], SbVec2f(25, 25));
    expectPointAt(lines[0].points[1], SbVec2f(75, 25));
    expectPointAt(lines[0].points[2], SbVec2f(75, 75));
    expectPointAt(lines[0].points[3], SbVec2f(25, 75));
}

TEST_F(LineCapture, TwoLineSetsNeverMergeEvenWhenTheSecondContinuesTheFirst) {
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0, 0)});
    addLineSet({SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0)});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    ASSERT_EQ(lines[1].points.size(), 2u);
    expectPointAt(lines[0].points[1], pageOf(0, 0));
    expectPointAt(lines[1].points[0], pageOf(0, 0));
    expectPointAt(lines[1].points[1], pageOf(0.5f, 0));
}

TEST_F(LineCapture, ABreakInTheChainStartsANewPolylineWithinOneNode) {
    addLineSet({SbVec3f(-0.5f, 0.5f, 0), SbVec3f(0.5f, 0.5f, 0), SbVec3f(-0.5f, -0.5f, 0),
                SbVec3f(0.5f, -0.5f, 0)},
               {2, 2});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    expectPointAt(lines[0].points[0], pageOf(-0.5f, 0.5f));
    expectPointAt(lines[1].points[0], pageOf(-0.5f, -0.5f));
}

TEST_F(LineCapture, PolylinesOfOneNodeThatMeetEndToStartJoin) {
    // Two polylines of the node, the second starting where the first ends: the chain does
    // not know where one polyline of the node stops, only whether the points meet.
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0, 0), SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0)},
               {2, 2});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 3u);
    expectPointAt(lines[0].points[2], pageOf(0.5f, 0));
}

TEST_F(LineCapture, ALongChainGrowsTheBufferAndKeepsEveryPoint) {
    std::vector<SbVec3f> zigzag;
    for (int i = 0; i <= 40; ++i) {
        zigzag.emplace_back(-1.0f + i * 0.05f, (i % 2) ? 0.5f : -0.5f, 0.0f);
    }
    auto* coords = new SoCoordinate3;
    coords->point.setValues(0, static_cast<int>(zigzag.size()), zigzag.data());
    root->addChild(coords);
    root->addChild(new SoLineSet);
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), zigzag.size());
    for (std::size_t i = 0; i < zigzag.size(); ++i) {
        SCOPED_TRACE(i);
        expectPointAt(lines[0].points[i], pageOf(zigzag[i][0], zigzag[i][1]));
    }
}

TEST_F(LineCapture, LineAttributesComeFromTheState) {
    auto* style = new SoDrawStyle;
    style->lineWidth.setValue(3.0f);
    style->linePattern.setValue(0x0F0F);
    style->linePatternScaleFactor.setValue(2);
    root->addChild(style);
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(0.25f, 0.5f, 0.75f));
    root->addChild(material);
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FLOAT_EQ(lines[0].lineWidth, 3.0f);
    EXPECT_EQ(lines[0].linePattern, 0x0F0F);
    EXPECT_EQ(lines[0].linePatternScaleFactor, 2);
    EXPECT_EQ(lines[0].multicolor, 0);
    ASSERT_EQ(lines[0].colors.size(), 1u);
    expectColor(lines[0].colors[0], SbColor(0.25f, 0.5f, 0.75f));
}

TEST_F(LineCapture, VertexColoursFollowTheMaterialIndices) {
    auto* material = new SoMaterial;
    material->diffuseColor.setValues({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    root->addChild(material);
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_VERTEX);
    root->addChild(binding);
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0)});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].multicolor, 1);
    ASSERT_EQ(lines[0].colors.size(), 3u);
    expectColor(lines[0].colors[0], SbColor(1, 0, 0));
    expectColor(lines[0].colors[1], SbColor(0, 1, 0));
    expectColor(lines[0].colors[2], SbColor(0, 0, 1));
}

TEST_F(LineCapture, ASegmentWithBothEndsFullyTransparentIsNotDrawn) {
    auto* material = new SoMaterial;
    material->transparency.setValue(1.0f);
    root->addChild(material);
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)});
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYLINE), 0u);
}

TEST_F(LineCapture, AFullyTransparentEndStopsTheChain) {
    // Transparency per vertex: 0, 0, 1, 0. The third vertex is stored but not counted, so
    // the last segment, which starts from it, no longer continues the chain.
    auto* material = new SoMaterial;
    material->diffuseColor.setValues(
        {SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1), SbColor(1, 1, 0)});
    material->transparency.setValues({0.0f, 0.0f, 1.0f, 0.0f});
    root->addChild(material);
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_VERTEX);
    root->addChild(binding);
    addLineSet(
        {SbVec3f(-0.75f, 0, 0), SbVec3f(-0.25f, 0, 0), SbVec3f(0.25f, 0, 0), SbVec3f(0.75f, 0, 0)});
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    expectPointAt(lines[0].points[1], pageOf(-0.25f, 0));
    ASSERT_EQ(lines[1].points.size(), 2u);
    expectPointAt(lines[1].points[0], pageOf(0.25f, 0));
    expectPointAt(lines[1].points[1], pageOf(0.75f, 0));
}

TEST_F(LineCapture, ASegmentWithANaNIsDroppedWithOneNote) {
    SoDebugError::resetInfoOnce();
    DebugErrorRecorder errors;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    addLineSet({SbVec3f(-0.5f, 0, 0), SbVec3f(nan, 0, 0)});
    addLineSet({SbVec3f(-0.5f, 0.5f, 0), SbVec3f(0.5f, 0.5f, 0)});
    action->apply(root);
    action->apply(root);

    // The good line set is drawn in both applies; the bad segment never.
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    for (const RecordedCall& line : lines) {
        ASSERT_EQ(line.points.size(), 2u);
        expectPointAt(line.points[0], pageOf(-0.5f, 0.5f));
    }
    int notes = 0;
    for (const DebugErrorRecorder::Post& post : errors.messages()) {
        if (post.source != "SoVectorizeAction::drawLineSegment") continue;
        ++notes;
        EXPECT_EQ(post.severity, SoDebugError::INFO);
        EXPECT_EQ(post.message,
                  "Some clipping point contains NaN: line serialization will be skipped");
    }
    EXPECT_EQ(notes, 1) << errors.dump();
}

TEST_F(LineCapture, PointsOfOneNodePrintAsOneSetOfDots) {
    auto* style = new SoDrawStyle;
    style->pointSize.setValue(4.0f);
    root->addChild(style);
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoPointSet);
    root->addChild(coordinatesFor({SbVec3f(0, 0.5f, 0)}));
    root->addChild(new SoPointSet);
    action->apply(root);
    const std::vector<RecordedCall> dots = action->ofKind(K::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 2u);
    ASSERT_EQ(dots[0].points.size(), 3u);
    expectPointAt(dots[0].points[0], pageOf(-0.5f, 0));
    expectPointAt(dots[0].points[2], pageOf(0.5f, 0));
    EXPECT_FLOAT_EQ(dots[0].pointSize, 4.0f);
    ASSERT_EQ(dots[1].points.size(), 1u);
    expectPointAt(dots[1].points[0], pageOf(0, 0.5f));
    EXPECT_EQ(action->count(K::POLYMARK_MARKERS), 0u);
}

TEST_F(LineCapture, FullyTransparentPointsAreLeftOut) {
    auto* material = new SoMaterial;
    material->transparency.setValues({0.0f, 1.0f, 0.0f});
    root->addChild(material);
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_VERTEX);
    root->addChild(binding);
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoPointSet);
    action->apply(root);
    const std::vector<RecordedCall> dots = action->ofKind(K::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 1u);
    ASSERT_EQ(dots[0].points.size(), 2u);
    expectPointAt(dots[0].points[0], pageOf(-0.5f, 0));
    expectPointAt(dots[0].points[1], pageOf(0.5f, 0));
}

TEST_F(LineCapture, AMarkerSetPrintsItsPointsWithTheNode) {
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)}));
    auto* markers = new SoMarkerSet;
    markers->markerIndex.setValues({SoMarkerSet::CROSS_7_7, SoMarkerSet::STAR_9_9});
    root->addChild(markers);
    action->apply(root);
    const std::vector<RecordedCall> marks = action->ofKind(K::POLYMARK_MARKERS);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].markerSet, markers);
    ASSERT_EQ(marks[0].points.size(), 2u);
    expectPointAt(marks[0].points[0], pageOf(-0.5f, 0));
    expectPointAt(marks[0].points[1], pageOf(0.5f, 0));
    EXPECT_EQ(action->count(K::POLYMARK_DOTS), 0u);
}

TEST_F(LineCapture, AnInvisibleMarkerSetPrintsNothing) {
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::INVISIBLE);
    root->addChild(style);
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoMarkerSet);
    action->apply(root);
    EXPECT_EQ(traversal::drawingCalls(*action), 0u);
}
