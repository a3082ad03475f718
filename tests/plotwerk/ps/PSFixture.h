#pragma once

// Shared set-up of the PostScript backend tests: a fresh backend writing to a temporary
// stream, and helpers to build points whose printed integers are known in advance.
//
// With the default numeric accuracy the drawing unit is 0.1 x 0.24 = 0.024 mm, the default
// nominal width 25.4 / 72 mm is 15 units and the default start position (10, 10) mm is
// 417 units.

#include <PlotWerk/SoPlotWerk.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plotwerk/ps/PSTestAction.h"

/// The default drawing unit in millimetres, single precision as the backend computes it.
constexpr float kUnit = 0.1f * 0.24f;

/// A point written as the integers (x, y): placed on whole drawing units.
inline SbVec4f at(float xUnits, float yUnits) {
    return SbVec4f(xUnits * kUnit, yUnits * kUnit, 0.0f, 1.0f);
}

/// Compares texts line by line, so that a failure names the first lines that differ.
inline void expectSameLines(const std::vector<std::string>& actual,
                            const std::vector<std::string>& expected) {
    const std::size_t n = actual.size() < expected.size() ? actual.size() : expected.size();
    int reported = 0;
    for (std::size_t i = 0; i < n && reported < 5; ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << "line " << i + 1 << "\n  actual:   \"" << actual[i]
                          << "\"\n  expected: \"" << expected[i] << "\"";
            ++reported;
        }
    }
    EXPECT_EQ(actual.size(), expected.size()) << "different number of lines";
}

class PSTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        action = std::make_unique<PSTestAction>();
    }
    void TearDown() override {
        action.reset();
        SoPlotWerk::finish();
    }

    /// Writes a document header and keeps only what is written after it.
    void startDocument() { action->startDocument(); }
    void setLevel(unsigned int level) { action->getPSVectorOutput()->setLevel(level); }
    void setGrey() { action->getPSVectorOutput()->setColored(0); }

    std::vector<std::string> lines() { return action->linesSinceMark(); }
    /// One line written since the mark, counted from 0 (from -1 backwards: from the end);
    /// a placeholder when there is no such line, so that a short output fails cleanly.
    std::string lineAt(int i) {
        const std::vector<std::string> all = lines();
        const int n = static_cast<int>(all.size());
        const int at = i < 0 ? n + i : i;
        return at >= 0 && at < n ? all[at] : "<no line " + std::to_string(i) + ">";
    }

    std::unique_ptr<PSTestAction> action;
};
