// The 3D export against the recording engine, loaded as a module: the order in which a whole
// export reaches the engine, what an engine failure at open, traversal or close does, the
// engine's flags and abort marker, draggers, and the PDF action's call of the PDF writer.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoToPDFAction.h>
#include <PlotWerk/SoToU3DActionPrivate.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoText3.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "../../engine/RecordingEngine.h"
#include "support/ReadScene.h"

namespace {

namespace engine = recording_engine;

const char* const kScene = R"(Separator { PerspectiveCamera { } DirectionalLight { }
  GradientBackground { color0 1 0 0  color1 0 0 1 }
  Separator { Coordinate3 { point [ 0 0 0, 1 0 0, 0 1 0 ] } FaceSet { } }
  Dragger { Coordinate3 { point [ 0 0 0, 1 0 0, 0 1 0 ] } FaceSet { } } })";

/// The log with each primitive's points left out: "17 addTriangle".
std::vector<std::string> calls() {
    std::vector<std::string> lines;
    for (const std::string& line : engine::log()) {
        const bool primitive = line.find(" add") != std::string::npos;
        lines.push_back(primitive ? line.substr(0, line.find(' ', line.find(" add") + 1)) : line);
    }
    return lines;
}

class Export : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SoPlotWerk::init();
        SoPreferences::setValue("VXN_U3D_ENGINE", RECORDING_ENGINE);
    }
    static void TearDownTestSuite() {
        SoLibPdf::release();
        SoPlotWerk::finish();
    }
    void SetUp() override { engine::reset(); }

    /// One export of `scene`; whether closing succeeded.
    bool exported(SoToU3DAction& action, const char* scene = kScene) {
        SoSeparator* root = readScene(scene);
        const bool opened = action.openFile("scene.u3d");
        action.apply(root);
        root->unref();
        return opened && action.closeFile();
    }
};

TEST_F(Export, AWholeExportInOrder) {
    SoToU3DAction action;
    action.setExportDraggers(false);
    ASSERT_TRUE(exported(action));
    // The scene text is read into a separator of its own, under the file's root.
    const std::vector<std::string> expected = {
        "init", "1 openU3D scene.u3d", "9 separatorPre SoSeparator", "9 separatorPre SoSeparator",
        "9 separatorPre SoSeparator", "13 cameraPre SoPerspectiveCamera",
        "12 lightPre SoDirectionalLight", "9 separatorPre SoSeparator", "14 shapePre SoFaceSet",
        "17 addTriangle", "20 isShapeDoneA", "15 shapePost SoFaceSet",
        "10 separatorPost SoSeparator",
        // A dragger is a separator: nothing below it.
        "9 separatorPre SoDragger", "10 separatorPost SoDragger", "10 separatorPost SoSeparator",
        "10 separatorPost SoSeparator", "10 separatorPost SoSeparator", "2 closeU3D", "finish"};
    EXPECT_EQ(calls(), expected);
}

// An engine failure ends the export where it happens: the engine is released, and the open
// or the close that follows reports it.
TEST_F(Export, EngineFailuresEndTheExport) {
    for (const char* slot : {"1", "14", "2"}) {
        SCOPED_TRACE(slot);
        engine::reset();
        SoPreferences::setValue(engine::kThrowSlot, slot);
        SoPreferences::setValue(engine::kThrowWhere, (std::string("place") + slot).c_str());
        SoToU3DAction action;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(exported(action));
        const std::string logged = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(logged.find(std::string("place") + slot), std::string::npos) << logged;
        EXPECT_EQ(calls().back(), "finish");
        EXPECT_EQ(action.getImpl(), nullptr);
    }
}

// The abort marker prunes the shapes after it; draggers are exported unless told; the first
// shape clears its flag; a default environment comes before every shape; a gradient gives its
// mean as the background.
TEST_F(Export, EngineFlagsAndDraggers) {
    SoPreferences::setValue(engine::kDefaultEnvironment, "1");
    SoPreferences::setValue(engine::kFirstShape, "1");
    SoToU3DAction action;
    SoSeparator* root = readScene(kScene);
    ASSERT_TRUE(action.openFile("scene.u3d"));
    action.apply(root);
    root->unref();
    const SoToU3DActionPrivate& e = *action.getImpl();
    EXPECT_FALSE(e.firstShape);
    EXPECT_EQ(e.backgroundColor, SbColor(0.5f, 0.0f, 0.5f));
    action.closeFile();
    std::vector<std::string> shapes, beforeShapes;
    const std::vector<std::string> log = calls();
    for (size_t i = 1; i < log.size(); ++i)
        if (log[i].rfind("14 ", 0) == 0)
            shapes.push_back(log[i]), beforeShapes.push_back(log[i - 1]);
    EXPECT_EQ(shapes.size(), 2u) << "the dragger's shape too";
    for (const std::string& line : beforeShapes) EXPECT_EQ(line, "11 environmentPre SoEnvironment");
    engine::reset();
    SoPreferences::setValue(engine::kAbortAfterShapes, "1");
    SoToU3DAction aborted;
    EXPECT_TRUE(exported(aborted));
    int shapePres = 0;
    for (const std::string& line : calls()) shapePres += line.rfind("14 ", 0) == 0;
    EXPECT_EQ(shapePres, 1);
}

// 3D text is made of polygons whatever its font asks, unless the action is told otherwise. A
// node that an application's callback forwards the traversal to, outside any shape, reaches
// neither the callbacks nor the engine.
TEST_F(Export, TextStyleAndForwardedTraversals) {
    for (const bool forced : {true, false}) {
        engine::reset();
        SoToU3DAction action;
        action.forcePolygonalText3(forced);
        SoCube* forwarded = new SoCube;
        forwarded->ref();
        std::pair<SoNode*, int> seen{forwarded, -1};
        action.addPreCallback(
            SoText3::getClassTypeId(),
            [](void* data, SoCallbackAction* cb, const SoNode*) {
                auto* s = static_cast<std::pair<SoNode*, int>*>(data);
                s->second = SoFontRenderStyleElement::get(cb->getState());
                static_cast<SoAction*>(cb)->forwardTraversal(s->first);
                return SoCallbackAction::CONTINUE;
            },
            &seen);
        EXPECT_TRUE(exported(action, "Font { renderStyle TEXTURE } Text3 { string \"A\" }"));
        forwarded->unref();
        EXPECT_EQ(seen.second == SoFontRenderStyleElement::POLYGON, forced) << forced;
        const std::regex cubeTriangle("17 addTriangle( -?1 -?1 -?1( \\|)?){3}");
        int cubeTriangles = 0;
        for (const std::string& line : engine::log()) {
            EXPECT_EQ(line.find("SoCube"), std::string::npos);
            cubeTriangles += std::regex_match(line, cubeTriangle);
        }
        EXPECT_EQ(cubeTriangles, 0);
    }
}

TEST_F(Export, OpenTwiceCloseWithoutOpenAndNoEngine) {
    SoToU3DAction action;
    EXPECT_FALSE(action.closeFile());
    ASSERT_TRUE(action.openFile("a.u3d"));
    EXPECT_FALSE(action.openFile("b.u3d"));
    EXPECT_TRUE(action.closeFile());
    SoLibPdf::release();
    SoPreferences::setValue("VXN_U3D_ENGINE", "/nonexistent/engine.so");
    EXPECT_FALSE(action.openFile("c.u3d"));
    SoLibPdf::release();
    SoPreferences::setValue("VXN_U3D_ENGINE", RECORDING_ENGINE);
}

// The log level is read once a process: each level is tried in a process of its own. At 0
// nothing is written; at 3 each shape is named before and after.
TEST_F(Export, LogLevels) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [level, written] : {std::pair{"0", "^$"}, {"3", "SoFaceSet.*SoFaceSet"}}) {
        EXPECT_EXIT(
            {
                SoPreferences::setValue("VXN_DEBUG_PDF_EXPORT", level);
                SoToU3DAction action;
                std::exit(exported(action) ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), written)
            << level;
    }
}

// The PDF writer gets the document's settings and the engine's answers in order; no
// temporary U3D file stays behind.
TEST_F(Export, PdfWriterGetsTheDocument) {
    SoPreferences::setValue(engine::answer(3).c_str(), "front");
    SoPreferences::setValue(engine::answer(5).c_str(), "45");
    const std::string tmp = ::testing::TempDir() + "pdf-export";
    std::filesystem::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    SoToPDFAction action;
    action.setPassword("p1", "p2");
    action.setTitle("T");
    action.setText("X");
    action.setLandscape(2);
    EXPECT_TRUE(exported(action));
    unsetenv("TMPDIR");
    const std::string written = engine::log().back();
    EXPECT_EQ(written.substr(0, written.find(" | ", written.find("X"))),
              "writePdf scene.u3d | p1 | p2 | T | X");
    EXPECT_NE(written.find(" | front | false | 45 | 0 | false | 0.5 0 0.5 | false"),
              std::string::npos)
        << written;
    EXPECT_TRUE(std::filesystem::is_empty(tmp)) << "the temporary U3D file stays";
}

}  // namespace
