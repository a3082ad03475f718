// What becomes of the lit colour: lights add up, the sum is clamped at 1, a lit white
// survives the default black/white swap, the translation is applied, flat shading averages,
// and a fully transparent vertex keeps its unlit colour.

#include "LitScene.h"

using namespace littest;

namespace {

const SbColor kDiffuse(0.5f, 0.4f, 0.3f);  // the scene's material

/// A material that shines exactly `emission`, whatever the environment.
void makeEmissive(LitScene& scene, const SbColor& emission) {
    scene.material->ambientColor.setValue(SbColor(0, 0, 0));
    scene.material->diffuseColor.setValue(SbColor(0, 0, 0));
    scene.material->emissiveColor.setValue(emission);
}

}  // namespace

TEST_F(LightingTest, LightsOfDifferentKindsAddUp) {
    scene.addDirectional(SbVec3f(0, 0, -1), 0.5f);
    scene.addPoint(SbVec3f(0, 0, kSqrt3));
    const SbColor expected =
        scene.unlitBase() + scaled(kDiffuse, 0.5f) + scaled(kDiffuse, kSqrt3 / 2);
    expectAllNear(triangleColors(scene.root), expected);
}

TEST_F(LightingTest, BrightMaterialUnderSeveralLightsStopsAtOne) {
    scene.material->ambientColor.setValue(SbColor(0, 0, 0));
    scene.material->diffuseColor.setValue(SbColor(1, 0.9f, 0));
    scene.material->emissiveColor.setValue(SbColor(0.6f, 0.6f, 0.1f));
    for (int i = 0; i < 3; ++i) scene.addDirectional(SbVec3f(0, 0, -1));
    for (const SbColor& c : triangleColors(scene.root)) {
        EXPECT_EQ(c[0], 1.0f);
        EXPECT_EQ(c[1], 1.0f);
        EXPECT_FLOAT_EQ(c[2], 0.1f);  // below 1: left as it is
    }
}

TEST_F(LightingTest, NegativeTermsAreNotRaisedToZero) {
    makeEmissive(scene, SbColor(-0.5f, 0.25f, 0));
    expectAllNear(triangleColors(scene.root), SbColor(-0.5f, 0.25f, 0));
}

TEST_F(LightingTest, LitWhiteStaysWhiteUnderTheDefaultTranslation) {
    makeEmissive(scene, SbColor(1, 1, 1));
    PrintSettings settings;
    settings.translation = SoVectorizeAction::SWAP_BLACK_AND_WHITE;
    for (const SbColor& c : triangleColors(scene.root, settings)) {
        EXPECT_EQ(c[0], 1.0f);
        EXPECT_EQ(c[1], 1.0f);
        EXPECT_EQ(c[2], 0.9999f);  // just off white, so the swap leaves it alone
        EXPECT_EQ(c.getPackedValue() & 0xFFFFFFu, 0xFFFFFFu);
    }
}

TEST_F(LightingTest, ClampedWhiteStaysWhiteUnderTheDefaultTranslation) {
    scene.material->diffuseColor.setValue(SbColor(1, 1, 1));
    scene.material->emissiveColor.setValue(SbColor(0.5f, 0.5f, 0.5f));
    scene.addDirectional(SbVec3f(0, 0, -1));
    PrintSettings settings;
    settings.translation = SoVectorizeAction::SWAP_BLACK_AND_WHITE;
    expectAllNear(triangleColors(scene.root, settings), SbColor(1, 1, 0.9999f), 0.0f);
}

TEST_F(LightingTest, LitBlackIsSwappedToWhite) {
    makeEmissive(scene, SbColor(0, 0, 0));
    PrintSettings settings;
    settings.translation = SoVectorizeAction::SWAP_BLACK_AND_WHITE;
    expectAllNear(triangleColors(scene.root, settings), SbColor(1, 1, 1), 0.0f);
}

TEST_F(LightingTest, LitWhiteIsInvertedToBlackWithoutTheNudge) {
    // The nudge only protects white from the swap; inverting white must still give black.
    makeEmissive(scene, SbColor(1, 1, 1));
    PrintSettings settings;
    settings.translation = SoVectorizeAction::INVERT_COLORS;
    expectAllNear(triangleColors(scene.root, settings), SbColor(0, 0, 0), 0.0f);
}

TEST_F(LightingTest, FlatShadingAveragesTheThreeVertexColours) {
    // The light right above one corner gives that corner a colour of its own.
    scene.environment->attenuation.setValue(SbVec3f(0, 1, 0));
    scene.addPoint(SbVec3f(1, 0, 1));
    const SbColor near = scene.unlitBase() + kDiffuse;
    const SbColor far = scene.unlitBase() + scaled(kDiffuse, 0.25f);
    expectSameColors(triangleColors(scene.root), {near, far, far});

    PrintSettings flat;
    flat.shade = SoVectorizeAction::FLAT;
    const SbColor mean = scaled(near + far + far, 1.0f / 3.0f);
    expectAllNear(triangleColors(scene.root, flat), mean);
}

TEST_F(LightingTest, FullyTransparentVertexGetsItsTranslatedDiffuseColour) {
    scene.materialBinding->value.setValue(SoMaterialBinding::PER_VERTEX);
    scene.material->diffuseColor.setValues(
        {SbColor(0.3f, 0.5f, 0.7f), SbColor(0.2f, 0.2f, 0.2f), SbColor(0.2f, 0.2f, 0.2f)});
    scene.material->transparency.setValues({1.0f, 0.0f, 0.5f});
    scene.addDirectional(SbVec3f(0, 0, -1));
    PrintSettings settings;
    settings.translation = SoVectorizeAction::INVERT_COLORS;

    const SbColor lit = scene.unlitBase() + SbColor(0.2f, 0.2f, 0.2f);
    const SbColor litInverted(1 - lit[0], 1 - lit[1], 1 - lit[2]);
    // Unlit, as the base-colour path would print it: inverted diffuse.
    const SbColor transparentInverted(0.7f, 0.5f, 0.3f);
    expectSameColors(triangleColors(scene.root, settings),
                     {transparentInverted, litInverted, litInverted});
}

TEST_F(LightingTest, TriangleOfFullyTransparentVerticesIsNotPrinted) {
    scene.material->transparency.setValue(1.0f);
    scene.addDirectional(SbVec3f(0, 0, -1));
    EXPECT_TRUE(printedColors(scene.root).empty());
}
