#pragma once

// The CGM backend with its protected operations opened for tests, writing to a temporary
// stream that the tests read back at any time.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plotwerk/support/StreamReadBack.h"

/// The backend under test.
class CGMTestAction : public SoVectorizeCGMAction {
  public:
    CGMTestAction();

    using SoVectorizeCGMAction::getClippingLimits;
    using SoVectorizeCGMAction::printBackground;
    using SoVectorizeCGMAction::printBorder;
    using SoVectorizeCGMAction::printImage;
    using SoVectorizeCGMAction::printPolygon;
    using SoVectorizeCGMAction::printPolyLine;
    using SoVectorizeCGMAction::printPolyMark;
    using SoVectorizeCGMAction::printText2;
    using SoVectorizeCGMAction::setHardwareClip;
    using SoVectorizeCGMAction::writeFooter;
    using SoVectorizeCGMAction::writeHeader;

    /// Everything written so far.
    std::string text();
    /// Writes a metafile header and remembers where it ends, for sinceMark().
    void startMetafile();
    void mark();
    std::string sinceMark();

    // The print operations with the arguments most tests leave alone.
    void line(const std::vector<SbVec4f>& points, const SbColor& color, float width = 1.0f,
              unsigned short pattern = 0xFFFF, int factor = 1);
    void fill(const std::vector<SbVec4f>& points, const SbColor& color,
              const unsigned char* pattern = nullptr, const SbString& name1 = SbString(),
              const SbString& name2 = SbString());
    void dots(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors,
              float size = 1.0f);
    void label(float xMm, float yMm, const SbString& string, int justification = 1,
               float angle = 0.0f, float size = 12.0f, const SbColor& color = SbColor(0, 0, 0),
               const SbString& font = "Helvetica");

  private:
    StreamReadBack readBack;
};

/// A page point in millimetres.
inline SbVec4f mm(float x, float y) {
    return SbVec4f(x, y, 0.0f, 1.0f);
}

/// A fresh backend for each test, drawing at the sheet's corner unless a test moves it.
class CGMTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        action = std::make_unique<CGMTestAction>();
        action->setStartPosition(0.0f, 0.0f);
    }
    void TearDown() override {
        action.reset();
        SoPlotWerk::finish();
    }
    void setVersion(int version) { action->getCGMVectorOutput()->setVersion(version); }
    void setIndexed() { action->getCGMVectorOutput()->setIndexed(1); }

    std::unique_ptr<CGMTestAction> action;
};
