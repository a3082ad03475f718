// Cube, sphere, cone and cylinder: triangle counts by complexity and parts, points on the
// surface, closed and outward wound, unit normals, and a material per part when bound.

#include <Tessara/nodes/SoCone.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoCylinder.h>
#include <Tessara/nodes/SoSphere.h>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "ShapeTestSupport.h"

using namespace shapetest;

namespace {

using SolidShapeTest = ShapeTest;

float radial(const SbVec3f& p) {
    return std::sqrt(p[0] * p[0] + p[2] * p[2]);
}

// On a closed, consistently wound surface every edge between two triangles is walked once in
// each direction. Shared vertices are computed alike, so their positions match exactly.
void expectClosed(const std::vector<Primitive>& result) {
    using Key = std::tuple<float, float, float>;
    const auto key = [](const SbVec3f& p) { return Key(p[0], p[1], p[2]); };
    std::map<std::pair<Key, Key>, int> edges;
    for (const Primitive& t : result)
        for (int j = 0; j < 3; ++j) ++edges[{key(t.v[j].point), key(t.v[(j + 1) % 3].point)}];
    for (const auto& e : edges) {
        EXPECT_EQ(e.second, 1);
        const auto reverse = edges.find({e.first.second, e.first.first});
        ASSERT_NE(reverse, edges.end());
        EXPECT_EQ(reverse->second, 1);
    }
}

}  // namespace

TEST_F(SolidShapeTest, SurfacesByParts) {
    // How far a vertex of a part is from its place on the surface, and its normal from the
    // surface's there.
    using Surface = std::function<float(const Vertex&, int)>;
    const SbVec3f cubeNormals[6] = {SbVec3f(0, 0, 1), SbVec3f(0, 0, -1), SbVec3f(-1, 0, 0),
                                    SbVec3f(1, 0, 0), SbVec3f(0, 1, 0),  SbVec3f(0, -1, 0)};
    const auto off = [](const SbVec3f& a, const SbVec3f& b) { return (a - b).length(); };
    const struct {
        SoShape* shape;
        std::map<int, int> trianglesPerPart;  // at the lowest complexity: six slices
        // At complexity 0.25 (7.5 more slices round to 8) and at 1 (36 slices), where cone and
        // cylinder are drawn without their disks.
        std::array<size_t, 2> quarterAndFull;
        Surface surface;
    } cases[] = {
        // Front, back, left, right, top, bottom; every vertex is a corner.
        {solid(new SoCube, {{"width", 4}, {"height", 6}, {"depth", 10}}),
         {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}},
         {12, 12},
         [&](const Vertex& v, int part) {
             const SbVec3f n = cubeNormals[part], half(2, 3, 5);
             float sum = off(v.normal, n) + std::fabs(v.point.dot(n) - std::fabs(half.dot(n)));
             for (int axis = 0; axis < 3; ++axis)
                 sum += std::fabs(std::fabs(v.point[axis]) - half[axis]);
             return sum;
         }},
        {solid(new SoSphere, {{"radius", 2.5f}}),
         {{0, 24}},
         {2 * 14 * 6, 2 * 36 * 17},
         [&](const Vertex& v, int) {
             return std::fabs(v.point.length() - 2.5f) + off(v.normal, v.point / 2.5f);
         }},
        // The mantle's radius shrinks linearly from 2 at y = -2 to 0 at the apex, and its
        // normals lean up by the slope: (4 sin, 2, 4 cos) / sqrt(20).
        {solid(new SoCone, {{"bottomRadius", 2}, {"height", 4}}),
         {{0, 6}, {1, 6}},
         {28, 36},
         [&](const Vertex& v, int part) {
             const SbVec3f& p = v.point;
             const SbVec3f& n = v.normal;
             if (part == 1) return std::fabs(p[1] + 2) + off(n, SbVec3f(0, -1, 0));
             const float r = radial(p);
             const float lean = r > 0 ? std::fabs(n[0] * p[2] - n[2] * p[0]) / r : 0.0f;
             return std::fabs(r - (2 - p[1]) / 2) + std::fabs(n[1] - 1 / std::sqrt(5.0f)) + lean;
         }},
        {solid(new SoCylinder, {{"radius", 3}, {"height", 2}}),
         {{0, 12}, {1, 6}, {2, 6}},
         {56, 72},
         [&](const Vertex& v, int part) {
             const SbVec3f& p = v.point;
             if (part == 0)
                 return std::fabs(radial(p) - 3) + off(v.normal, SbVec3f(p[0] / 3, 0, p[2] / 3));
             const float y = part == 1 ? 1.0f : -1.0f;
             const float outside = radial(p) > 3 + 1e-5f ? 1.0f : 0.0f;
             return std::fabs(p[1] - y) + off(v.normal, SbVec3f(0, y, 0)) + outside;
         }},
    };
    auto* complexity = add(new SoComplexity);
    auto* binding = add(new SoMaterialBinding);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape->getTypeId().getName().getString());
        add(c.shape);
        auto* parts = static_cast<SoSFBitMask*>(c.shape->getField("parts"));
        for (const float level : {0.0f, 0.25f, 1.0f}) {
            complexity->value.setValue(level);
            if (parts != nullptr && level == 1.0f) parts->setValue(SoCone::SIDES);  // bit 1 both
            const int b = level == 0.25f ? SoMaterialBinding::OVERALL : SoMaterialBinding::PER_PART;
            binding->value.setValue(b);
            const std::vector<Primitive> result = triangles();
            std::map<int, int> perPart;
            for (const Primitive& t : result) {
                ++perPart[t.part];
                const SbVec3f g = t.geometricNormal();
                for (const Vertex& v : t.v) {
                    EXPECT_NEAR(c.surface(v, t.part), 0.0f, 1e-5f) << "part " << t.part;
                    EXPECT_NEAR(v.normal.length(), 1.0f, 1e-5f);
                    EXPECT_GT(g.dot(v.normal), 0.0f);  // wound counterclockwise from outside
                    EXPECT_EQ(v.material, b == SoMaterialBinding::PER_PART ? t.part : 0);
                }
                EXPECT_EQ(t.points.at(0).material, t.v[0].material);
            }
            if (level < 1.0f) expectClosed(result);  // at 1 the disks are left out
            if (level == 0.0f) {
                EXPECT_EQ(perPart, c.trianglesPerPart);
            } else {
                EXPECT_EQ(result.size(), c.quarterAndFull[level < 1 ? 0 : 1]) << level;
            }
        }
        root->removeChild(c.shape);
    }
}
