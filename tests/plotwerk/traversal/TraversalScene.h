#pragma once

// A page and a camera whose numbers are easy to follow: a 100 × 100 mm drawing seen through an
// orthographic camera two units high looking down -z, so that an object point (x, y, 0) lands
// on the page at ((x + 1) × 50, (y + 1) × 50) millimetres. Colours are unlit unless a scene
// says otherwise, and printed as they are.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plotwerk/support/RecordingAction.h"
#include "plotwerk/support/SceneText.h"

namespace traversal {

const std::string kCamera =
    "OrthographicCamera { position 0 0 8  height 2  nearDistance 1  farDistance 10 } ";
const std::string kUnlit = "LightModel { model BASE_COLOR } ";

/// Where an object point of the z = 0 plane lands on the page.
inline SbVec2f pageOf(float x, float y) {
    return SbVec2f((x + 1.0f) * 50.0f, (y + 1.0f) * 50.0f);
}

/// A line set from (-0.5, y) to (0.5, y) in a separator of its own.
inline std::string lineAcross(float y) {
    const std::string at = std::to_string(y);
    return "Separator { Coordinate3 { point [ -0.5 " + at + " 0, 0.5 " + at +
           " 0 ] } LineSet { } } ";
}

inline std::unique_ptr<RecordingAction> makeAction() {
    auto action = std::make_unique<RecordingAction>();
    action->setDrawingDimensions(100.0f, 100.0f);
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    return action;
}

/// Applies `action` to the scene of `body`.
inline void print(RecordingAction& action, const std::string& body) {
    SoSeparator* root = readScene(body);
    ASSERT_NE(root, nullptr) << body;
    action.apply(root);
    root->unref();
}

/// The calls that draw something (everything but the document frame and clips).
inline std::vector<RecordedCall> drawingCalls(const RecordingAction& action) {
    std::vector<RecordedCall> calls;
    for (const RecordedCall& call : action.getCalls()) {
        if (call.kind != RecordedCall::HEADER && call.kind != RecordedCall::FOOTER &&
            call.kind != RecordedCall::HARDWARE_CLIP && call.kind != RecordedCall::BACKGROUND &&
            call.kind != RecordedCall::BORDER)
            calls.push_back(call);
    }
    return calls;
}

inline void expectPointAt(const SbVec4f& actual, const SbVec2f& expected) {
    EXPECT_NEAR(actual[0], expected[0], 1e-3f);
    EXPECT_NEAR(actual[1], expected[1], 1e-3f);
    EXPECT_EQ(actual[3], 1.0f);
}

inline void expectColor(const SbColor& actual, const SbColor& expected) {
    EXPECT_TRUE(actual.equals(expected, 1e-5f))
        << actual[0] << " " << actual[1] << " " << actual[2];
}

class TraversalTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SoPlotWerk::init(); }
    static void TearDownTestSuite() { SoPlotWerk::finish(); }
};

}  // namespace traversal
