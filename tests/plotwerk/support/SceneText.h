#pragma once

// Scenes written as scene text in the tests, printed through the recording backend, and
// what they draw compared with a table of expected calls.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "plotwerk/support/RecordingAction.h"
#include "support/DebugErrorRecorder.h"
#include "support/ReadScene.h"

/// A recording backend on a square drawing of `page` millimetres, printing colours as they
/// are.
inline std::unique_ptr<RecordingAction> makeAction(float page) {
    auto action = std::make_unique<RecordingAction>();
    action->setDrawingDimensions(page, page);
    action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    return action;
}

/// Applies `action` to the scene of `body`.
inline void print(SoVectorizeAction& action, const std::string& body) {
    SoSeparator* root = readScene(body);
    ASSERT_NE(root, nullptr) << body;
    action.apply(root);
    root->unref();
}

/// A triangle mesh of examples/meshes (vertices and faces of an OBJ file) as scene text.
inline std::string exampleMesh(const std::string& name) {
    std::ifstream obj(std::string(TESSARA_EXAMPLES_DIR) + "/../meshes/" + name);
    std::ostringstream points, faces;
    for (std::string kind, rest; obj >> kind && std::getline(obj, rest);) {
        std::istringstream fields(rest);
        if (kind == "v") points << rest << ',';
        for (int corner; kind == "f" && fields >> corner;) faces << corner - 1 << ' ';
        if (kind == "f") faces << "-1 ";
    }
    return "Coordinate3 { point [" + points.str() + "] } IndexedFaceSet { coordIndex [" +
           faces.str() + "] }";
}

/// The library set up once for the tests of a suite.
class PrintTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { SoPlotWerk::init(); }
    static void TearDownTestSuite() { SoPlotWerk::finish(); }
};

/// One drawing call: its kind, its points (the origin for text and images), each as page x
/// and y in millimetres and the normalised depth, and its colours when they are checked.
struct Printed {
    RecordedCall::Kind kind;
    std::vector<SbVec3f> points;
    std::vector<SbColor> colors = {};
};

/// A scene, the drawing calls it makes and the posts it gives: (source, part of the message).
struct SceneCase {
    const char* name;
    std::string scene;
    std::vector<Printed> printed;
    std::vector<std::pair<const char*, const char*>> posts = {};
};

inline bool isAnchored(RecordedCall::Kind kind) {
    return kind == RecordedCall::TEXT2 || kind == RecordedCall::IMAGE;
}

/// The calls that draw something (everything but the document frame and clips).
inline std::vector<RecordedCall> drawingCalls(const RecordingAction& action) {
    std::vector<RecordedCall> calls;
    for (const RecordedCall& call : action.getCalls()) {
        if (call.kind >= RecordedCall::POLYGON) calls.push_back(call);
    }
    return calls;
}

/// Prints the case's scene after `prefix` with `action`, and checks what it draws and posts.
inline std::vector<RecordedCall> expectPrinted(RecordingAction& action, const std::string& prefix,
                                               const SceneCase& c) {
    SCOPED_TRACE(c.name);
    DebugErrorRecorder errors;
    print(action, prefix + c.scene);
    EXPECT_EQ(errors.size(), c.posts.size()) << errors.dump();
    for (const auto& post : c.posts)
        EXPECT_TRUE(errors.contains(post.first, post.second)) << errors.dump();
    const std::vector<RecordedCall> printed = drawingCalls(action);
    EXPECT_EQ(printed.size(), c.printed.size());
    for (size_t i = 0; i < std::min(printed.size(), c.printed.size()); ++i) {
        SCOPED_TRACE(i);
        const RecordedCall& call = printed[i];
        const Printed& expected = c.printed[i];
        EXPECT_EQ(call.kind, expected.kind);
        const bool anchored = isAnchored(call.kind);
        const std::vector<SbVec4f> points =
            anchored ? std::vector<SbVec4f>{call.origin} : call.points;
        EXPECT_EQ(points.size(), expected.points.size());
        for (size_t k = 0; k < std::min(points.size(), expected.points.size()); ++k) {
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_NEAR(points[k][axis], expected.points[k][axis], axis < 2 ? 1e-3f : 1e-5f);
            EXPECT_EQ(points[k][3], 1.0f);
        }
        const std::vector<SbColor> colors =
            anchored ? std::vector<SbColor>{call.color} : call.colors;
        if (expected.colors.empty()) continue;
        EXPECT_EQ(colors.size(), expected.colors.size());
        for (size_t k = 0; k < std::min(colors.size(), expected.colors.size()); ++k)
            EXPECT_TRUE(colors[k].equals(expected.colors[k], 1e-5f)) << "colour " << k;
    }
    return printed;
}
