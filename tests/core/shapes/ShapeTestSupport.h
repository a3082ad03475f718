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
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShape.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <Tessara/nodes/SoTriangleStripSet.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace shapetest {

/// The indices a vertex's point detail reported.
struct PointIndices {
    int coord;
    int material;
    int normal;
};

/// One vertex as a callback saw it.
struct Vertex {
    SbVec3f point;
    SbVec3f normal;
    int material;
};

/// A triangle with a copy of its face detail.
struct Triangle {
    Vertex v[3];
    int face = -1;
    int part = -1;
    std::vector<PointIndices> points;  // of the whole face
    bool sameDetailForAll = true;      // all three vertices pointed at one face detail

    /// The normal of the triangle's plane by its vertex order (not normalised).
    SbVec3f geometricNormal() const {
        return (v[1].point - v[0].point).cross(v[2].point - v[0].point);
    }
    /// Twice the signed area seen from +z (positive when counterclockwise in the xy plane).
    float signedAreaXY() const { return geometricNormal()[2] / 2; }
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
    return PointIndices{p->getCoordinateIndex(), p->getMaterialIndex(), p->getNormalIndex()};
}

inline Vertex vertexOf(const SoPrimitiveVertex* v) {
    return Vertex{v->getPoint(), v->getNormal(), v->getMaterialIndex()};
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

/// The vertex shapes, each driven by one list of numbers: numVertices, or coordIndex.
enum class Kind { FACES, STRIPS, LINES, INDEXED_FACES, INDEXED_LINES };

/// `count` points on an arc, counterclockwise about +z: any of them taken in increasing
/// order make a convex polygon.
inline std::vector<SbVec3f> arc(int count) {
    std::vector<SbVec3f> points;
    for (int i = 0; i < count; ++i) points.emplace_back(std::cos(0.3f * i), std::sin(0.3f * i), 0);
    return points;
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
    SoCoordinate3* coordinates(const std::vector<SbVec3f>& points) {
        auto* node = add(new SoCoordinate3);
        node->point.setValues(0, static_cast<int>(points.size()), points.data());
        return node;
    }
    /// A shape of `kind` whose list is `values`.
    SoShape* shape(Kind kind, const std::vector<int32_t>& values) {
        const int n = static_cast<int>(values.size());
        const auto counted = [&](auto* node) {
            node->numVertices.setValues(0, n, values.data());
            node->numVertices.setNum(n);
            return node;
        };
        const auto indexed = [&](auto* node) {
            node->coordIndex.setValues(0, n, values.data());
            return node;
        };
        switch (kind) {
            case Kind::FACES:
                return counted(add(new SoFaceSet));
            case Kind::STRIPS:
                return counted(add(new SoTriangleStripSet));
            case Kind::LINES:
                return counted(add(new SoLineSet));
            case Kind::INDEXED_FACES:
                return indexed(add(new SoIndexedFaceSet));
            default:
                return indexed(add(new SoIndexedLineSet));
        }
    }
    void materialBinding(int binding) { add(new SoMaterialBinding)->value.setValue(binding); }
    void normalBinding(int binding) { add(new SoNormalBinding)->value.setValue(binding); }
    SoNormal* normals(const std::vector<SbVec3f>& vectors) {
        auto* node = add(new SoNormal);
        node->vector.setValues(0, static_cast<int>(vectors.size()), vectors.data());
        return node;
    }
    /// A material with `count` diffuse colours, so that indices below count are valid.
    void materials(int count) { add(new SoMaterial)->diffuseColor.setNum(count); }
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
    /// The primitives in order, as "face/part:corners" for triangles (with the face's points
    /// in parentheses when it has more than the triangle's) and "line/part:ends" for segments;
    /// each point given as its index in `points`.
    std::string primitives(const std::vector<SbVec3f>& points) {
        std::string text;
        const auto index = [&points](const SbVec3f& p) {
            for (size_t i = 0; i < points.size(); ++i)
                if (points[i] == p) return std::to_string(i);
            return std::string("?");
        };
        const auto begin = [&text](int face, int part) {
            text += (text.empty() ? "" : ", ") + std::to_string(face) + "/" + std::to_string(part) +
                    ":";
        };
        for (const Triangle& t : triangles()) {
            begin(t.face, t.part);
            text += index(t.v[0].point) + " " + index(t.v[1].point) + " " + index(t.v[2].point);
            if (t.points.size() <= 3) continue;
            for (size_t i = 0; i < t.points.size(); ++i)
                text += (i == 0 ? " (" : " ") + std::to_string(t.points[i].coord);
            text += ")";
        }
        for (const Segment& s : segments()) {
            begin(s.line, s.part);
            text += index(s.v[0].point) + " " + index(s.v[1].point);
        }
        return text;
    }
    SbBox3f box(SbVec3f* center = nullptr) {
        SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
        action.apply(root);
        if (center) *center = action.getCenter();
        return action.getBoundingBox();
    }

    SoSeparator* root = nullptr;
};

}  // namespace shapetest
