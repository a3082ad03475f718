// Polylines split into visible runs at the edges of the view.

#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMatrixTransform.h>

#include <cmath>
#include <limits>

#include "ClipScene.h"
#include "support/DebugErrorRecorder.h"

namespace {

class PolyLineClipTest : public ClipScene {};

TEST_F(PolyLineClipTest, LineLeavingAndReenteringOnTheLeftGivesTwoRunsEndingOnTheEdge) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    addCoordinates({SbVec3f(0.5f, 0.5f, 0), SbVec3f(-1.5f, -0.5f, 0), SbVec3f(-1.5f, -0.7f, 0),
                    SbVec3f(0.5f, 0.3f, 0), SbVec3f(0.8f, 0.3f, 0)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    // Leaving at t = 0.75 of the first segment: y = 0.5 - 0.75.
    ASSERT_EQ(lines[0].points.size(), 2u);
    expectPoint(lines[0].points[0], 150, 150, 0.5f);
    expectPoint(lines[0].points[1], 0, mm(-0.25f), 0.5f);
    EXPECT_EQ(lines[0].points[1][0], 0.0f) << "the cut lies exactly on the edge";
    // Coming back at t = 0.25 of the third segment: y = -0.7 + 0.25; then on to the end.
    ASSERT_EQ(lines[1].points.size(), 3u);
    EXPECT_EQ(lines[1].points[0][0], 0.0f);
    expectPoint(lines[1].points[0], 0, mm(-0.45f), 0.5f);
    expectPoint(lines[1].points[1], 150, 130, 0.5f);
    expectPoint(lines[1].points[2], 180, 130, 0.5f);
    for (const RecordedCall& line : lines) {
        EXPECT_EQ(line.multicolor, 0);
        ASSERT_EQ(line.colors.size(), 1u);
        expectColor(line.colors[0], 1, 0, 0);
    }
}

TEST_F(PolyLineClipTest, CutsLandExactlyOnTheEdgeWhateverTheRounding) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    // Interpolating x along these segments gives -0.99999994 in floats.
    addCoordinates({SbVec3f(0.3f, 0.1f, 0), SbVec3f(-1.3f, 0.1f, 0), SbVec3f(-2.1f, 0.5f, 0),
                    SbVec3f(0.3f, 0.5f, 0)});
    root->addChild(new SoLineSet);
    apply();
    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points.back()[0], 0.0f);
    EXPECT_EQ(lines[1].points.front()[0], 0.0f);
}

TEST_F(PolyLineClipTest, LineInsideIsPrintedWholeWithTheLineAttributes) {
    addOrthoCamera();
    SoDrawStyle* style = addDrawStyle(SoDrawStyle::FILLED);
    style->lineWidth.setValue(3.0f);
    style->linePattern.setValue(0xF0F0);
    style->linePatternScaleFactor.setValue(4);
    addBaseColor(SbColor(0, 0, 1));
    addCoordinates({SbVec3f(-1, -1, 0), SbVec3f(0, 0.5f, 0), SbVec3f(1, 1, 0)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 3u);
    // Points exactly on the limits are inside.
    expectPoint(lines[0].points[0], 0, 0, 0.5f);
    expectPoint(lines[0].points[1], 100, 150, 0.5f);
    expectPoint(lines[0].points[2], 200, 200, 0.5f);
    EXPECT_FLOAT_EQ(lines[0].lineWidth, 3.0f);
    EXPECT_EQ(lines[0].linePattern, 0xF0F0);
    EXPECT_EQ(lines[0].linePatternScaleFactor, 4);
}

TEST_F(PolyLineClipTest, LineCrossingTheWholeViewIsCutOnBothSides) {
    addOrthoCamera();
    addBaseColor(SbColor(0, 1, 0));
    // Enters through the bottom edge and leaves through the right one.
    addCoordinates({SbVec3f(-0.5f, -2, 0), SbVec3f(2.5f, 1, 0)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    expectPoint(lines[0].points[0], mm(0.5f), 0, 0.5f);
    expectPoint(lines[0].points[1], 200, mm(-0.5f), 0.5f);
    EXPECT_EQ(lines[0].points[0][1], 0.0f);
    EXPECT_EQ(lines[0].points[1][0], 200.0f);
}

TEST_F(PolyLineClipTest, LineOutsideOrBeyondTheFarPlaneIsDropped) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 1, 0));
    // Wholly above the view, then wholly behind the far plane (world z < -5).
    addCoordinates(
        {SbVec3f(-0.5f, 1.2f, 0), SbVec3f(0.5f, 3, 0), SbVec3f(0, 0, -6), SbVec3f(0.5f, 0, -8)});
    auto* lineSet = new SoLineSet;
    lineSet->numVertices.setValues({2, 2});
    root->addChild(lineSet);
    apply();
    EXPECT_EQ(action->count(RecordedCall::POLYLINE), 0u);
}

TEST_F(PolyLineClipTest, LineThroughTheFarPlaneEndsOnIt) {
    addOrthoCamera();
    addBaseColor(SbColor(1, 1, 0));
    // From depth 0.5 (z = 0) to depth 1.5 (z = -10): the far plane is met half way.
    addCoordinates({SbVec3f(0, 0, 0), SbVec3f(0.8f, 0, -10)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    expectPoint(lines[0].points[1], mm(0.4f), 100, 1.0f);
    EXPECT_EQ(lines[0].points[1][2], 1.0f);
}

TEST_F(PolyLineClipTest, CutColourIsInterpolatedBetweenItsNeighbours) {
    addOrthoCamera();
    addVertexColors({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    // The first segment leaves the view at x = 1, a quarter of the way along it.
    addCoordinates({SbVec3f(0.6f, 0, 0), SbVec3f(2.2f, 0, 0), SbVec3f(2.2f, 0.5f, 0)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].multicolor, 1);
    ASSERT_EQ(lines[0].points.size(), 2u);
    ASSERT_EQ(lines[0].colors.size(), 2u);
    expectColor(lines[0].colors[0], 1, 0, 0);
    expectColor(lines[0].colors[1], 0.75f, 0.25f, 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(lines[0].colors[1][c], 0.0f);
        EXPECT_LE(lines[0].colors[1][c], 1.0f);
    }
}

TEST_F(PolyLineClipTest, EntryCutColourFollowsTheEdgeDirection) {
    addOrthoCamera();
    addVertexColors({SbColor(0, 0, 1), SbColor(1, 1, 1), SbColor(1, 0, 0)});
    // Enters through x = -1 three quarters of the way from the first point.
    addCoordinates({SbVec3f(-2.5f, 0, 0), SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)});
    root->addChild(new SoLineSet);
    apply();

    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].colors.size(), 3u);
    expectPoint(lines[0].points[0], 0, 100, 0.5f);
    // White (1, 1, 1) prints black with the default colour translation; the cut is three
    // quarters of the way from blue to black.
    expectColor(lines[0].colors[0], 0, 0, 0.25f);
    expectColor(lines[0].colors[1], 0, 0, 0);
    expectColor(lines[0].colors[2], 1, 0, 0);
}

TEST_F(PolyLineClipTest, EqualColoursAreNotMulticolour) {
    addOrthoCamera();
    addVertexColors({SbColor(0, 1, 0), SbColor(0, 1, 0), SbColor(0, 1, 0)});
    addCoordinates({SbVec3f(-0.5f, 0, 0), SbVec3f(0, 0.5f, 0), SbVec3f(0.5f, 0, 0)});
    root->addChild(new SoLineSet);
    apply();
    const auto lines = calls(RecordedCall::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].multicolor, 0);
    ASSERT_EQ(lines[0].colors.size(), 1u);
}

TEST_F(PolyLineClipTest, NaNCoordinatesAreReportedAndProcessingGoesOn) {
    DebugErrorRecorder errors;
    addOrthoCamera();
    addBaseColor(SbColor(1, 0, 0));
    // The segments are finite where they are captured; the transform makes them NaN.
    auto* transform = new SoMatrixTransform;
    SbMatrix m;
    m[3][3] = std::numeric_limits<float>::quiet_NaN();
    transform->matrix.setValue(m);
    root->addChild(transform);
    addCoordinates({SbVec3f(0, 0, 0), SbVec3f(0.5f, 0.5f, 0)});
    root->addChild(new SoLineSet);
    apply();

    EXPECT_TRUE(
        errors.contains("SoVectorizeAction::clipPolyLine",
                        "SoVectorizeAction::clipPolyLine - Point coordinates contain a NaN"));
    // A NaN point is inside no limit: nothing reaches the page, and the apply completes.
    EXPECT_EQ(action->count(RecordedCall::POLYLINE), 0u);
    EXPECT_EQ(action->count(RecordedCall::FOOTER), 1u);
}

}  // namespace
