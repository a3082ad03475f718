#pragma once

// Scene building and primitive capture shared by the shape tests.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoComplexity.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShape.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace shapetest {

/// The indices a vertex's point detail reported.
struct PointIndices {
    int coord;
    int material;
    int normal;
    int texture;
};

/// One vertex as a callback saw it.
struct Vertex {
    SbVec3f point;
    SbVec3f normal;
    SbVec4f texture;
    int material;
};

/// A triangle with a copy of its face detail.
struct Triangle {
    Vertex v[3];
    int face = -1;
    int part = -1;
    std::vector<PointIndices> points;  // of the whole face
    bool sameDetailForAll = true;      // all three vertices pointed at one face detail

    /// Twice the signed area seen from +z (positive when counterclockwise in the xy plane).
    float signedAreaXY() const {
        const SbVec3f a = v[1].point - v[0].point;
        const SbVec3f b = v[2].point - v[0].point;
        return a.cross(b)[2] / 2;
    }
    /// The normal of the triangle's plane by its vertex order (not normalised).
    SbVec3f geometricNormal() const {
        return (v[1].point - v[0].point).cross(v[2].point - v[0].point);
    }
};

/// A segment with a copy of its line detail.
struct Segment {
    Vertex v[2];
    int line = -1;
    int part = -1;
    PointIndices p0{};
    PointIndices p1{};
};

inline PointIndices indicesOf(const SoPointDetail* p) {
    return PointIndices{p->getCoordinateIndex(), p->getMaterialIndex(), p->getNormalIndex(),
                        p->getTextureCoordIndex()};
}

inline Vertex vertexOf(const SoPrimitiveVertex* v) {
    return Vertex{v->getPoint(), v->getNormal(), v->getTextureCoords(), v->getMaterialIndex()};
}

inline void collectTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                            const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
    Triangle t;
    t.v[0] = vertexOf(a);
    t.v[1] = vertexOf(b);
    t.v[2] = vertexOf(c);
    const auto* detail = dynamic_cast<const SoFaceDetail*>(a->getDetail());
    t.sameDetailForAll = a->getDetail() == b->getDetail() && b->getDetail() == c->getDetail();
    if (detail) {
        t.face = detail->getFaceIndex();
        t.part = detail->getPartIndex();
        for (int i = 0; i < detail->getNumPoints(); ++i)
            t.points.push_back(indicesOf(detail->getPoint(i)));
    }
    static_cast<std::vector<Triangle>*>(data)->push_back(t);
}

inline void collectSegment(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                           const SoPrimitiveVertex* b) {
    Segment s;
    s.v[0] = vertexOf(a);
    s.v[1] = vertexOf(b);
    const auto* detail = dynamic_cast<const SoLineDetail*>(a->getDetail());
    if (detail && a->getDetail() == b->getDetail()) {
        s.line = detail->getLineIndex();
        s.part = detail->getPartIndex();
        s.p0 = indicesOf(detail->getPoint0());
        s.p1 = indicesOf(detail->getPoint1());
    }
    static_cast<std::vector<Segment>*>(data)->push_back(s);
}

/// A separator to put property nodes and one shape under, with the core initialised for the
/// test's lifetime.
class ShapeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }

    template <class T>
    T* add(T* node) {
        root->addChild(node);
        return node;
    }
    SoCoordinate3* coordinates(std::initializer_list<SbVec3f> points) {
        auto* node = add(new SoCoordinate3);
        node->point.setValues(points);
        return node;
    }
    void materialBinding(int binding) { add(new SoMaterialBinding)->value.setValue(binding); }
    void normalBinding(int binding) { add(new SoNormalBinding)->value.setValue(binding); }
    SoNormal* normals(std::initializer_list<SbVec3f> vectors) {
        auto* node = add(new SoNormal);
        node->vector.setValues(vectors);
        return node;
    }
    /// A material with `count` diffuse colours, so that indices below count are valid.
    void materials(int count) {
        auto* node = add(new SoMaterial);
        node->diffuseColor.setNum(count);
    }
    SoShapeHints* hints(int ordering, float creaseAngle) {
        auto* node = add(new SoShapeHints);
        node->vertexOrdering.setValue(ordering);
        node->creaseAngle.setValue(creaseAngle);
        return node;
    }
    void complexity(float value) { add(new SoComplexity)->value.setValue(value); }

    std::vector<Triangle> triangles() {
        std::vector<Triangle> result;
        SoCallbackAction action;
        action.addTriangleCallback(SoShape::getClassTypeId(), collectTriangle, &result);
        action.apply(root);
        return result;
    }
    std::vector<Segment> segments() {
        std::vector<Segment> result;
        SoCallbackAction action;
        action.addLineSegmentCallback(SoShape::getClassTypeId(), collectSegment, &result);
        action.apply(root);
        return result;
    }
    SbBox3f box(SbVec3f* center = nullptr) {
        SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
        action.apply(root);
        if (center) *center = action.getCenter();
        return action.getBoundingBox();
    }

    SoSeparator* root = nullptr;
};

inline float triangleArea(const Triangle& t) {
    return t.geometricNormal().length() / 2;
}

inline bool isUnit(const SbVec3f& v, float tolerance = 1e-5f) {
    return std::fabs(v.length() - 1.0f) <= tolerance;
}

}  // namespace shapetest
