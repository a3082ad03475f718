// Cube, sphere, cone and cylinder: triangle counts by complexity, points on the surface,
// outward winding and unit normals, parts and their materials.

#include <Tessara/nodes/SoCone.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoCylinder.h>
#include <Tessara/nodes/SoSphere.h>

#include <cmath>
#include <map>
#include <tuple>

#include "ShapeTestSupport.h"

using namespace shapetest;

namespace {

using SolidShapeTest = ShapeTest;

// Every triangle must turn counterclockwise seen from outside: its plane normal agrees with
// the normals at its corners.
void expectOutwardAndUnit(const std::vector<Triangle>& result) {
    for (const Triangle& t : result) {
        const SbVec3f g = t.geometricNormal();
        for (const Vertex& v : t.v) {
            EXPECT_TRUE(isUnit(v.normal)) << v.normal.length();
            EXPECT_GT(g.dot(v.normal), 0.0f);
        }
    }
}

float radial(const SbVec3f& p) {
    return std::sqrt(p[0] * p[0] + p[2] * p[2]);
}

}  // namespace

TEST_F(SolidShapeTest, CubeHasTwoTrianglesPerFaceInFaceOrder) {
    materialBinding(SoMaterialBinding::PER_PART);
    auto* cube = add(new SoCube);
    cube->width.setValue(4);
    cube->height.setValue(6);
    cube->depth.setValue(10);
    const std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 12u);
    const SbVec3f normals[6] = {SbVec3f(0, 0, 1), SbVec3f(0, 0, -1), SbVec3f(-1, 0, 0),
                                SbVec3f(1, 0, 0), SbVec3f(0, 1, 0),  SbVec3f(0, -1, 0)};
    const SbVec3f half(2, 3, 5);
    float area = 0;
    for (int k = 0; k < 12; ++k) {
        const Triangle& t = result[k];
        const int face = k / 2;
        EXPECT_EQ(t.face, face);
        EXPECT_EQ(t.part, face);
        EXPECT_EQ(t.points.size(), 4u);
        for (const Vertex& v : t.v) {
            EXPECT_EQ(v.normal, normals[face]);
            EXPECT_EQ(v.material, face);
            for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(std::fabs(v.point[axis]), half[axis]);
            // The face's own axis is at its extreme, on the normal's side.
            EXPECT_EQ(v.point.dot(normals[face]), std::fabs(half.dot(normals[face])));
        }
        area += triangleArea(t);
    }
    EXPECT_NEAR(area, 2 * (4 * 6 + 6 * 10 + 4 * 10), 1e-4f);
    expectOutwardAndUnit(result);
}

TEST_F(SolidShapeTest, CubeMaterialsArePerFaceOnlyWhenBound) {
    auto* binding = add(new SoMaterialBinding);
    add(new SoCube);
    for (int b : {SoMaterialBinding::PER_FACE, SoMaterialBinding::PER_PART_INDEXED,
                  SoMaterialBinding::OVERALL}) {
        binding->value.setValue(b);
        const std::vector<Triangle> result = triangles();
        ASSERT_EQ(result.size(), 12u);
        for (int k = 0; k < 12; ++k) {
            const int expected = b == SoMaterialBinding::OVERALL ? 0 : k / 2;
            EXPECT_EQ(result[k].v[0].material, expected);
            EXPECT_EQ(result[k].points[0].material, expected);
        }
    }
}

TEST_F(SolidShapeTest, SphereTessellationFollowsComplexity) {
    // slices = 6 + round(30 c), stacks = max(3, slices / 2); 2 * slices * (stacks - 1) triangles.
    const std::map<float, size_t> expected = {{0.0f, 24}, {0.5f, 2 * 21 * 9}, {1.0f, 2 * 36 * 17}};
    auto* level = add(new SoComplexity);
    auto* sphere = add(new SoSphere);
    sphere->radius.setValue(2.5f);
    for (const auto& entry : expected) {
        level->value.setValue(entry.first);
        const std::vector<Triangle> result = triangles();
        EXPECT_EQ(result.size(), entry.second) << "complexity " << entry.first;
        for (const Triangle& t : result) {
            for (const Vertex& v : t.v) {
                EXPECT_NEAR(v.point.length(), 2.5f, 1e-5f);
                EXPECT_TRUE(v.normal.equals(v.point / 2.5f, 1e-5f));
            }
            EXPECT_EQ(t.part, 0);
        }
        expectOutwardAndUnit(result);
    }
}

namespace {

// On a closed, consistently wound surface every edge between two triangles is walked once in
// each direction. Shared vertices are computed alike, so their positions match exactly.
void expectClosed(const std::vector<Triangle>& result) {
    using Key = std::tuple<float, float, float>;
    auto key = [](const SbVec3f& p) { return Key(p[0], p[1], p[2]); };
    std::map<std::pair<Key, Key>, int> edges;
    for (const Triangle& t : result)
        for (int j = 0; j < 3; ++j) ++edges[{key(t.v[j].point), key(t.v[(j + 1) % 3].point)}];
    for (const auto& e : edges) {
        EXPECT_EQ(e.second, 1);
        const auto reverse = edges.find({e.first.second, e.first.first});
        ASSERT_NE(reverse, edges.end());
        EXPECT_EQ(reverse->second, 1);
    }
}

}  // namespace

TEST_F(SolidShapeTest, SolidsAreClosedAndConsistentlyWound) {
    complexity(0.2f);
    std::vector<SoShape*> shapes = {new SoCube, new SoSphere, new SoCone, new SoCylinder};
    for (SoShape* shape : shapes) {
        SCOPED_TRACE(shape->getTypeId().getName().getString());
        root->addChild(shape);
        expectClosed(triangles());
        root->removeChild(shape);
    }
}

TEST_F(SolidShapeTest, SphereAreaApproachesTheSpheres) {
    complexity(0.2f);
    add(new SoSphere);
    float area = 0;
    for (const Triangle& t : triangles()) area += triangleArea(t);
    EXPECT_LT(area, 4 * M_PI);  // inscribed: a little less than the sphere's
    EXPECT_GT(area, 0.8 * 4 * M_PI);
}

TEST_F(SolidShapeTest, ConeSidesAndBottomByParts) {
    complexity(0.0f);  // 6 slices
    auto* cone = add(new SoCone);
    cone->bottomRadius.setValue(2);
    cone->height.setValue(4);
    std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 12u);
    for (const Triangle& t : result) {
        for (const Vertex& v : t.v) {
            if (t.part == 0) {
                // On the mantle: the radius shrinks linearly from 2 at y = -2 to 0 at y = 2.
                EXPECT_NEAR(radial(v.point), 2 * (2 - v.point[1]) / 4, 1e-5f);
            } else {
                EXPECT_EQ(t.part, 1);
                EXPECT_EQ(v.point[1], -2.0f);
                EXPECT_EQ(v.normal, SbVec3f(0, -1, 0));
            }
        }
    }
    EXPECT_EQ(result[0].part, 0);
    EXPECT_EQ(result[11].part, 1);
    expectOutwardAndUnit(result);
    cone->parts.setValue(SoCone::SIDES);
    result = triangles();
    EXPECT_EQ(result.size(), 6u);
    for (const Triangle& t : result) EXPECT_EQ(t.part, 0);
    cone->parts.setValue(SoCone::BOTTOM);
    result = triangles();
    EXPECT_EQ(result.size(), 6u);
    for (const Triangle& t : result) EXPECT_EQ(t.part, 1);
    cone->parts.setValue(0);
    EXPECT_TRUE(triangles().empty());
}

TEST_F(SolidShapeTest, ConeSideNormalsLeanByTheSlope) {
    complexity(1.0f);
    materialBinding(SoMaterialBinding::PER_PART);
    auto* cone = add(new SoCone);
    cone->bottomRadius.setValue(1);
    cone->height.setValue(1);
    for (const Triangle& t : triangles()) {
        for (const Vertex& v : t.v) {
            EXPECT_EQ(v.material, t.part);
            // 45 degrees: the normal's y equals its horizontal length.
            if (t.part == 0) {
                EXPECT_NEAR(v.normal[1], radial(v.normal), 1e-5f);
            }
        }
    }
}

TEST_F(SolidShapeTest, CylinderPartsAndSurface) {
    complexity(0.0f);  // 6 slices
    materialBinding(SoMaterialBinding::PER_PART);
    auto* cylinder = add(new SoCylinder);
    cylinder->radius.setValue(3);
    cylinder->height.setValue(2);
    std::vector<Triangle> result = triangles();
    ASSERT_EQ(result.size(), 24u);  // 6 side quads, 6 + 6 disk triangles
    std::map<int, int> perPart;
    for (const Triangle& t : result) {
        ++perPart[t.part];
        for (const Vertex& v : t.v) {
            EXPECT_EQ(v.material, t.part);
            if (t.part == 0) {
                EXPECT_NEAR(radial(v.point), 3.0f, 1e-5f);
                EXPECT_EQ(v.normal[1], 0.0f);
            } else {
                EXPECT_EQ(v.point[1], t.part == 1 ? 1.0f : -1.0f);
                EXPECT_EQ(v.normal, SbVec3f(0, t.part == 1 ? 1.0f : -1.0f, 0));
                EXPECT_LE(radial(v.point), 3.0f + 1e-5f);
            }
        }
    }
    EXPECT_EQ(perPart, (std::map<int, int>{{0, 12}, {1, 6}, {2, 6}}));
    expectOutwardAndUnit(result);
    const std::map<int, size_t> counts = {{SoCylinder::SIDES, 12},
                                          {SoCylinder::TOP, 6},
                                          {SoCylinder::BOTTOM, 6},
                                          {SoCylinder::TOP | SoCylinder::BOTTOM, 12}};
    for (const auto& c : counts) {
        cylinder->parts.setValue(c.first);
        EXPECT_EQ(triangles().size(), c.second) << "parts " << c.first;
    }
}

TEST_F(SolidShapeTest, SolidFieldsAndDefaults) {
    auto* cube = new SoCube;
    auto* sphere = new SoSphere;
    auto* cone = new SoCone;
    auto* cylinder = new SoCylinder;
    for (SoNode* n : std::vector<SoNode*>{cube, sphere, cone, cylinder}) n->ref();
    EXPECT_STREQ(cube->getFieldNameAt(0), "width");
    EXPECT_STREQ(cube->getFieldNameAt(2), "depth");
    EXPECT_EQ(cube->width.getValue(), 2.0f);
    EXPECT_EQ(cube->depth.getValue(), 2.0f);
    EXPECT_EQ(sphere->radius.getValue(), 1.0f);
    EXPECT_STREQ(cone->getFieldNameAt(0), "parts");
    EXPECT_STREQ(cone->getFieldNameAt(1), "bottomRadius");
    EXPECT_EQ(cone->parts.getValue(), SoCone::ALL);
    EXPECT_EQ(cone->height.getValue(), 2.0f);
    EXPECT_STREQ(cylinder->getFieldNameAt(1), "radius");
    EXPECT_EQ(cylinder->parts.getValue(), SoCylinder::ALL);
    EXPECT_EQ(SoCylinder::ALL, SoCylinder::SIDES | SoCylinder::TOP | SoCylinder::BOTTOM);
    int value = 0;
    EXPECT_TRUE(cylinder->parts.findValue("BOTTOM", value));
    EXPECT_EQ(value, 4);
    EXPECT_TRUE(cube->width.isDefault());
    for (SoNode* n : std::vector<SoNode*>{cube, sphere, cone, cylinder}) n->unref();
}

TEST_F(SolidShapeTest, TriangleCountsByComplexity) {
    // s = 6 + round(30 c) slices: cone s sides + s bottom, cylinder 2 s sides + 2 s disks,
    // sphere 2 s (max(3, s / 2) - 1), cube always 12.
    struct Count {
        float complexity;
        size_t cube, sphere, cone, cylinder;
    };
    const Count counts[] = {
        {0.0f, 12, 24, 12, 24}, {0.25f, 12, 2 * 14 * 6, 28, 56}, {1.0f, 12, 2 * 36 * 17, 72, 144}};
    auto* level = add(new SoComplexity);
    for (const Count& c : counts) {
        level->value.setValue(c.complexity);
        const std::pair<SoShape*, size_t> shapes[] = {{new SoCube, c.cube},
                                                      {new SoSphere, c.sphere},
                                                      {new SoCone, c.cone},
                                                      {new SoCylinder, c.cylinder}};
        for (const auto& entry : shapes) {
            root->addChild(entry.first);
            EXPECT_EQ(triangles().size(), entry.second)
                << entry.first->getTypeId().getName().getString() << " at " << c.complexity;
            root->removeChild(entry.first);
        }
    }
}
