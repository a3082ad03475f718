#pragma once

// The CGM backend opened for tests, and a fixture with a fresh one for each test.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"

/// The CGM backend under test.
using CGMTestAction = OpenedBackend<SoVectorizeCGMAction>;

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
