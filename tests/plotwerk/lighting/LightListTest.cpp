// The light records follow the traversal state: lights leave with their separator, the same
// light met under another transform is taken from its new place, a light changed between two
// applies of one action is read afresh, and a bad normal is reported rather than printed.

#include <Tessara/base/SoDebugError.h>

#include <cmath>
#include <limits>

#include "LitScene.h"
#include "support/DebugErrorRecorder.h"

using namespace littest;

namespace {

const SbColor kDiffuse(0.5f, 0.4f, 0.3f);

/// A triangle facing +z with no emission and no ambient response: only lights colour it.
SoSeparator* makeTriangle() {
    auto* group = new SoSeparator;
    auto* material = new SoMaterial;
    material->ambientColor.setValue(SbColor(0, 0, 0));
    material->diffuseColor.setValue(kDiffuse);
    group->addChild(material);
    auto* normal = new SoNormal;
    normal->vector.setValue(SbVec3f(0, 0, 1));
    group->addChild(normal);
    auto* binding = new SoNormalBinding;
    binding->value.setValue(SoNormalBinding::OVERALL);
    group->addChild(binding);
    auto* coords = new SoCoordinate3;
    coords->point.setValues(
        {SbVec3f(1, 0, 0), SbVec3f(-0.5f, kSqrt3 / 2, 0), SbVec3f(-0.5f, -kSqrt3 / 2, 0)});
    group->addChild(coords);
    group->addChild(new SoFaceSet);
    return group;
}

/// A scene root with the camera and lighting model of LitScene, and nothing else yet.
SoSeparator* makeRoot() {
    auto* root = new SoSeparator;
    root->addChild(makeCamera());
    root->addChild(new SoLightModel);
    return root;
}

SoRotation* rotationAboutX(float radians) {
    auto* rotation = new SoRotation;
    rotation->rotation.setValue(SbRotation(SbVec3f(1, 0, 0), radians));
    return rotation;
}

/// The first colour of each polygon printed for `root`.
std::vector<SbColor> firstColors(SoNode* root) {
    std::vector<SbColor> result;
    for (const std::vector<SbColor>& polygon : printedColors(root)) {
        EXPECT_FALSE(polygon.empty());
        if (!polygon.empty()) result.push_back(polygon[0]);
    }
    return result;
}

}  // namespace

TEST_F(LightingTest, LightEndsWithItsSeparator) {
    SoSeparator* root = makeRoot();
    root->ref();
    auto* lit = new SoSeparator;
    lit->addChild(new SoDirectionalLight);
    lit->addChild(makeTriangle());
    root->addChild(lit);
    root->addChild(makeTriangle());  // after the separator: in the dark

    const std::vector<SbColor> colors = firstColors(root);
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_TRUE(colors[0].equals(kDiffuse, 1e-5f)) << text(colors[0]);
    EXPECT_TRUE(colors[1].equals(SbColor(0, 0, 0), 1e-6f)) << text(colors[1]);
    root->unref();
}

TEST_F(LightingTest, SameLightUnderAnotherTransformIsTakenFromThere) {
    SoSeparator* root = makeRoot();
    root->ref();
    auto* light = new SoDirectionalLight;  // straight down -z
    auto* first = new SoSeparator;
    first->addChild(light);
    first->addChild(makeTriangle());
    root->addChild(first);
    // The same light node again, turned 45° before it is met; the triangle is not turned.
    auto* second = new SoSeparator;
    second->addChild(rotationAboutX(static_cast<float>(M_PI / 4)));
    second->addChild(light);
    second->addChild(rotationAboutX(static_cast<float>(-M_PI / 4)));
    second->addChild(makeTriangle());
    root->addChild(second);

    const std::vector<SbColor> colors = firstColors(root);
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_TRUE(colors[0].equals(kDiffuse, 1e-5f)) << text(colors[0]);
    EXPECT_TRUE(colors[1].equals(scaled(kDiffuse, kCos45), 1e-5f)) << text(colors[1]);
    root->unref();
}

TEST_F(LightingTest, LightChangedBetweenAppliesIsReadAgain) {
    SoDirectionalLight* light = scene.addDirectional(SbVec3f(0, 0, -1));
    RecordingAction action;
    action.enableLighting(1);
    action.setShadeModel(SoVectorizeAction::SMOOTH);
    action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);

    action.apply(scene.root);
    light->intensity.setValue(0.5f);
    action.apply(scene.root);

    const std::vector<RecordedCall> polygons = action.ofKind(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 2u);
    ASSERT_FALSE(polygons[0].colors.empty());
    ASSERT_FALSE(polygons[1].colors.empty());
    const SbColor full = scene.unlitBase() + kDiffuse;
    const SbColor half = scene.unlitBase() + scaled(kDiffuse, 0.5f);
    EXPECT_TRUE(polygons[0].colors[0].equals(full, 1e-5f)) << text(polygons[0].colors[0]);
    EXPECT_TRUE(polygons[1].colors[0].equals(half, 1e-5f)) << text(polygons[1].colors[0]);
}

TEST_F(LightingTest, NaNNormalIsReportedAndLeftUnlit) {
    scene.addDirectional(SbVec3f(0, 0, -1));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    scene.normal->vector.setValue(SbVec3f(nan, 0, 1));
    DebugErrorRecorder recorder;
    const std::vector<SbColor> colors = triangleColors(scene.root);
    expectAllNear(colors, scene.unlitBase());
    EXPECT_TRUE(recorder.contains("SoVectorizeAction::getLightingColor", "NaN")) << recorder.dump();
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), recorder.size()) << recorder.dump();
}
