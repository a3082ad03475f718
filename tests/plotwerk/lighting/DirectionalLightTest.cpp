// Directional lights: the diffuse and specular terms for known angles, the light's own
// transform, and which side of a surface is lit with one- and two-sided lighting.

#include <cmath>
#include <ostream>

#include "LitScene.h"

using namespace littest;

TEST_F(LightingTest, HeadOnLightAddsTheWholeDiffuseColour) {
    scene.addDirectional(SbVec3f(0, 0, -1));
    const SbColor expected = scene.unlitBase() + SbColor(0.5f, 0.4f, 0.3f);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, DiffuseAndSpecularAtFortyFiveDegrees) {
    // Not normalised on purpose: the light's direction is normalised before use.
    scene.addDirectional(SbVec3f(0, -1, -1), 0.8f, SbColor(1, 0.5f, 0.25f));
    scene.material->specularColor.setValue(SbColor(0.5f, 0.5f, 0.5f));
    scene.material->shininess.setValue(0.01f);

    const SbColor lightColor(0.8f, 0.4f, 0.2f);  // intensity × colour
    // N = +z, L = (0, -1, -1)/√2: the surface sees cos 45° of the light.
    const SbColor diffuse = scaled(times(lightColor, SbColor(0.5f, 0.4f, 0.3f)), kCos45);
    // The reflected light leaves at 45° towards the eye: its z is L.z - 2 (N·L) N.z = cos 45°.
    const float highlight = std::pow(kCos45, 128.0f * 0.01f);
    const SbColor specular = scaled(times(lightColor, SbColor(0.5f, 0.5f, 0.5f)), highlight);

    expectAllNear(triangleColors(scene.root), scene.unlitBase() + diffuse + specular);
}

TEST_F(LightingTest, NoSpecularWhenTheReflectionHeadsAwayFromTheEye) {
    // A normal tilted 60° from the view axis, light straight down the view axis: the surface
    // sees cos 60° of it, but the mirrored ray leaves with z = -1 + 2 cos² 60° = -0.5, away
    // from the eye. With shininess 0 any reflection towards the eye would add the whole
    // specular colour.
    const float tilt = static_cast<float>(M_PI / 3);
    scene.normal->vector.setValue(SbVec3f(std::sin(tilt), 0, std::cos(tilt)));
    scene.addDirectional(SbVec3f(0, 0, -1));
    scene.material->specularColor.setValue(SbColor(1, 1, 1));
    scene.material->shininess.setValue(0.0f);
    const SbColor expected = scene.unlitBase() + scaled(SbColor(0.5f, 0.4f, 0.3f), std::cos(tilt));
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, ZeroShininessGivesTheWholeSpecularColour) {
    scene.addDirectional(SbVec3f(0, 0, -1), 0.5f);
    scene.material->specularColor.setValue(SbColor(0.3f, 0.2f, 0.1f));
    scene.material->shininess.setValue(0.0f);
    const SbColor expected = scene.unlitBase() + scaled(SbColor(0.5f, 0.4f, 0.3f), 0.5f) +
                             scaled(SbColor(0.3f, 0.2f, 0.1f), 0.5f);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, LightFollowsItsOwnTransform) {
    // A light pointing straight down, turned 45° about x before it is met; the triangle
    // itself is turned back so that it still faces +z.
    auto* tilt = new SoRotation;
    tilt->rotation.setValue(SbRotation(SbVec3f(1, 0, 0), static_cast<float>(M_PI / 4)));
    scene.lights->addChild(tilt);
    scene.addDirectional(SbVec3f(0, 0, -1));
    scene.shapeRotation->rotation.setValue(
        SbRotation(SbVec3f(1, 0, 0), static_cast<float>(-M_PI / 4)));

    const SbColor expected = scene.unlitBase() + scaled(SbColor(0.5f, 0.4f, 0.3f), kCos45);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, NormalFollowsTheShapeTransform) {
    // Turned half a turn about y, the triangle faces -z: a light shining down on +z now hits
    // its back, which one-sided lighting leaves dark.
    scene.addDirectional(SbVec3f(0, 0, -1));
    scene.shapeRotation->rotation.setValue(SbRotation(SbVec3f(0, 1, 0), static_cast<float>(M_PI)));
    expectAllNear(triangleColors(scene.root), scene.unlitBase());
}

TEST_F(LightingTest, SurfaceFacingAwayGetsOnlyEmissionAndAmbient) {
    scene.addDirectional(SbVec3f(0, 0, 1));  // shines on the back of the triangle
    scene.material->specularColor.setValue(SbColor(1, 1, 1));
    scene.material->shininess.setValue(0.0f);
    expectAllNear(triangleColors(scene.root), scene.unlitBase());
}

namespace {

struct SidednessCase {
    const char* name;
    SoShapeHints::VertexOrdering ordering;
    SoShapeHints::ShapeType shapeType;
    bool twoSided;
};

void PrintTo(const SidednessCase& c, std::ostream* os) {
    *os << c.name;
}

class Sidedness : public LightingTest, public ::testing::WithParamInterface<SidednessCase> {};

}  // namespace

TEST_P(Sidedness, BackLitSurfaceIsLitOnlyWithTwoSidedLighting) {
    const SidednessCase& c = GetParam();
    scene.hints->vertexOrdering.setValue(c.ordering);
    scene.hints->shapeType.setValue(c.shapeType);
    scene.addDirectional(SbVec3f(0, 0, 1), 0.5f);
    // The specular term of the back light reflects away from the eye either way.
    scene.material->specularColor.setValue(SbColor(1, 1, 1));
    scene.material->shininess.setValue(0.0f);

    SbColor expected = scene.unlitBase();
    if (c.twoSided) expected += scaled(SbColor(0.5f, 0.4f, 0.3f), 0.5f);
    expectAllNear(triangleColors(scene.root), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hints, Sidedness,
    ::testing::Values(SidednessCase{"NoHints", SoShapeHints::UNKNOWN_ORDERING,
                                    SoShapeHints::UNKNOWN_SHAPE_TYPE, false},
                      SidednessCase{"OrderedOpenSurface", SoShapeHints::COUNTERCLOCKWISE,
                                    SoShapeHints::UNKNOWN_SHAPE_TYPE, true},
                      SidednessCase{"ClockwiseOpenSurface", SoShapeHints::CLOCKWISE,
                                    SoShapeHints::UNKNOWN_SHAPE_TYPE, true},
                      SidednessCase{"OrderedSolid", SoShapeHints::COUNTERCLOCKWISE,
                                    SoShapeHints::SOLID, false},
                      SidednessCase{"UnorderedSolid", SoShapeHints::UNKNOWN_ORDERING,
                                    SoShapeHints::SOLID, false}),
    [](const ::testing::TestParamInfo<SidednessCase>& info) { return info.param.name; });

TEST_F(LightingTest, TwoSidedBackLightMatchesTheSameLightInFront) {
    scene.hints->vertexOrdering.setValue(SoShapeHints::COUNTERCLOCKWISE);
    SoDirectionalLight* light = scene.addDirectional(SbVec3f(0.3f, 0.4f, 0.5f));
    const std::vector<SbColor> fromBehind = triangleColors(scene.root);
    light->direction.setValue(SbVec3f(0.3f, 0.4f, -0.5f));
    const std::vector<SbColor> inFront = triangleColors(scene.root);
    ASSERT_EQ(fromBehind.size(), 3u);
    ASSERT_EQ(inFront.size(), 3u);
    expectAllNear(fromBehind, inFront[0]);
    // And that is more than the unlit colour: the light did reach it.
    EXPECT_GT(inFront[0][0], scene.unlitBase()[0] + 0.1f);
}
