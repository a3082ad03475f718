#pragma once

// A page and a camera whose numbers are easy to follow: a 100 × 100 mm drawing seen through
// an orthographic camera two units high looking down -z, so that an object point (x, y, 0)
// lands on the page at ((x + 1) × 50, (y + 1) × 50) millimetres. The camera stands 8 units
// away: the clipper's near limit, taken through the projection in column form, keeps only
// depths from 6.5 to 10 of an orthographic camera with near 1 and far 10.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "plotwerk/support/RecordingAction.h"

namespace traversal {

/// Where an object point of the z = 0 plane lands on the 100 × 100 mm page.
inline SbVec2f pageOf(float x, float y) {
    return SbVec2f((x + 1.0f) * 50.0f, (y + 1.0f) * 50.0f);
}

inline void expectPointAt(const SbVec4f& actual, const SbVec2f& expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual[0], expected[0], tolerance);
    EXPECT_NEAR(actual[1], expected[1], tolerance);
    EXPECT_FLOAT_EQ(actual[3], 1.0f);
}

inline void expectColor(const SbColor& actual, const SbColor& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual[0], expected[0], tolerance);
    EXPECT_NEAR(actual[1], expected[1], tolerance);
    EXPECT_NEAR(actual[2], expected[2], tolerance);
}

/// The number of calls that draw something (everything but the document frame and clips).
inline std::size_t drawingCalls(const RecordingAction& action) {
    std::size_t n = 0;
    for (const RecordedCall& call : action.getCalls()) {
        switch (call.kind) {
            case RecordedCall::POLYGON:
            case RecordedCall::POLYLINE:
            case RecordedCall::POLYMARK_DOTS:
            case RecordedCall::POLYMARK_MARKERS:
            case RecordedCall::TEXT2:
            case RecordedCall::IMAGE:
                ++n;
                break;
            default:
                break;
        }
    }
    return n;
}

inline SoCoordinate3* coordinatesFor(std::initializer_list<SbVec3f> points) {
    auto* coords = new SoCoordinate3;
    coords->point.setValues(points);
    return coords;
}

class TraversalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        root = new SoSeparator;
        root->ref();
        camera = new SoOrthographicCamera;
        camera->position.setValue(SbVec3f(0, 0, 8));
        camera->height.setValue(2.0f);
        camera->nearDistance.setValue(1.0f);
        camera->farDistance.setValue(10.0f);
        root->addChild(camera);
        // Unlit unless a test asks otherwise: colours are then the materials' own.
        lightModel = new SoLightModel;
        lightModel->model.setValue(SoLightModel::BASE_COLOR);
        root->addChild(lightModel);
        action = std::make_unique<RecordingAction>();
        action->setDrawingDimensions(100.0f, 100.0f);
        action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    }

    void TearDown() override {
        action.reset();
        root->unref();
        SoPlotWerk::finish();
    }

    SoSeparator* root = nullptr;
    SoOrthographicCamera* camera = nullptr;
    SoLightModel* lightModel = nullptr;
    std::unique_ptr<RecordingAction> action;
};

}  // namespace traversal
