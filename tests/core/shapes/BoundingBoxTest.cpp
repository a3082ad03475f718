// Bounding boxes of the shapes: the coordinates they use, or their analytic extent.

#include <Tessara/nodes/SoCone.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoCylinder.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoSphere.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include <limits>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

namespace {

using BoundingBoxTest = ShapeTest;

// Far away coordinate 4 is used by no shape below unless asked to.
const std::initializer_list<SbVec3f> kPoints = {SbVec3f(0, 0, 0), SbVec3f(2, 0, 1),
                                                SbVec3f(0, 4, 0), SbVec3f(-1, 1, -3),
                                                SbVec3f(100, 100, 100)};

void expectBox(const SbBox3f& box, const SbVec3f& min, const SbVec3f& max) {
    EXPECT_EQ(box.getMin(), min) << box.getMin()[0] << " " << box.getMin()[1] << " "
                                 << box.getMin()[2];
    EXPECT_EQ(box.getMax(), max) << box.getMax()[0] << " " << box.getMax()[1] << " "
                                 << box.getMax()[2];
}

}  // namespace

TEST_F(BoundingBoxTest, IndexedShapesBoundTheCoordinatesTheyReference) {
    coordinates(kPoints);
    auto* faces = add(new SoIndexedFaceSet);
    faces->coordIndex.setValues({0, 1, 2, -1, 0, 2, 3, -1});
    SbVec3f center;
    expectBox(box(&center), SbVec3f(-1, 0, -3), SbVec3f(2, 4, 1));
    EXPECT_EQ(center, SbVec3f(0.5f, 2, -1));
    root->removeChild(faces);
    add(new SoIndexedLineSet)->coordIndex.setValues({1, 2});
    expectBox(box(&center), SbVec3f(0, 0, 0), SbVec3f(2, 4, 1));
    EXPECT_EQ(center, SbVec3f(1, 2, 0.5f));
}

TEST_F(BoundingBoxTest, NonIndexedShapesBoundTheCoordinatesTheirCountsTake) {
    coordinates(kPoints);
    auto* faces = add(new SoFaceSet);
    faces->numVertices.setValues({3});
    expectBox(box(), SbVec3f(0, 0, 0), SbVec3f(2, 4, 1));
    faces->numVertices.setValues({3, -1});  // now the far point too
    expectBox(box(), SbVec3f(-1, 0, -3), SbVec3f(100, 100, 100));
    root->removeChild(faces);
    auto* strips = add(new SoTriangleStripSet);
    strips->numVertices.setValues({4});
    expectBox(box(), SbVec3f(-1, 0, -3), SbVec3f(2, 4, 1));
    root->removeChild(strips);
    add(new SoLineSet)->numVertices.setValues({2});
    expectBox(box(), SbVec3f(0, 0, 0), SbVec3f(2, 0, 1));
}

TEST_F(BoundingBoxTest, BadIndicesAndNaNCoordinatesAreLeftOut) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 1, 1), SbVec3f(nan, 5, 5)});
    add(new SoIndexedFaceSet)->coordIndex.setValues({0, 1, 2, -1, 7, -5, 1});
    DebugErrorRecorder recorder;
    expectBox(box(), SbVec3f(0, 0, 0), SbVec3f(1, 1, 1));
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(BoundingBoxTest, EmptyShapesBoundNothing) {
    coordinates(kPoints);
    add(new SoIndexedFaceSet);
    add(new SoFaceSet)->numVertices.setNum(0);
    EXPECT_TRUE(box().isEmpty());
}

TEST_F(BoundingBoxTest, SolidsHaveTheirAnalyticBoxes) {
    auto* cube = add(new SoCube);
    cube->width.setValue(4);
    cube->height.setValue(6);
    cube->depth.setValue(8);
    SbVec3f center(9, 9, 9);
    expectBox(box(&center), SbVec3f(-2, -3, -4), SbVec3f(2, 3, 4));
    EXPECT_EQ(center, SbVec3f(0, 0, 0));
    root->removeChild(cube);

    add(new SoSphere)->radius.setValue(3);
    expectBox(box(), SbVec3f(-3, -3, -3), SbVec3f(3, 3, 3));
    root->removeChild(0);

    auto* cone = add(new SoCone);
    cone->bottomRadius.setValue(2);
    cone->height.setValue(6);
    expectBox(box(), SbVec3f(-2, -3, -2), SbVec3f(2, 3, 2));
    cone->parts.setValue(SoCone::BOTTOM);  // the disk alone is flat
    expectBox(box(&center), SbVec3f(-2, -3, -2), SbVec3f(2, -3, 2));
    EXPECT_EQ(center, SbVec3f(0, -3, 0));
    root->removeChild(cone);

    auto* cylinder = add(new SoCylinder);
    cylinder->radius.setValue(1);
    cylinder->height.setValue(4);
    expectBox(box(), SbVec3f(-1, -2, -1), SbVec3f(1, 2, 1));
    cylinder->parts.setValue(SoCylinder::TOP);
    expectBox(box(), SbVec3f(-1, 2, -1), SbVec3f(1, 2, 1));
    cylinder->parts.setValue(0);
    EXPECT_TRUE(box().isEmpty());
}

TEST_F(BoundingBoxTest, BoxMatchesTheGeneratedPoints) {
    // Whatever is drawn lies in the box.
    complexity(0.7f);
    auto* cylinder = add(new SoCylinder);
    cylinder->height.setValue(3);
    const SbBox3f bounds = box();
    for (const Triangle& t : triangles())
        for (const Vertex& v : t.v) EXPECT_TRUE(bounds.intersect(v.point));
}
