#pragma once

// Shared set-up of the HP-GL/2 backend tests. Most tests put the drawing at the sheet's
// corner, so that a point at x millimetres is written as 40 x plotter units.
//
// Encoded numbers used below (base 64, the sign in the lowest bit, 8-bit terminators):
//   0 "\xBF"   1 "\xC1"   -1 "\xC2"   40 "O\xC0"   -40 "P\xC0"   224 "?\xC6"   255 "}\xC6"

#include <PlotWerk/SoHPGLVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"
#include "support/DebugErrorRecorder.h"
#include "support/HPGLDecoder.h"

/// The HP-GL/2 backend under test.
using HPGLTestAction = OpenedBackend<SoVectorizeHPGLAction>;

class HPGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        action = std::make_unique<HPGLTestAction>();
    }
    void TearDown() override {
        action.reset();
        SoPlotWerk::finish();
    }

    /// Moves the drawing to the sheet's corner and starts a plot.
    void startAtCorner() {
        action->setStartPosition(0.0f, 0.0f);
        action->startDocument();
    }

    /// Everything written so far, read back by the decoder, which must find no fault.
    HPGLPlot decoded() {
        HPGLPlot plot = HPGLDecoder::decode(action->text());
        EXPECT_TRUE(plot.clean()) << plot.errors.front();
        return plot;
    }

    std::unique_ptr<HPGLTestAction> action;
};

/// What some calls write on a plot started at the sheet's corner.
struct Written {
    const char* name;
    std::function<void(HPGLTestAction&)> draw;
    std::string expected;
};

/// Runs each case on a fresh plot and compares what it wrote after the header; none of
/// them may post an error or a warning.
inline void expectWritten(const std::vector<Written>& cases) {
    for (const Written& c : cases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder recorder;
        HPGLTestAction plotter;
        plotter.setStartPosition(0.0f, 0.0f);
        plotter.startDocument();
        c.draw(plotter);
        EXPECT_EQ(plotter.sinceMark(), c.expected);
        EXPECT_EQ(recorder.size(), recorder.countSeverity(SoDebugError::INFO)) << recorder.dump();
    }
}

/// Points as (x, y) pairs, so that a mismatch prints readably.
using Points = std::vector<std::pair<double, double>>;
inline Points xy(const std::vector<HPGLPoint>& points) {
    Points out;
    for (const HPGLPoint& p : points) out.emplace_back(p.x, p.y);
    return out;
}
