#pragma once

// A lit triangle in front of an orthographic camera, printed through the recording backend
// with colours kept as computed, so that the lighting tests can read vertex colours directly.
//
// The camera sits at (0, 0, 8) looking down -z without rotation, so viewing coordinates differ
// from world coordinates only by a shift along z: directions, normals and distances are the
// same in both, which lets the tests compute expected colours from the scene's own numbers.
// The triangle lies in z = 0, faces +z, and its corners are on the unit circle; a light on
// the z axis at height sqrt(3) is therefore exactly 2 away from each corner.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoEnvironment.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPointLight.h>
#include <Tessara/nodes/SoRotation.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <Tessara/nodes/SoSpotLight.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "plotwerk/support/RecordingAction.h"

namespace littest {

const float kSqrt3 = std::sqrt(3.0f);
const float kCos45 = std::sqrt(0.5f);

/// Looks down -z at the origin from 8 away. The near clipping of the printed view keeps only
/// what lies somewhat deeper than the near plane itself (beyond 6.5 units for these clipping
/// distances), so the scene stays well inside the far end.
inline SoOrthographicCamera* makeCamera() {
    auto* camera = new SoOrthographicCamera;
    camera->position.setValue(SbVec3f(0, 0, 8));
    camera->height.setValue(4.0f);
    camera->nearDistance.setValue(1.0f);
    camera->farDistance.setValue(10.0f);
    return camera;
}

/// Builds the scene; tests change its nodes, then print it.
class LitScene {
  public:
    LitScene() {
        root = new SoSeparator;
        root->ref();
        camera = add(makeCamera());
        lightModel = add(new SoLightModel);
        lightModel->model.setValue(SoLightModel::PHONG);
        environment = add(new SoEnvironment);
        environment->ambientIntensity.setValue(0.5f);
        environment->ambientColor.setValue(SbColor(1, 1, 0.5f));
        lights = add(new SoGroup);
        hints = add(new SoShapeHints);
        shapeRotation = add(new SoRotation);
        material = add(new SoMaterial);
        material->ambientColor.setValue(SbColor(0.1f, 0.2f, 0.3f));
        material->diffuseColor.setValue(SbColor(0.5f, 0.4f, 0.3f));
        material->specularColor.setValue(SbColor(0, 0, 0));
        material->emissiveColor.setValue(SbColor(0.01f, 0.02f, 0.03f));
        materialBinding = add(new SoMaterialBinding);
        normal = add(new SoNormal);
        normal->vector.setValue(SbVec3f(0, 0, 1));
        auto* normalBinding = add(new SoNormalBinding);
        normalBinding->value.setValue(SoNormalBinding::OVERALL);
        auto* coords = add(new SoCoordinate3);
        coords->point.setValues(
            {SbVec3f(1, 0, 0), SbVec3f(-0.5f, kSqrt3 / 2, 0), SbVec3f(-0.5f, -kSqrt3 / 2, 0)});
        add(new SoFaceSet);
    }
    ~LitScene() { root->unref(); }
    LitScene(const LitScene&) = delete;
    LitScene& operator=(const LitScene&) = delete;

    /// Emission plus the environment's ambient light on the material's ambient colour: what
    /// a vertex gets before any light shines on it.
    SbColor unlitBase() const {
        const SbColor ka = material->ambientColor[0];
        const SbColor env = environment->ambientColor.getValue();
        const float intensity = environment->ambientIntensity.getValue();
        const SbColor ke = material->emissiveColor[0];
        return SbColor(ke[0] + intensity * env[0] * ka[0], ke[1] + intensity * env[1] * ka[1],
                       ke[2] + intensity * env[2] * ka[2]);
    }

    SoDirectionalLight* addDirectional(const SbVec3f& direction, float intensity = 1.0f,
                                       const SbColor& color = SbColor(1, 1, 1)) {
        auto* light = new SoDirectionalLight;
        light->direction.setValue(direction);
        setLight(light, intensity, color);
        return light;
    }
    SoPointLight* addPoint(const SbVec3f& location, float intensity = 1.0f,
                           const SbColor& color = SbColor(1, 1, 1)) {
        auto* light = new SoPointLight;
        light->location.setValue(location);
        setLight(light, intensity, color);
        return light;
    }
    SoSpotLight* addSpot(const SbVec3f& location, const SbVec3f& direction, float dropOffRate,
                         float cutOffAngle) {
        auto* light = new SoSpotLight;
        light->location.setValue(location);
        light->direction.setValue(direction);
        light->dropOffRate.setValue(dropOffRate);
        light->cutOffAngle.setValue(cutOffAngle);
        setLight(light, 1.0f, SbColor(1, 1, 1));
        return light;
    }

    SoSeparator* root;
    SoOrthographicCamera* camera;
    SoLightModel* lightModel;
    SoEnvironment* environment;
    SoGroup* lights;  ///< a group, so the lights in it reach the triangle after it
    SoShapeHints* hints;
    SoRotation* shapeRotation;
    SoMaterial* material;
    SoMaterialBinding* materialBinding;
    SoNormal* normal;

  private:
    template <class T>
    T* add(T* node) {
        root->addChild(node);
        return node;
    }
    void setLight(SoLight* light, float intensity, const SbColor& color) {
        light->intensity.setValue(intensity);
        light->color.setValue(color);
        lights->addChild(light);
    }
};

/// How the scene is printed.
struct PrintSettings {
    SoVectorizeAction::ColorTranslationMethod translation = SoVectorizeAction::KEEP_COLORS;
    SoVectorizeAction::ShadeModel shade = SoVectorizeAction::SMOOTH;
};

/// The polygons printed for `root`, each with one colour per point.
inline std::vector<std::vector<SbColor>> printedColors(SoNode* root,
                                                       const PrintSettings& settings = {}) {
    RecordingAction action;
    action.enableLighting(1);
    action.setShadeModel(settings.shade);
    action.setColorTranslationMethod(settings.translation);
    action.apply(root);
    std::vector<std::vector<SbColor>> result;
    for (const RecordedCall& call : action.ofKind(RecordedCall::POLYGON)) {
        std::vector<SbColor> colors = call.colors;
        if (!call.multicolor && !colors.empty()) colors.assign(call.points.size(), colors[0]);
        result.push_back(colors);
    }
    return result;
}

/// The vertex colours of the one polygon the scene must print.
inline std::vector<SbColor> triangleColors(SoNode* root, const PrintSettings& settings = {}) {
    const std::vector<std::vector<SbColor>> polygons = printedColors(root, settings);
    if (polygons.size() != 1u) {
        ADD_FAILURE() << "expected one polygon, got " << polygons.size();
        return {};
    }
    EXPECT_EQ(polygons[0].size(), 3u);
    return polygons[0];
}

inline std::string text(const SbColor& c) {
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) +
           ")";
}

inline SbColor scaled(const SbColor& c, float f) {
    return SbColor(c[0] * f, c[1] * f, c[2] * f);
}

inline SbColor times(const SbColor& a, const SbColor& b) {
    return SbColor(a[0] * b[0], a[1] * b[1], a[2] * b[2]);
}

/// Every colour in `actual` within `tolerance` of `expected`, component by component.
inline void expectAllNear(const std::vector<SbColor>& actual, const SbColor& expected,
                          float tolerance = 1e-5f) {
    ASSERT_FALSE(actual.empty());
    for (const SbColor& c : actual) {
        EXPECT_TRUE(c.equals(expected, tolerance)) << text(c) << " != " << text(expected);
    }
}

/// The two lists hold the same colours in some order (within `tolerance`).
inline void expectSameColors(std::vector<SbColor> actual, const std::vector<SbColor>& expected,
                             float tolerance = 1e-5f) {
    ASSERT_EQ(actual.size(), expected.size());
    for (const SbColor& e : expected) {
        bool found = false;
        for (size_t i = 0; i < actual.size() && !found; ++i) {
            if (actual[i].equals(e, tolerance)) {
                actual.erase(actual.begin() + static_cast<long>(i));
                found = true;
            }
        }
        EXPECT_TRUE(found) << "no printed colour matches " << text(e);
    }
}

/// Registers the library once for every test of the program.
class LightingTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SoPlotWerk::init(); }
    static void TearDownTestSuite() { SoPlotWerk::finish(); }
    LitScene scene;
};

}  // namespace littest
