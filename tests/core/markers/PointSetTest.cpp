// Point and marker sets: the points they emit, their indices and details, bad counts.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/details/SoPointDetail.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

struct Point {
    SbVec3f position;
    SbVec3f normal;
    int materialIndex;
    int detailCoordinate;
    int detailMaterial;
    int detailNormal;
};

void collectPoint(void* data, SoCallbackAction*, const SoPrimitiveVertex* v) {
    const auto* detail = dynamic_cast<const SoPointDetail*>(v->getDetail());
    ASSERT_NE(detail, nullptr);
    static_cast<std::vector<Point>*>(data)->push_back(
        Point{v->getPoint(), v->getNormal(), v->getMaterialIndex(), detail->getCoordinateIndex(),
              detail->getMaterialIndex(), detail->getNormalIndex()});
}

class PointSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
        coords = new SoCoordinate3;
        coords->point.setValues(
            {SbVec3f(1, 2, 3), SbVec3f(-1, 0, 0), SbVec3f(4, -5, 6), SbVec3f(0, 7, -2)});
        root->addChild(coords);
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    std::vector<Point> points(SoType type = SoPointSet::getClassTypeId()) {
        std::vector<Point> result;
        SoCallbackAction action;
        action.addPointCallback(type, collectPoint, &result);
        action.apply(root);
        return result;
    }
    void bindMaterials(int binding) {
        auto* node = new SoMaterialBinding;
        node->value.setValue(binding);
        root->addChild(node);
    }
    SoSeparator* root;
    SoCoordinate3* coords;
};

TEST_F(PointSetTest, EmitsOnePointPerCoordinateWithDetails) {
    root->addChild(new SoPointSet);
    const std::vector<Point> result = points();
    ASSERT_EQ(result.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(result[i].position, coords->point[i]);
        EXPECT_EQ(result[i].detailCoordinate, i);
        EXPECT_EQ(result[i].materialIndex, 0);  // OVERALL by default
        EXPECT_EQ(result[i].detailMaterial, 0);
    }
}

TEST_F(PointSetTest, PerVertexPartAndFaceBindingsIndexMaterialsByPoint) {
    for (int binding : {SoMaterialBinding::PER_VERTEX, SoMaterialBinding::PER_PART,
                        SoMaterialBinding::PER_FACE, SoMaterialBinding::PER_VERTEX_INDEXED}) {
        SCOPED_TRACE(binding);
        auto* sep = new SoSeparator;
        auto* bindingNode = new SoMaterialBinding;
        bindingNode->value.setValue(binding);
        sep->addChild(bindingNode);
        sep->addChild(new SoPointSet);
        root->addChild(sep);
        const std::vector<Point> result = points();
        ASSERT_EQ(result.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(result[i].materialIndex, i);
            EXPECT_EQ(result[i].detailMaterial, i);
        }
        root->removeChild(sep);
    }
}

TEST_F(PointSetTest, OverallBindingKeepsMaterialZero) {
    bindMaterials(SoMaterialBinding::PER_VERTEX);
    bindMaterials(SoMaterialBinding::OVERALL);  // the later one wins
    root->addChild(new SoPointSet);
    for (const Point& p : points()) EXPECT_EQ(p.materialIndex, 0);
}

TEST_F(PointSetTest, NormalsAreTakenPerPointWhenBound) {
    auto* normals = new SoNormal;
    normals->vector.setValues(
        {SbVec3f(1, 0, 0), SbVec3f(0, 1, 0), SbVec3f(0, 0, -1), SbVec3f(-1, 0, 0)});
    auto* binding = new SoNormalBinding;
    binding->value.setValue(SoNormalBinding::PER_VERTEX);
    root->addChild(normals);
    root->addChild(binding);
    root->addChild(new SoPointSet);
    const std::vector<Point> result = points();
    ASSERT_EQ(result.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(result[i].normal, normals->vector[i]);
        EXPECT_EQ(result[i].detailNormal, i);
    }
    binding->value.setValue(SoNormalBinding::OVERALL);
    for (const Point& p : points()) {
        EXPECT_EQ(p.normal, SbVec3f(1, 0, 0));
        EXPECT_EQ(p.detailNormal, 0);
    }
}

TEST_F(PointSetTest, NumPointsTakesTheFirstCoordinates) {
    auto* set = new SoPointSet;
    set->numPoints.setValue(2);
    root->addChild(set);
    const std::vector<Point> result = points();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1].position, SbVec3f(-1, 0, 0));
}

TEST_F(PointSetTest, TooLargeAndNegativeCountsClampWithAWarning) {
    auto* set = new SoPointSet;
    set->numPoints.setValue(9);
    root->addChild(set);
    DebugErrorRecorder recorder;
    EXPECT_EQ(points().size(), 4u);
    EXPECT_TRUE(recorder.contains("SoPointSet", "exceeds")) << recorder.dump();
    recorder.clear();
    set->numPoints.setValue(-7);
    EXPECT_EQ(points().size(), 0u);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u) << recorder.dump();
    recorder.clear();
    set->numPoints.setValue(-1);
    EXPECT_EQ(points().size(), 4u);
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(PointSetTest, NoCoordinatesGiveNoPoints) {
    coords->point.setNum(0);
    root->addChild(new SoPointSet);
    DebugErrorRecorder recorder;
    EXPECT_TRUE(points().empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(PointSetTest, BoundingBoxHoldsTheUsedPointsOnly) {
    auto* move = new SoTranslation;
    move->translation.setValue(SbVec3f(10, 0, 0));
    auto* set = new SoPointSet;
    set->numPoints.setValue(3);
    root->addChild(move);
    root->addChild(set);
    SoGetBoundingBoxAction action;
    action.apply(root);
    EXPECT_EQ(action.getBoundingBox().getMin(), SbVec3f(9, -5, 0));
    EXPECT_EQ(action.getBoundingBox().getMax(), SbVec3f(14, 2, 6));
}

TEST_F(PointSetTest, MarkerSetIsAPointSetWithMarkerIndices) {
    auto* markers = new SoMarkerSet;
    EXPECT_TRUE(markers->isOfType(SoPointSet::getClassTypeId()));
    ASSERT_EQ(markers->getNumFields(), 2);
    EXPECT_STREQ(markers->getFieldNameAt(0), "numPoints");
    EXPECT_STREQ(markers->getFieldNameAt(1), "markerIndex");
    ASSERT_EQ(markers->markerIndex.getNum(), 1);
    EXPECT_EQ(markers->markerIndex[0], 0);
    EXPECT_TRUE(markers->markerIndex.isDefault());
    markers->markerIndex.setValues({SoMarkerSet::CIRCLE_FILLED_9_9, SoMarkerSet::PLUS_5_5});
    markers->numPoints.setValue(3);
    root->addChild(markers);
    // Callbacks registered for point sets see marker sets too.
    const std::vector<Point> result = points(SoPointSet::getClassTypeId());
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(result[2].position, SbVec3f(4, -5, 6));
    EXPECT_EQ(points(SoMarkerSet::getClassTypeId()).size(), 3u);
}

}  // namespace
