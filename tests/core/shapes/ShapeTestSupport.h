#pragma once

// Scene building and primitive capture shared by the shape, text and marker tests.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/details/SoPointDetail.h>
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

#include <algorithm>
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

/// A triangle, a segment or a point as a callback saw it, with a copy of its detail: the points
/// of the whole face for a triangle, those of the two ends for a segment.
struct Primitive {
    std::vector<Vertex> v;
    int face = -1;  // the line, for a segment
    int part = -1;
    std::vector<PointIndices> points;
    bool oneDetail = true;  // all vertices pointed at one detail

    /// The normal of a triangle's plane by its vertex order (not normalised).
    SbVec3f geometricNormal() const {
        return (v[1].point - v[0].point).cross(v[2].point - v[0].point);
    }
};

inline PointIndices indicesOf(const SoPointDetail* p) {
    return PointIndices{p->getCoordinateIndex(), p->getMaterialIndex(), p->getNormalIndex()};
}

inline void record(void* data, std::initializer_list<const SoPrimitiveVertex*> vertices) {
    Primitive p;
    const SoDetail* detail = (*vertices.begin())->getDetail();
    for (const SoPrimitiveVertex* v : vertices) {
        p.v.push_back(Vertex{v->getPoint(), v->getNormal(), v->getMaterialIndex()});
        p.oneDetail = p.oneDetail && v->getDetail() == detail;
    }
    if (const auto* face = dynamic_cast<const SoFaceDetail*>(detail)) {
        p.face = face->getFaceIndex();
        p.part = face->getPartIndex();
        for (int i = 0; i < face->getNumPoints(); ++i)
            p.points.push_back(indicesOf(face->getPoint(i)));
    } else if (const auto* line = dynamic_cast<const SoLineDetail*>(detail)) {
        p.face = line->getLineIndex();
        p.part = line->getPartIndex();
        p.points = {indicesOf(line->getPoint0()), indicesOf(line->getPoint1())};
    } else if (const auto* point = dynamic_cast<const SoPointDetail*>(detail)) {
        p.points = {indicesOf(point)};
    }
    static_cast<std::vector<Primitive>*>(data)->push_back(p);
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

/// `node` with the float fields named set, and its parts when `parts` is given.
inline SoShape* solid(SoShape* node, std::initializer_list<std::pair<const char*, float>> sizes,
                      int parts = -1) {
    for (const auto& size : sizes)
        static_cast<SoSFFloat*>(node->getField(size.first))->setValue(size.second);
    if (parts >= 0) static_cast<SoSFBitMask*>(node->getField("parts"))->setValue(parts);
    return node;
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
        const char* const types[] = {"SoFaceSet", "SoTriangleStripSet", "SoLineSet",
                                     "SoIndexedFaceSet", "SoIndexedLineSet"};
        SoType type = SoType::fromName(types[static_cast<int>(kind)]);
        auto* node = add(static_cast<SoShape*>(type.createInstance()));
        const bool indexed = kind == Kind::INDEXED_FACES || kind == Kind::INDEXED_LINES;
        auto* list =
            static_cast<SoMFInt32*>(node->getField(indexed ? "coordIndex" : "numVertices"));
        list->setValues(0, static_cast<int>(values.size()), values.data());
        list->setNum(static_cast<int>(values.size()));
        return node;
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

    /// Everything the scene generates, by kind, in order.
    struct Generated {
        std::vector<Primitive> triangles, segments, points;
    };
    Generated generate() {
        Generated result;
        SoCallbackAction action;
        const SoType type = SoShape::getClassTypeId();
        action.addTriangleCallback(
            type,
            [](void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
               const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
                record(data, {a, b, c});
            },
            &result.triangles);
        action.addLineSegmentCallback(
            type,
            [](void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
               const SoPrimitiveVertex* b) {
                record(data, {a, b});
            },
            &result.segments);
        action.addPointCallback(
            type,
            [](void* data, SoCallbackAction*, const SoPrimitiveVertex* v) { record(data, {v}); },
            &result.points);
        action.apply(root);
        return result;
    }
    std::vector<Primitive> triangles() { return generate().triangles; }
    std::vector<Primitive> points() { return generate().points; }
    /// The triangles, then the segments, in order as "face/part:corners" (with a face's points
    /// in parentheses when it has more than its triangles), each point as its index in
    /// `points`.
    std::string primitives(const std::vector<SbVec3f>& points) {
        const Generated generated = generate();
        std::vector<Primitive> all = generated.triangles;
        all.insert(all.end(), generated.segments.begin(), generated.segments.end());
        std::string text;
        for (const Primitive& p : all) {
            text += (text.empty() ? "" : ", ") + std::to_string(p.face) + "/" +
                    std::to_string(p.part) + ":";
            for (size_t i = 0; i < p.v.size(); ++i) {
                const auto at = std::find(points.begin(), points.end(), p.v[i].point);
                text += (i == 0 ? "" : " ") +
                        (at == points.end() ? "?" : std::to_string(at - points.begin()));
            }
            for (size_t i = 0; p.points.size() > 3 && i < p.points.size(); ++i)
                text += (i == 0 ? " (" : " ") + std::to_string(p.points[i].coord) +
                        (i + 1 == p.points.size() ? ")" : "");
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
