#pragma once

// A fixture whose scenes are easy to predict on paper. The drawing is 200 × 200 mm, so the
// camera sees a square window; the orthographic camera looks down -z from z = 15 with
// height 2, near 0 and far 20. Its normalised x and y are then the world x and y, a point
// (x, y) lands at ((x + 1) × 100, (y + 1) × 100) mm, and a point at world z = 0 has the
// normalised depth 0.5. Depth is kept between world z = -5 (far) and z = 15 (the camera:
// with a near distance of 0 the near plane passes through it).

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "plotwerk/support/RecordingAction.h"

class ClipScene : public ::testing::Test {
  protected:
    static constexpr float kPageSize = 200.0f;

    void SetUp() override {
        SoPlotWerk::init();
        root = new SoSeparator;
        root->ref();
        action = std::make_unique<RecordingAction>();
        action->setDrawingDimensions(kPageSize, kPageSize);
    }

    void TearDown() override {
        action.reset();
        root->unref();
        SoPlotWerk::finish();
    }

    /// The camera described above, first child of the scene.
    SoOrthographicCamera* addOrthoCamera(float nearDist = 0.0f, float farDist = 20.0f,
                                         float z = 15.0f) {
        auto* camera = new SoOrthographicCamera;
        camera->position.setValue(SbVec3f(0, 0, z));
        camera->height.setValue(2.0f);
        camera->nearDistance.setValue(nearDist);
        camera->farDistance.setValue(farDist);
        root->addChild(camera);
        return camera;
    }

    /// A perspective camera at the origin looking down -z with a 90° field of view, near 1
    /// and far 10: camera point (x, y, -e) has clip coordinates (x, y, (11e - 20) / 9, e).
    SoPerspectiveCamera* addPerspectiveCamera() {
        auto* camera = new SoPerspectiveCamera;
        camera->position.setValue(SbVec3f(0, 0, 0));
        camera->heightAngle.setValue(1.5707963f);
        camera->nearDistance.setValue(1.0f);
        camera->farDistance.setValue(10.0f);
        root->addChild(camera);
        return camera;
    }

    /// Unlit colours, one per vertex, so that what is printed is what was set.
    void addVertexColors(std::initializer_list<SbColor> colors) {
        auto* model = new SoLightModel;
        model->model.setValue(SoLightModel::BASE_COLOR);
        root->addChild(model);
        auto* material = new SoMaterial;
        material->diffuseColor.setValues(colors);
        root->addChild(material);
        auto* binding = new SoMaterialBinding;
        binding->value.setValue(SoMaterialBinding::PER_VERTEX);
        root->addChild(binding);
    }

    void addBaseColor(const SbColor& color) { addVertexColors({color}); }

    void addCoordinates(std::initializer_list<SbVec3f> points) {
        auto* coords = new SoCoordinate3;
        coords->point.setValues(points);
        root->addChild(coords);
    }

    SoDrawStyle* addDrawStyle(SoDrawStyle::Style style) {
        auto* drawStyle = new SoDrawStyle;
        drawStyle->style.setValue(style);
        root->addChild(drawStyle);
        return drawStyle;
    }

    void apply() { action->apply(root); }

    std::vector<RecordedCall> calls(RecordedCall::Kind kind) const { return action->ofKind(kind); }

    /// Page millimetres of a normalised coordinate.
    static float mm(float normalised) { return (normalised + 1.0f) * kPageSize / 2.0f; }

    SoSeparator* root = nullptr;
    std::unique_ptr<RecordingAction> action;
};

/// Checks one printed point against page millimetres (x, y) and normalised depth z.
inline void expectPoint(const SbVec4f& p, float x, float y, float z) {
    EXPECT_NEAR(p[0], x, 1e-3f);
    EXPECT_NEAR(p[1], y, 1e-3f);
    EXPECT_NEAR(p[2], z, 1e-5f);
    EXPECT_EQ(p[3], 1.0f);
}

inline void expectColor(const SbColor& c, float r, float g, float b) {
    EXPECT_NEAR(c[0], r, 1e-6f);
    EXPECT_NEAR(c[1], g, 1e-6f);
    EXPECT_NEAR(c[2], b, 1e-6f);
}
