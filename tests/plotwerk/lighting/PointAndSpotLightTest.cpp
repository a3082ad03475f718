// Point and spot lights: attenuation with distance, per-vertex light directions, the spot
// cone and its drop-off, and lights that must add nothing at all.

#include <cmath>
#include <ostream>

#include "LitScene.h"

using namespace littest;

namespace {

const SbColor kDiffuse(0.5f, 0.4f, 0.3f);  // the scene's material

struct AttenuationCase {
    const char* name;
    SbVec3f coefficients;
    float factor;  // at distance 2
};

void PrintTo(const AttenuationCase& c, std::ostream* os) {
    *os << c.name;
}

class Attenuation : public LightingTest, public ::testing::WithParamInterface<AttenuationCase> {};

}  // namespace

TEST_P(Attenuation, PointLightTwoAwayIsDividedByTheQuadratic) {
    const AttenuationCase& c = GetParam();
    scene.environment->attenuation.setValue(c.coefficients);
    scene.addPoint(SbVec3f(0, 0, kSqrt3));  // 2 away from every corner, 30° off the normal
    const SbColor expected = scene.unlitBase() + scaled(kDiffuse, kSqrt3 / 2 * c.factor);
    expectAllNear(triangleColors(scene.root), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Coefficients, Attenuation,
    ::testing::Values(AttenuationCase{"AllZeroMeansNone", SbVec3f(0, 0, 0), 1.0f},
                      AttenuationCase{"ConstantOnly", SbVec3f(1, 0, 0), 1.0f},
                      AttenuationCase{"ConstantAndLinear", SbVec3f(1, 0.5f, 0), 0.5f},
                      AttenuationCase{"LinearOnly", SbVec3f(0, 1, 0), 0.5f},
                      AttenuationCase{"QuadraticOnly", SbVec3f(0, 0, 1), 0.25f},
                      AttenuationCase{"NegativeSumMeansNone", SbVec3f(-1, 0, 0), 1.0f},
                      AttenuationCase{"ZeroSumMeansNone", SbVec3f(1, -0.5f, 0), 1.0f}),
    [](const ::testing::TestParamInfo<AttenuationCase>& info) { return info.param.name; });

TEST_F(LightingTest, PointLightSpecularIsAttenuatedToo) {
    scene.environment->attenuation.setValue(SbVec3f(1, 0.5f, 0));  // 1/2 at distance 2
    scene.addPoint(SbVec3f(0, 0, kSqrt3));
    scene.material->specularColor.setValue(SbColor(0.4f, 0.4f, 0.4f));
    scene.material->shininess.setValue(0.05f);
    // Light to corner (x, y, -√3)/2: N·L = -√3/2, and the mirrored ray's z is √3/2.
    const float facing = kSqrt3 / 2;
    const float highlight = std::pow(kSqrt3 / 2, 128.0f * 0.05f);
    const SbColor expected = scene.unlitBase() + scaled(kDiffuse, facing * 0.5f) +
                             scaled(SbColor(0.4f, 0.4f, 0.4f), highlight * 0.5f);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, PointLightDirectionIsTakenPerVertex) {
    // Right above the first corner: that corner is lit head-on from distance 1, the two
    // others from distance 2 at 60° off their normal.
    scene.environment->attenuation.setValue(SbVec3f(0, 1, 0));
    scene.addPoint(SbVec3f(1, 0, 1));
    const SbColor near = scene.unlitBase() + kDiffuse;
    const SbColor far = scene.unlitBase() + scaled(kDiffuse, 0.5f * 0.5f);
    expectSameColors(triangleColors(scene.root), {near, far, far});
}

TEST_F(LightingTest, SpotLightInsideTheConeIsDroppedOffAndAttenuated) {
    scene.environment->attenuation.setValue(SbVec3f(1, 0.5f, 0));  // 1/2 at distance 2
    scene.addSpot(SbVec3f(0, 0, kSqrt3), SbVec3f(0, 0, -1), 0.05f, 0.6f);
    scene.material->specularColor.setValue(SbColor(0.2f, 0.2f, 0.2f));
    scene.material->shininess.setValue(0.0f);
    // Each corner is 30° off the axis (cos 30° = 0.866 > cos 0.6 = 0.825): inside the cone.
    const float spot = std::pow(kSqrt3 / 2, 128.0f * 0.05f);
    // The spot's axis, not the ray to the corner, is what meets the normal: straight on.
    const SbColor expected = scene.unlitBase() + scaled(kDiffuse, spot * 0.5f) +
                             scaled(SbColor(0.2f, 0.2f, 0.2f), spot * 0.5f);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, SpotLightWithoutDropOffIsEvenInsideTheCone) {
    scene.addSpot(SbVec3f(0, 0, kSqrt3), SbVec3f(0, 0, -1), 0.0f, 0.53f);
    // cos 0.53 = 0.863 is just below cos 30°: the corners are barely inside.
    expectAllNear(triangleColors(scene.root), scene.unlitBase() + kDiffuse);
}

namespace {

struct DarkSpotCase {
    const char* name;
    SbVec3f location;
    SbVec3f direction;
    float cutOffAngle;
};

void PrintTo(const DarkSpotCase& c, std::ostream* os) {
    *os << c.name;
}

class DarkSpot : public LightingTest, public ::testing::WithParamInterface<DarkSpotCase> {};

}  // namespace

TEST_P(DarkSpot, AddsNeitherDiffuseNorSpecular) {
    const DarkSpotCase& c = GetParam();
    scene.addSpot(c.location, c.direction, 0.0f, c.cutOffAngle);
    // Were the spot counted, a full-strength highlight would show with shininess 0.
    scene.material->specularColor.setValue(SbColor(1, 1, 1));
    scene.material->shininess.setValue(0.0f);
    expectAllNear(triangleColors(scene.root), scene.unlitBase());
}

INSTANTIATE_TEST_SUITE_P(
    Spots, DarkSpot,
    ::testing::Values(
        // Below the triangle, pointing further down: the surface faces the axis (N·axis = -1)
        // but every corner lies behind the spot, even though a cone that wide (cos 2.5 < 0)
        // would take in their angle.
        DarkSpotCase{"AxisPointsAway", SbVec3f(0, 0, -1), SbVec3f(0, 0, -1), 2.5f},
        // Above, pointing down, but the corners are 30° off the axis and the cone is 0.5 rad.
        DarkSpotCase{"ConeTooNarrow", SbVec3f(0, 0, kSqrt3), SbVec3f(0, 0, -1), 0.5f},
        // Aimed well to the side of the triangle.
        DarkSpotCase{"AimedElsewhere", SbVec3f(0, 0, 1), SbVec3f(1, 0, -0.2f), 0.3f}),
    [](const ::testing::TestParamInfo<DarkSpotCase>& info) { return info.param.name; });
