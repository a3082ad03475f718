#pragma once

// Shared set-up of the PostScript backend tests: the backend writing to a temporary stream,
// points whose printed integers are known in advance, a runner for tables of what calls
// write, and a camera and light model for whole applies.
//
// With the default numeric accuracy the drawing unit is 0.1 x 0.24 = 0.024 mm, the default
// nominal width 25.4 / 72 mm is 15 units and the default start position (10, 10) mm is
// 417 units.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"

/// The backend under test, with the print calls its tests make beyond the common ones.
class PSTestAction : public OpenedBackend<SoVectorizePSAction> {
  public:
    using OpenedBackend::fill;

    explicit PSTestAction(unsigned int level = 2, bool colored = true) {
        getPSVectorOutput()->setLevel(level);
        getPSVectorOutput()->setColored(colored ? 1 : 0);
    }

    std::vector<std::string> linesSinceMark() {
        std::vector<std::string> lines;
        std::istringstream in(sinceMark());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    /// A polygon with one colour per point.
    void fill(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors) {
        printPolygon(points.data(), static_cast<int>(points.size()), colors.data(), 1, SbString(),
                     SbString(), nullptr);
    }
    void image(float xMm, float yMm, const std::vector<unsigned char>& pixels, SbVec2s source,
               SbVec2s requested, int numComponents, SoImage::HorAlignment hor = SoImage::LEFT,
               SoImage::VertAlignment vert = SoImage::BOTTOM) {
        printImage(SbVec4f(xMm, yMm, 0, 1), pixels.empty() ? nullptr : pixels.data(), source,
                   requested, numComponents, hor, vert);
    }
    /// Markers of the indices in turn, one point each colour.
    void markers(const std::vector<SbVec4f>& points, std::initializer_list<int> indices,
                 const std::vector<SbColor>& colors) {
        SoMarkerSet* set = new SoMarkerSet;
        set->ref();
        set->markerIndex.setValues(indices);
        printPolyMark(points.data(), static_cast<int>(points.size()), colors.data(), 0, set);
        set->unref();
    }
};

/// The default drawing unit in millimetres, single precision as the backend computes it.
constexpr float kUnit = 0.1f * 0.24f;

/// A point written as the integers (x, y): placed on whole drawing units.
inline SbVec4f at(float xUnits, float yUnits) {
    return SbVec4f(xUnits * kUnit, yUnits * kUnit, 0.0f, 1.0f);
}

const SbColor kRed(1, 0, 0);
const SbColor kGreen(0, 1, 0);
const SbColor kBlue(0, 0, 1);

using Draw = std::function<void(PSTestAction&)>;

/// Some calls on a document of a level and colour kind, and what they should write.
struct Statements {
    const char* name;
    Draw draw;
    std::string expected;
    unsigned int level = 2;
    bool colored = true;
};

class PSTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override { SoPlotWerk::finish(); }

    /// Runs each case on a fresh document of its level and colour kind and compares what it
    /// wrote after the header.
    static void expectStatements(const std::vector<Statements>& cases) {
        for (const Statements& c : cases) {
            SCOPED_TRACE(c.name);
            PSTestAction action(c.level, c.colored);
            action.startDocument();
            c.draw(action);
            EXPECT_EQ(action.sinceMark(), c.expected);
        }
    }
};

/// An orthographic camera two units high looking down -z from z = 8: on a 100 x 100 mm
/// drawing an object point (x, y, 0) lands at ((x + 1) x 50, (y + 1) x 50) mm.
inline SoOrthographicCamera* sceneCamera() {
    auto* camera = new SoOrthographicCamera;
    camera->position.setValue(SbVec3f(0, 0, 8));
    camera->height.setValue(2.0f);
    camera->nearDistance.setValue(1.0f);
    camera->farDistance.setValue(10.0f);
    return camera;
}

/// Applies the action on a 100 x 100 mm drawing to the children behind that camera, in base
/// colours kept as given.
inline void applyScene(PSTestAction& action, std::initializer_list<SoNode*> children) {
    auto* root = new SoSeparator;
    root->ref();
    root->addChild(sceneCamera());
    auto* model = new SoLightModel;
    model->model.setValue(SoLightModel::BASE_COLOR);
    root->addChild(model);
    for (SoNode* child : children) root->addChild(child);
    action.setDrawingDimensions(100.0f, 100.0f);
    action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    action.apply(root);
    root->unref();
}
