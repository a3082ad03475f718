// Lit colours: OpenGL's lighting fed from the scene's lights, materials and environment,
// checked against values worked out by hand, and flat against smooth shading.

#include <Tessara/nodes/SoComplexity.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoEnvironment.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoPointLight.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <Tessara/nodes/SoSphere.h>
#include <Tessara/nodes/SoSpotLight.h>

#include <cmath>
#include <vector>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

using LightingTest = RenderTest;

/// The byte OpenGL writes for a colour component.
int byteOf(float value) {
    return static_cast<int>(std::lround(std::min(value, 1.0f) * 255.0f));
}

/// A plane of n x n quads over x, y in [-1, 1] at z = 0, all with the normal +z, fine
/// enough for per-vertex lighting to show where a point or spot light falls.
SoSeparator* grid(int n) {
    auto* group = new SoSeparator;
    auto* normal = new SoNormal;
    normal->vector.setValue(SbVec3f(0, 0, 1));
    group->addChild(normal);
    auto* binding = new SoNormalBinding;
    binding->value.setValue(SoNormalBinding::OVERALL);
    group->addChild(binding);
    auto* coords = new SoCoordinate3;
    auto* faces = new SoFaceSet;
    std::vector<SbVec3f> points;
    std::vector<int32_t> counts;
    const float step = 2.0f / static_cast<float>(n);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float x = -1.0f + i * step, y = -1.0f + j * step;
            points.insert(points.end(), {SbVec3f(x, y, 0), SbVec3f(x + step, y, 0),
                                         SbVec3f(x + step, y + step, 0), SbVec3f(x, y + step, 0)});
            counts.push_back(4);
        }
    }
    coords->point.setValues(0, static_cast<int>(points.size()), points.data());
    faces->numVertices.setValues(0, static_cast<int>(counts.size()), counts.data());
    group->addChild(coords);
    group->addChild(faces);
    return group;
}

SoDirectionalLight* addDirectionalLight(SoGroup* root, const SbVec3f& direction) {
    auto* light = new SoDirectionalLight;
    light->direction.setValue(direction);
    root->addChild(light);
    return light;
}

TEST_F(LightingTest, FaceTowardsTheLightGetsAmbientPlusDiffuse) {
    addCamera(root);
    addDirectionalLight(root, SbVec3f(0, 0, -1));
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(1.0f, 0.5f, 0.0f));
    material->ambientColor.setValue(SbColor(0.2f, 0.2f, 0.2f));
    root->addChild(material);
    root->addChild(rectangle(-1, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    // Environment ambient 0.2 x material ambient 0.2, plus the diffuse colour at full face.
    const Rgba c = pixelAt(renderer, 8, 8);
    EXPECT_TRUE(near(c, byteOf(1.04f), byteOf(0.54f), byteOf(0.04f))) << c;
}

TEST_F(LightingTest, WithoutLightsOnlyEmissionAndAmbientRemain) {
    addCamera(root);
    auto* environment = new SoEnvironment;
    environment->ambientIntensity.setValue(1.0f);
    environment->ambientColor.setValue(SbColor(1.0f, 0.5f, 1.0f));
    root->addChild(environment);
    auto* material = new SoMaterial;
    material->ambientColor.setValue(SbColor(0.5f, 0.5f, 0.0f));
    material->emissiveColor.setValue(SbColor(0.0f, 0.0f, 0.25f));
    root->addChild(material);
    root->addChild(rectangle(-1, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    const Rgba c = pixelAt(renderer, 8, 8);
    EXPECT_TRUE(near(c, byteOf(0.5f), byteOf(0.25f), byteOf(0.25f))) << c;
}

TEST_F(LightingTest, BaseColorModelIgnoresTheLights) {
    addCamera(root);
    addDirectionalLight(root, SbVec3f(0, 0, -1));
    addUnlitColor(root, SbColor(0.2f, 0.4f, 0.6f));
    root->addChild(rectangle(-1, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    EXPECT_TRUE(near(pixelAt(renderer, 8, 8), 51, 102, 153, 0)) << pixelAt(renderer, 8, 8);
}

TEST_F(LightingTest, SphereIsBrighterTowardsTheLight) {
    addCamera(root);
    // Light travelling towards -x: it comes from the right.
    addDirectionalLight(root, SbVec3f(-1, 0, 0));
    auto* sphere = new SoSphere;
    sphere->radius.setValue(0.8f);
    root->addChild(sphere);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    const Rgba left = pixelAt(renderer, 12, 32), middle = pixelAt(renderer, 32, 32),
               right = pixelAt(renderer, 52, 32);
    // Facing away from the light: ambient only (0.2 x 0.2 grey).
    EXPECT_TRUE(near(left, 10, 10, 10)) << left;
    // Facing the viewer, edge-on to the light: ambient and almost no diffuse light.
    EXPECT_LT(middle.r, 30) << middle;
    // Turned about 60 degrees towards the light: 0.04 + 0.8 x cos(30 degrees) or so.
    EXPECT_GT(right.r, 150) << right;
    EXPECT_LT(right.r, 200) << right;
    EXPECT_EQ(right.r, right.g);
    EXPECT_EQ(right.g, right.b);
}

TEST_F(LightingTest, SphereFacingTheLightMatchesTheLightingFormula) {
    addCamera(root);
    addDirectionalLight(root, SbVec3f(0, 0, -1));
    auto* complexity = new SoComplexity;
    complexity->value.setValue(1.0f);
    root->addChild(complexity);
    root->addChild(new SoSphere);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // At (x, 0) on the unit sphere the normal's z is sqrt(1 - x^2): 0.04 + 0.8 z.
    for (const int column : {32, 40, 48, 56}) {
        const float x = pixelCentre(column);
        const int expected = byteOf(0.04f + 0.8f * std::sqrt(1.0f - x * x));
        const Rgba c = pixelAt(renderer, column, 32);
        EXPECT_TRUE(near(c, expected, expected, expected, 4)) << "column " << column << ": " << c;
    }
}

TEST_F(LightingTest, PointLightIsAttenuatedByTheEnvironment) {
    addCamera(root);
    auto* environment = new SoEnvironment;
    environment->ambientIntensity.setValue(0.0f);
    environment->attenuation.setValue(SbVec3f(0.0f, 0.0f, 4.0f));
    root->addChild(environment);
    auto* light = new SoPointLight;
    light->location.setValue(SbVec3f(0, 0, 1));
    root->addChild(light);
    root->addChild(grid(32));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // Straight below the light: distance 1, so 1 / (4 x 1^2) of the 0.8 diffuse.
    const Rgba centre = pixelAt(renderer, 32, 32);
    EXPECT_TRUE(near(centre, byteOf(0.2f), byteOf(0.2f), byteOf(0.2f), 3)) << centre;
    // Towards a corner the light is farther and more oblique: darker.
    EXPECT_LT(pixelAt(renderer, 4, 4).r, centre.r / 3);
}

TEST_F(LightingTest, SpotLightLightsItsConeOnly) {
    addCamera(root);
    auto* light = new SoSpotLight;
    light->location.setValue(SbVec3f(0, 0, 2));
    light->direction.setValue(SbVec3f(0, 0, -1));
    light->cutOffAngle.setValue(0.2f);  // a disc of radius 2 tan(0.2) = 0.405 at z = 0
    root->addChild(light);
    root->addChild(grid(40));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    const Rgba inside = pixelAt(renderer, 32, 32), outside = pixelAt(renderer, 32, 52);
    EXPECT_TRUE(near(inside, byteOf(0.84f), byteOf(0.84f), byteOf(0.84f), 3)) << inside;
    EXPECT_TRUE(near(outside, 10, 10, 10)) << outside;
}

TEST_F(LightingTest, LightsOnlyShineOnWhatFollowsThemInTheirSeparator) {
    addCamera(root);
    auto* left = new SoSeparator;
    addDirectionalLight(left, SbVec3f(0, 0, -1));
    left->addChild(rectangle(-1, -1, 0, 1));
    root->addChild(left);
    root->addChild(rectangle(0, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    EXPECT_TRUE(near(pixelAt(renderer, 4, 8), 214, 214, 214)) << pixelAt(renderer, 4, 8);
    EXPECT_TRUE(near(pixelAt(renderer, 12, 8), 10, 10, 10)) << pixelAt(renderer, 12, 8);
}

TEST_F(LightingTest, TwoSidedLightingWhenOrderingIsKnownAndShapeNotSolid) {
    addCamera(root);
    addDirectionalLight(root, SbVec3f(0, 0, -1));
    auto* hints = new SoShapeHints;
    root->addChild(hints);
    // A face wound clockwise on screen whose normal points away from the viewer and the
    // light: its back is what is seen.
    auto* normal = new SoNormal;
    normal->vector.setValue(SbVec3f(0, 0, -1));
    root->addChild(normal);
    auto* binding = new SoNormalBinding;
    binding->value.setValue(SoNormalBinding::OVERALL);
    root->addChild(binding);
    root->addChild(rectangle(-1, -1, 1, 1, 0.0f, true));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));

    renderRoot(renderer);  // unknown ordering: one-sided, the light is behind the normal
    EXPECT_TRUE(near(pixelAt(renderer, 8, 8), 10, 10, 10)) << pixelAt(renderer, 8, 8);

    hints->vertexOrdering.setValue(SoShapeHints::COUNTERCLOCKWISE);
    renderRoot(renderer);  // the back side is lit with the reversed normal
    EXPECT_TRUE(near(pixelAt(renderer, 8, 8), 214, 214, 214)) << pixelAt(renderer, 8, 8);
}

TEST_F(LightingTest, SmoothShadingBlendsVertexColoursFlatTakesTheLastVertex) {
    addCamera(root);
    auto* model = new SoLightModel;
    model->model.setValue(SoLightModel::BASE_COLOR);
    root->addChild(model);
    auto* material = new SoMaterial;
    material->diffuseColor.setValues({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)});
    root->addChild(material);
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_VERTEX);
    root->addChild(binding);
    auto* coords = new SoCoordinate3;
    coords->point.setValues({SbVec3f(-1, -1, 0), SbVec3f(1, -1, 0), SbVec3f(0, 1, 0)});
    root->addChild(coords);
    root->addChild(new SoFaceSet);
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));

    renderRoot(renderer);
    // The centroid (0, -1/3) is row 21: equal parts of the three colours.
    const Rgba centroid = pixelAt(renderer, 32, 21);
    EXPECT_TRUE(near(centroid, 85, 85, 85, 4)) << centroid;
    EXPECT_GT(pixelAt(renderer, 4, 1).r, 200);
    EXPECT_GT(pixelAt(renderer, 59, 1).g, 200);

    renderer.getGLRenderAction().setSmoothShading(false);
    EXPECT_FALSE(renderer.getGLRenderAction().isSmoothShading());
    renderRoot(renderer);
    const int covered = countPixels(renderer, [](Rgba c) { return !isBlack(c); });
    EXPECT_GT(covered, 900);
    EXPECT_EQ(countPixels(renderer, [](Rgba c) { return near(c, 0, 0, 255, 0); }), covered);
}

TEST_F(LightingTest, MoreLightsThanOpenGLHasAreReportedOnce) {
    addCamera(root);
    for (int i = 0; i < 10; ++i) addDirectionalLight(root, SbVec3f(0, 0, -1));
    root->addChild(rectangle(-1, -1, 0, 1));
    root->addChild(rectangle(0, -1, 1, 1));
    DebugErrorRecorder errors;
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), 1u) << errors.dump();
    EXPECT_TRUE(errors.contains("SoGLRenderAction::apply", "10 lights")) << errors.dump();
    // Eight lights of diffuse 0.8 saturate the grey.
    EXPECT_TRUE(near(pixelAt(renderer, 8, 8), 255, 255, 255, 0));
}

}  // namespace
