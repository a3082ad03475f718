// The clear-text layout to the byte where readers and people meet it: how reals are spelled,
// and where point and cell lists break their lines.

#include "../../../libPlotWerk/src/cgm/SoCGMClearTextElements.h"
#include "plotwerk/cgm/CGMTestAction.h"

namespace {

TEST(CGMClearTextReals, EveryRealCarriesAPoint) {
    // The digits are printf's "%g"; a point is added where that writes none.
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0."}, {0.5f, "0.5"}, {0.00001f, "1e-05."}, {-4.37114e-08f, "-4.37114e-08"}};
    for (const auto& c : cases) EXPECT_EQ(SoCGMClearTextElements::RSHORT(c.first), c.second);
}

struct Layout {
    const char* what;
    std::function<void(CGMTestAction&)> draw;
    std::string expected;
};

std::vector<SbVec4f> row(int n, float y) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < n; ++i) points.push_back(mm(static_cast<float>(i), y));
    return points;
}

TEST_F(CGMTest, PointAndCellListsBreakTheirLines) {
    const SbColor red(1, 0, 0), blue(0, 0, 1);
    std::vector<unsigned char> grey(21);
    std::string greyCells;
    for (int i = 0; i < 21; ++i) {
        grey[i] = i == 20 ? 255 : 0;
        greyCells += i == 20 ? "\n 255 255 255" : " 0 0 0";
    }
    const Layout layouts[] = {
        {"a polyline, six points a line", [&](CGMTestAction& a) { a.line(row(7, 0.5f), red); },
         "LINEWIDTH 0.352778;\nLINECOLR 255 0 0;\n"
         "LINE\n 0., 0.5 1., 0.5 2., 0.5 3., 0.5 4., 0.5 5., 0.5\n 6., 0.5;\n"},
        {"dots in one colour, six a line", [&](CGMTestAction& a) { a.dots(row(7, 0), {red}); },
         "MARKERTYPE 1;\nMARKERSIZE 0.352778;\nMARKERCOLR 255 0 0;\n"
         "MARKER\n 0. 0. 1. 0. 2. 0. 3. 0. 4. 0. 5. 0.\n 6. 0.;\n"},
        // Dots of two nominal widths.
        {"dots in runs of one colour, five on the first line",
         [&](CGMTestAction& a) {
             std::vector<SbVec4f> points = row(7, 0);
             points.push_back(mm(9, 9));
             std::vector<SbColor> colours(7, red);
             colours.push_back(blue);
             a.dots(points, colours, 2.0f);
         },
         "MARKERTYPE 1;\nMARKERSIZE 0.705556;\nMARKERCOLR 255 0 0;\n"
         "MARKER\n 0. 0. 1. 0. 2. 0. 3. 0. 4. 0.\n 5. 0. 6. 0.;\n"
         "MARKERCOLR 0 0 255;\nMARKER\n 9. 9.;\n"},
        {"an image, twenty cells a line",
         [&](CGMTestAction& a) {
             a.setPixelImageSize(1.0f);
             SbVec2s size(21, 1);
             a.printImage(mm(5, 5), grey.data(), size, size, 1, SoImage::LEFT, SoImage::BOTTOM);
         },
         "CELLARRAY 5. 6. 26. 5. 26. 6. 21 1 0\n" + greyCells + ";\n"},
    };
    for (const Layout& layout : layouts) {
        action = std::make_unique<CGMTestAction>();
        action->setStartPosition(0.0f, 0.0f);
        action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
        action->startDocument();
        layout.draw(*action);
        const std::string text = action->sinceMark();
        const std::size_t at = text.size() - std::min(text.size(), layout.expected.size());
        EXPECT_EQ(text.substr(at), layout.expected) << layout.what;
    }
}

}  // namespace
