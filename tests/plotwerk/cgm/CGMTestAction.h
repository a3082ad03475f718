#pragma once

// The CGM backend opened for tests, a fixture with a fresh one for each test, and drawings
// printed in both encodings and read back by the readers written from the standard.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"
#include "support/CGMBinaryDecoder.h"
#include "support/CGMClearTextReader.h"
#include "support/CGMDrawing.h"

/// The CGM backend under test.
using CGMTestAction = OpenedBackend<SoVectorizeCGMAction>;

/// One drawing in both encodings, read back.
struct CGMPrints {
    CGMMetafile text, binary;
    /// What the clear text draws (the binary draws the same, or the print failed the test).
    std::vector<CGMDrawnPrimitive> drawing;
};

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

    /// A whole document from `draw` on fresh backends prepared by `setUp`, once in clear text
    /// and once in binary: both must read back cleanly and describe the same drawing. Unless
    /// `draw` writes whole metafiles itself (an apply does), it is framed by a header and a
    /// footer.
    static CGMPrints printBoth(const std::function<void(CGMTestAction&)>& setUp,
                               const std::function<void(CGMTestAction&)>& draw,
                               bool framed = true) {
        CGMPrints prints;
        for (const bool binary : {false, true}) {
            CGMTestAction printer;
            printer.setStartPosition(0.0f, 0.0f);
            printer.getCGMVectorOutput()->setBinary(binary ? 1 : 0);
            setUp(printer);
            if (framed) printer.writeHeader();
            draw(printer);
            if (framed) printer.writeFooter();
            CGMMetafile& read = binary ? prints.binary : prints.text;
            read = binary ? CGMBinaryDecoder::decode(printer.text())
                          : CGMClearTextReader::read(printer.text());
            EXPECT_TRUE(read.clean()) << (binary ? "binary" : "clear text") << "\n"
                                      << read.errorText();
        }
        prints.drawing = CGMDrawing::of(prints.text);
        // Clear text keeps six significant digits of page millimetres.
        EXPECT_EQ(CGMDrawing::firstDifference(prints.drawing, CGMDrawing::of(prints.binary), 2e-3),
                  "");
        return prints;
    }

    std::unique_ptr<CGMTestAction> action;
};

/// The attribute in force for a drawn primitive (empty when none was written).
inline std::vector<CGMValue> attribute(const CGMDrawnPrimitive& primitive,
                                       const std::string& keyword) {
    const auto it = primitive.attributes.find(keyword);
    return it == primitive.attributes.end() ? std::vector<CGMValue>() : it->second;
}
