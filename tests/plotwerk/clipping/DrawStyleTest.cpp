// The draw style chooses how a clipped polygon or polyline is put on the page.

#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoLineSet.h>

#include "ClipScene.h"

namespace {

class DrawStyleTest : public ClipScene {
  protected:
    /// A triangle whose right corner is cut away by x = 1, and a line leaving at x = 1.
    void addShapes() {
        addBaseColor(SbColor(1, 0, 0));
        addCoordinates({SbVec3f(0, 0, 0), SbVec3f(2, 0, 0), SbVec3f(0, 1, 0)});
        root->addChild(new SoFaceSet);
        addCoordinates({SbVec3f(-0.5f, -0.5f, 0), SbVec3f(1.5f, -0.5f, 0)});
        root->addChild(new SoLineSet);
    }

    std::size_t printedCount() const {
        return action->count(RecordedCall::POLYGON) + action->count(RecordedCall::POLYLINE) +
               action->count(RecordedCall::POLYMARK_DOTS);
    }
};

TEST_F(DrawStyleTest, FilledGivesPolygonsAndPolylines) {
    addOrthoCamera();
    addDrawStyle(SoDrawStyle::FILLED);
    addShapes();
    apply();
    EXPECT_EQ(action->count(RecordedCall::POLYGON), 1u);
    EXPECT_EQ(action->count(RecordedCall::POLYLINE), 1u);
    EXPECT_EQ(printedCount(), 2u);
}

TEST_F(DrawStyleTest, LinesWithAZeroPatternDrawNothing) {
    addOrthoCamera();
    SoDrawStyle* style = addDrawStyle(SoDrawStyle::LINES);
    style->linePattern.setValue(0);
    addShapes();
    apply();
    EXPECT_EQ(printedCount(), 0u);
}

TEST_F(DrawStyleTest, LinesOutlineThePolygonBackToItsFirstPoint) {
    addOrthoCamera();
    SoDrawStyle* style = addDrawStyle(SoDrawStyle::LINES);
    style->lineWidth.setValue(2.0f);
    style->linePattern.setValue(0x00FF);
    addShapes();
    apply();

    EXPECT_EQ(action->count(RecordedCall::POLYGON), 0u);
    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    const RecordedCall& outline = lines[0];
    ASSERT_EQ(outline.points.size(), 5u);
    expectPoint(outline.points[0], 100, 100, 0.5f);
    expectPoint(outline.points[1], 200, 100, 0.5f);
    expectPoint(outline.points[2], 200, 150, 0.5f);
    expectPoint(outline.points[3], 100, 200, 0.5f);
    EXPECT_EQ(outline.points[4], outline.points[0]);
    EXPECT_FLOAT_EQ(outline.lineWidth, 2.0f);
    EXPECT_EQ(outline.linePattern, 0x00FF);
    // The line set stays an open polyline.
    ASSERT_EQ(lines[1].points.size(), 2u);
    expectPoint(lines[1].points[1], 200, 50, 0.5f);
}

TEST_F(DrawStyleTest, SmoothOutlineRepeatsTheFirstColourToo) {
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    addOrthoCamera();
    addDrawStyle(SoDrawStyle::LINES);
    addVertexColors({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    addCoordinates({SbVec3f(0, 0, 0), SbVec3f(0.5f, 0, 0), SbVec3f(0, 0.5f, 0)});
    root->addChild(new SoFaceSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].multicolor, 1);
    ASSERT_EQ(lines[0].colors.size(), 4u);
    expectColor(lines[0].colors[3], 1, 0, 0);
}

TEST_F(DrawStyleTest, PointsGiveDotsAtTheClippedVertices) {
    addOrthoCamera();
    SoDrawStyle* style = addDrawStyle(SoDrawStyle::POINTS);
    style->pointSize.setValue(3.0f);
    addShapes();
    apply();

    EXPECT_EQ(action->count(RecordedCall::POLYGON), 0u);
    EXPECT_EQ(action->count(RecordedCall::POLYLINE), 0u);
    const auto dots = calls(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 2u);
    ASSERT_EQ(dots[0].points.size(), 4u);
    expectPoint(dots[0].points[1], 200, 100, 0.5f);
    expectPoint(dots[0].points[2], 200, 150, 0.5f);
    EXPECT_FLOAT_EQ(dots[0].pointSize, 3.0f);
    ASSERT_EQ(dots[1].points.size(), 2u);
    expectPoint(dots[1].points[0], 50, 50, 0.5f);
    expectPoint(dots[1].points[1], 200, 50, 0.5f);
}

TEST_F(DrawStyleTest, InvisibleDrawsNothing) {
    addOrthoCamera();
    addDrawStyle(SoDrawStyle::INVISIBLE);
    addShapes();
    apply();
    EXPECT_EQ(printedCount(), 0u);
    EXPECT_EQ(action->count(RecordedCall::POLYMARK_MARKERS), 0u);
}

}  // namespace
