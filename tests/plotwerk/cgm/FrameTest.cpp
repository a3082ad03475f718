// The metafile around the drawing, in both encodings: descriptors, colour mode and colour
// table, and the extent of a drawing.

#include "../../../libPlotWerk/src/frame/SoColorCube.h"
#include "plotwerk/cgm/CGMTestAction.h"

namespace {

struct Frame {
    int version;
    bool indexed;
    bool background;  // a light blue background
    int pens;         // red, green, ... as the pen table
};

TEST_F(CGMTest, BothEncodingsWriteTheSameFrame) {
    const SbColor penColours[2] = {SbColor(1, 0, 0), SbColor(0, 1, 0)};
    const float penWidths[2] = {0.35f, 0.5f};
    const SbColor lightBlue(0.5f, 0.75f, 1.0f);
    const Frame frames[] = {{1, false, false, 0}, {3, false, true, 0}, {1, true, false, 0},
                            {3, true, true, 0},   {1, true, true, 2},  {3, false, false, 2}};
    for (const Frame& f : frames) {
        SCOPED_TRACE("version " + std::to_string(f.version) + (f.indexed ? " indexed" : "") +
                     (f.background ? " background" : "") + " pens " + std::to_string(f.pens));
        const CGMPrints prints = printBoth(
            [&](CGMTestAction& a) {
                a.getCGMVectorOutput()->setVersion(f.version);
                a.getCGMVectorOutput()->setIndexed(f.indexed ? 1 : 0);
                a.setColorTranslationMethod(SoVectorizeAction::INVERT_COLORS);
                a.setStartPosition(10.0f, 20.0f);
                a.setDrawingDimensions(100.0f, 50.0f);
                if (f.background) a.setBackgroundColor(1, lightBlue);
                if (f.pens) a.setPenDescription(f.pens, penColours, penWidths);
            },
            [&](CGMTestAction& a) {
                if (f.pens) a.line({mm(1, 1), mm(2, 1)}, SbColor(0.1f, 0.9f, 0.2f));
            });
        const std::vector<CGMElement>& text = prints.text.elements;
        const std::vector<CGMElement>& binary = prints.binary.elements;
        ASSERT_EQ(text.size(), binary.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            ASSERT_EQ(text[i].keyword, binary[i].keyword) << i;
            // Precisions are bits in binary and ranges in clear text; the pictures' names differ.
            if (text[i].keyword.find("PREC") != std::string::npos || text[i].keyword == "BEGPIC")
                continue;
            ASSERT_EQ(text[i].params.size(), binary[i].params.size()) << text[i];
            for (std::size_t k = 0; k < text[i].params.size(); ++k)
                EXPECT_TRUE(text[i].params[k].near(binary[i].params[k], 1e-4))
                    << text[i] << " vs " << binary[i];
        }
        EXPECT_EQ(text[text.size() - 2].keyword, "ENDPIC");
        EXPECT_EQ(prints.text.all("MFVERSION").at(0).params.at(0).integer, f.version);
        EXPECT_EQ(prints.text.all("COLRMODE").at(0).params.at(0).integer, f.indexed ? 0 : 1);
        EXPECT_EQ(
            prints.text.all("VDCEXT").at(0).params,
            (std::vector<CGMValue>{CGMValue::makePoint(10, 20), CGMValue::makePoint(110, 70)}));
        // A translated background: the picture's in direct colour, the table's first in indexed.
        const std::vector<CGMElement> back = prints.text.all("BACKCOLR");
        ASSERT_EQ(back.size(), f.background && !f.indexed ? 1u : 0u);
        if (!back.empty()) {
            EXPECT_EQ(back[0].params.at(0), CGMValue::makeColour(127, 63, 0));
        }
        // A line takes the colour of the nearest pen, in indexed colour its place in the table.
        if (f.pens) {
            EXPECT_EQ(attribute(prints.drawing.at(0), "LINECOLR"),
                      std::vector<CGMValue>{f.indexed ? CGMValue::makeIndex(2)
                                                      : CGMValue::makeColour(0, 255, 0)});
        }
        const std::vector<CGMElement> table = prints.text.all("COLRTABLE");
        ASSERT_EQ(table.size(), f.indexed ? 1u : 0u);
        if (!f.indexed) continue;
        const std::vector<CGMValue>& entries = table[0].params;
        ASSERT_EQ(entries.size(), f.pens ? 2u + f.pens : 257u);
        EXPECT_EQ(entries[0], CGMValue::makeIndex(0));
        EXPECT_EQ(entries[1], f.background ? CGMValue::makeColour(127, 63, 0)
                              : f.pens     ? CGMValue::makeColour(255, 0, 0)
                                           : CGMValue::makeColour(0, 0, 0));
        if (f.pens) {
            EXPECT_EQ(entries[2], CGMValue::makeColour(255, 0, 0));
            EXPECT_EQ(entries[3], CGMValue::makeColour(0, 255, 0));
            continue;
        }
        for (int k = 0; k < 254; ++k) {
            int rgb[3];
            SoColorCube::colorOf(k, rgb);
            ASSERT_EQ(entries[2 + k], CGMValue::makeColour(rgb[0], rgb[1], rgb[2])) << k;
        }
        EXPECT_EQ(entries[256], CGMValue::makeColour(255, 255, 255));
    }
}

}  // namespace
