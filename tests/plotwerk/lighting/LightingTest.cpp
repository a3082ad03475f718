// Vertex lighting on the printed page: a lit triangle printed through the recording backend
// with its colours kept as computed, so that each case compares the vertex colours with the
// lighting formula worked out from the scene's numbers.
//
// The camera at (0, 0, 8) looks down -z without rotation, so viewing coordinates differ from
// world coordinates only by a shift along z: directions, normals and distances are the same in
// both. The triangle lies in z = 0, faces +z, and its corners are on the unit circle; a light
// on the z axis at height sqrt(3) is therefore 2 away from each corner, 30 degrees off their
// normal.

#include <Tessara/nodes/SoDirectionalLight.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plotwerk/support/SceneText.h"

namespace {

const float kSqrt3 = std::sqrt(3.0f);
const float kCos45 = std::sqrt(0.5f);

SbColor times(const SbColor& a, const SbColor& b) {
    return SbColor(a[0] * b[0], a[1] * b[1], a[2] * b[2]);
}

// The look every case starts from. Before any light shines, a vertex gets the emission plus
// the ambient light 0.5 × (1, 1, 0.5) on the ambient colour (0.1, 0.2, 0.3): kBase.
const char kHead[] = R"(
  OrthographicCamera { position 0 0 8  height 4  nearDistance 1  farDistance 10 }
  LightModel { model PHONG }
  Environment { ambientIntensity 0.5  ambientColor 1 1 0.5 }
  Material { ambientColor 0.1 0.2 0.3  diffuseColor 0.5 0.4 0.3  emissiveColor 0.01 0.02 0.03 }
  Normal { vector 0 0 1 }
  NormalBinding { value OVERALL }
)";
const SbColor kBase = SbColor(0.01f, 0.02f, 0.03f) + SbColor(0.05f, 0.1f, 0.075f);
const SbColor kDiffuse(0.5f, 0.4f, 0.3f);

const std::string kTriangle =
    " Coordinate3 { point [ 1 0 0, -0.5 0.8660254 0, -0.5 -0.8660254 0 ] } FaceSet { } ";

/// The base material with a specular colour ("r g b") and shininess of its own.
std::string shiny(const char* specular, const char* shininess) {
    return std::string("Material { ambientColor 0.1 0.2 0.3  diffuseColor 0.5 0.4 0.3 ") +
           "emissiveColor 0.01 0.02 0.03  specularColor " + specular + "  shininess " + shininess +
           " } ";
}

/// The base environment with attenuation coefficients ("a b c") of its own.
std::string attenuation(const char* coefficients) {
    return std::string("Environment { ambientIntensity 0.5  ambientColor 1 1 0.5  attenuation ") +
           coefficients + " } ";
}

using Polygons = std::vector<std::vector<SbColor>>;

/// The polygons printed for `root`, each with one colour per point.
Polygons printedColors(SoNode* root, SoVectorizeAction::ColorTranslationMethod translation,
                       SoVectorizeAction::ShadeModel shade) {
    RecordingAction action;
    action.enableLighting(1);
    action.setShadeModel(shade);
    action.setColorTranslationMethod(translation);
    action.apply(root);
    Polygons result;
    for (const RecordedCall& call : action.ofKind(RecordedCall::POLYGON)) {
        std::vector<SbColor> colors = call.colors;
        if (!call.multicolor && !colors.empty()) colors.assign(call.points.size(), colors[0]);
        result.push_back(colors);
    }
    return result;
}

/// Three vertices of colour `c`.
std::vector<SbColor> triangle(const SbColor& c) {
    return {c, c, c};
}

bool sameColor(const SbColor& a, const SbColor& b) {
    return a.equals(b, 1e-5f);
}

struct LitCase {
    const char* name;
    std::string body;   ///< the nodes after the head, triangles included
    Polygons expected;  ///< the colours of every polygon printed, per vertex in any order
    SoVectorizeAction::ColorTranslationMethod translation = SoVectorizeAction::KEEP_COLORS;
    SoVectorizeAction::ShadeModel shade = SoVectorizeAction::SMOOTH;
    const char* warning = "";  ///< the source of the warnings the scene must give, about a NaN
};

/// A light shining on the back of the triangle under the given hints: two-sided lighting
/// lights it as if from the front, one-sided lighting leaves it dark. The specular term of
/// the back light reflects away from the eye either way.
LitCase backLit(const char* name, const char* hints, bool twoSided) {
    return {name,
            std::string("ShapeHints { ") + hints + " } " + shiny("1 1 1", "0") +
                "DirectionalLight { direction 0 0 1  intensity 0.5 }" + kTriangle,
            {triangle(kBase + kDiffuse * (twoSided ? 0.5f : 0.0f))}};
}

/// A point light 2 away from every corner, 30 degrees off their normal, under attenuation
/// coefficients that divide its light by `factor` at that distance.
LitCase attenuated(const char* name, const char* coefficients, float factor) {
    return {name,
            attenuation(coefficients) + "PointLight { location 0 0 1.7320508 }" + kTriangle,
            {triangle(kBase + kDiffuse * (kSqrt3 / 2 * factor))}};
}

/// A spot light that must add neither diffuse nor specular light: were it counted, a
/// full-strength highlight would show with shininess 0.
LitCase darkSpot(const char* name, const char* spot) {
    return {
        name, shiny("1 1 1", "0") + "SpotLight { " + spot + " }" + kTriangle, {triangle(kBase)}};
}

// Light colour × intensity of the 45-degree case, its highlight, and the spot's drop-off.
const SbColor kTinted(0.8f, 0.4f, 0.2f);
const float kHighlight45 = std::pow(kCos45, 128.0f * 0.01f);
const float kHighlight30 = std::pow(kSqrt3 / 2, 128.0f * 0.05f);
// A point light right above the first corner, attenuated linearly: that corner is lit
// head-on from 1 away, the two others from 2 away at 60 degrees off their normal.
const std::string kAboveFirstCorner =
    attenuation("0 1 0") + "PointLight { location 1 0 1 }" + kTriangle;
const SbColor kNearCorner = kBase + kDiffuse;
const SbColor kFarCorner = kBase + kDiffuse * 0.25f;
const SbColor kLitGrey = kBase + SbColor(0.2f, 0.2f, 0.2f);

const std::vector<LitCase> kCases = {
    // Not normalised on purpose: the light's direction is normalised before use. The
    // reflected light leaves at 45 degrees towards the eye.
    {"DiffuseAndSpecularAtFortyFiveDegrees",
     shiny("0.5 0.5 0.5", "0.01") +
         "DirectionalLight { direction 0 -1 -1  intensity 0.8  color 1 0.5 0.25 }" + kTriangle,
     {triangle(kBase + times(kTinted, kDiffuse) * kCos45 +
               times(kTinted, SbColor(0.5f, 0.5f, 0.5f)) * kHighlight45)}},
    // A normal tilted 60 degrees from the view axis: the mirrored ray leaves with z = -0.5,
    // away from the eye, so no highlight even with shininess 0.
    {"NoSpecularWhenTheReflectionHeadsAwayFromTheEye",
     shiny("1 1 1", "0") +
         "Normal { vector 0.8660254 0 0.5 } DirectionalLight { direction 0 0 -1 }" + kTriangle,
     {triangle(kBase + kDiffuse * 0.5f)}},
    // Turned half a turn about y, the triangle shows its unlit back to the light.
    {"NormalFollowsTheShapeTransform",
     "DirectionalLight { direction 0 0 -1 } Rotation { rotation 0 1 0 3.1415927 }" + kTriangle,
     {triangle(kBase)}},
    backLit("BackLitWithoutHints", "", false),
    backLit("BackLitOrderedOpenSurface", "vertexOrdering COUNTERCLOCKWISE", true),
    backLit("BackLitOrderedSolid", "vertexOrdering COUNTERCLOCKWISE  shapeType SOLID", false),
    attenuated("AttenuationQuadratic", "0 0 1", 0.25f),
    attenuated("AttenuationSummingToZeroMeansNone", "1 -0.5 0", 1.0f),
    {"PointLightDirectionIsTakenPerVertex",
     kAboveFirstCorner,
     {{kNearCorner, kFarCorner, kFarCorner}}},
    {"FlatShadingAveragesTheThreeVertexColours",
     kAboveFirstCorner,
     {triangle((kNearCorner + kFarCorner + kFarCorner) * (1.0f / 3.0f))},
     SoVectorizeAction::KEEP_COLORS,
     SoVectorizeAction::FLAT},
    // Corners 30 degrees off the axis (cos 30° = 0.866 > cos 0.6 = 0.825): inside the cone.
    // The spot's axis, not the ray to the corner, meets the normal: straight on.
    {"SpotInsideTheConeIsDroppedOffAndAttenuated",
     attenuation("1 0.5 0") + shiny("0.2 0.2 0.2", "0") +
         "SpotLight { location 0 0 1.7320508  direction 0 0 -1  dropOffRate 0.05  cutOffAngle 0.6 "
         "}" +
         kTriangle,
     {triangle(kBase + kDiffuse * (kHighlight30 * 0.5f) +
               SbColor(0.2f, 0.2f, 0.2f) * (kHighlight30 * 0.5f))}},
    // cos 0.53 = 0.863 is just below cos 30°: the corners are barely inside.
    {"SpotWithoutDropOffIsEvenInsideTheCone",
     "SpotLight { location 0 0 1.7320508  direction 0 0 -1  cutOffAngle 0.53 }" + kTriangle,
     {triangle(kBase + kDiffuse)}},
    // Below the triangle pointing further down: a cone that wide would take in the corners'
    // angle, but they lie behind the spot.
    darkSpot("SpotAxisPointsAway", "location 0 0 -1  direction 0 0 -1  cutOffAngle 2.5"),
    darkSpot("SpotConeTooNarrow", "location 0 0 1.7320508  direction 0 0 -1  cutOffAngle 0.5"),
    {"LightsOfDifferentKindsAddUp",
     "DirectionalLight { direction 0 0 -1  intensity 0.5 } PointLight { location 0 0 1.7320508 }" +
         kTriangle,
     {triangle(kBase + kDiffuse * 0.5f + kDiffuse * (kSqrt3 / 2))}},
    {"SumIsClampedAtOneButNotRaisedToZero",
     "Material { ambientColor 0 0 0  diffuseColor 1 0.9 0  emissiveColor 0.6 0.6 -0.5 } "
     "DirectionalLight { } DirectionalLight { } DirectionalLight { }" +
         kTriangle,
     {triangle(SbColor(1, 1, -0.5f))}},
    // Exactly white after clamping, it is nudged just off white so that the swap leaves it.
    {"ClampedWhiteStaysWhiteUnderTheBlackWhiteSwap",
     "Material { diffuseColor 1 1 1  emissiveColor 0.5 0.5 0.5 } DirectionalLight { }" + kTriangle,
     {triangle(SbColor(1, 1, 0.9999f))},
     SoVectorizeAction::SWAP_BLACK_AND_WHITE},
    {"LitWhiteIsInvertedToBlackWithoutTheNudge",
     "Material { ambientColor 0 0 0  diffuseColor 0 0 0  emissiveColor 1 1 1 }" + kTriangle,
     {triangle(SbColor(0, 0, 0))},
     SoVectorizeAction::INVERT_COLORS},
    // The fully transparent vertex is printed unlit, as the base-colour path would print it:
    // its white swapped to black.
    {"FullyTransparentVertexGetsItsTranslatedDiffuseColour",
     "MaterialBinding { value PER_VERTEX } Material { ambientColor 0.1 0.2 0.3 "
     "diffuseColor [ 1 1 1, 0.2 0.2 0.2, 0.2 0.2 0.2 ]  emissiveColor 0.01 0.02 0.03 "
     "transparency [ 1, 0, 0.5 ] } DirectionalLight { }" +
         kTriangle,
     {{SbColor(0, 0, 0), kLitGrey, kLitGrey}},
     SoVectorizeAction::SWAP_BLACK_AND_WHITE},
    {"TriangleOfFullyTransparentVerticesIsNotPrinted",
     "Material { transparency 1 } DirectionalLight { }" + kTriangle,
     {}},
    // The same light node met again, turned 45 degrees; the triangle is not turned.
    {"SameLightUnderAnotherTransformIsTakenFromThere",
     "Separator { DEF L DirectionalLight { } " + kTriangle +
         "} Separator { Rotation { rotation 1 0 0 0.7853982 } USE L "
         "Rotation { rotation 1 0 0 -0.7853982 } " +
         kTriangle + "}" + kTriangle,
     {triangle(kBase + kDiffuse), triangle(kBase + kDiffuse * kCos45), triangle(kBase)}},
    {"NaNNormalIsReportedAndLeftUnlit",
     "DirectionalLight { } Normal { vector nan 0 1 }" + kTriangle,
     {triangle(kBase)},
     SoVectorizeAction::KEEP_COLORS,
     SoVectorizeAction::SMOOTH,
     "SoVectorizeAction::getLightingColor"},
};

using LightingTest = PrintTest;

TEST_F(LightingTest, PrintedColoursFollowTheLightingFormula) {
    for (const LitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        SoSeparator* root = readScene(kHead + c.body);
        ASSERT_NE(root, nullptr);
        DebugErrorRecorder errors;
        const Polygons printed = printedColors(root, c.translation, c.shade);
        root->unref();
        EXPECT_EQ(errors.size() > 0, *c.warning != 0) << errors.dump();
        EXPECT_EQ(errors.countSeverity(SoDebugError::WARNING), errors.size()) << errors.dump();
        EXPECT_TRUE(!*c.warning || errors.contains(c.warning, "NaN")) << errors.dump();
        ASSERT_EQ(printed.size(), c.expected.size());
        // The printer may start a polygon at another corner: the colours match in some order.
        for (size_t i = 0; i < printed.size(); ++i)
            EXPECT_TRUE(std::is_permutation(printed[i].begin(), printed[i].end(),
                                            c.expected[i].begin(), c.expected[i].end(), sameColor))
                << "polygon " << i;
    }
}

TEST_F(LightingTest, LightChangedBetweenAppliesIsReadAgain) {
    SoSeparator* root = readScene(kHead + kTriangle);
    ASSERT_NE(root, nullptr);
    auto* light = new SoDirectionalLight;
    // In the scene's own separator, after the camera.
    static_cast<SoSeparator*>(root->getChild(0))->insertChild(light, 1);
    RecordingAction action;
    action.enableLighting(1);
    action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action.apply(root);
    light->intensity.setValue(0.5f);
    action.apply(root);
    root->unref();

    const std::vector<RecordedCall> polygons = action.ofKind(RecordedCall::POLYGON);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_TRUE(sameColor(polygons[0].colors[0], kBase + kDiffuse));
    EXPECT_TRUE(sameColor(polygons[1].colors[0], kBase + kDiffuse * 0.5f));
}

}  // namespace
