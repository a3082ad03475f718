// What the backend draws, printed in both encodings and read back: each primitive with the
// attributes in force for it, and the attributes written only when they change.

#include <Tessara/nodes/SoMarkerSet.h>

#include <cmath>

#include "../../../libPlotWerk/src/cgm/SoCGMLineType.h"
#include "../../../libPlotWerk/src/frame/SoColorCube.h"
#include "plotwerk/cgm/CGMTestAction.h"
#include "support/DebugErrorRecorder.h"

namespace {

using Values = std::vector<CGMValue>;

const SbColor red(1, 0, 0);
const SbColor blue(0, 0, 1);
const SbColor black(0, 0, 0);
const std::vector<SbVec4f> kSegment = {mm(0, 0), mm(1, 0)};
const std::vector<SbVec4f> kTriangle = {mm(0, 0), mm(1, 0), mm(1, 1)};

const auto R = CGMValue::makeReal;
const auto I = CGMValue::makeInteger;
const auto P = CGMValue::makePoint;
const auto rgb = CGMValue::makeColour;

std::vector<CGMDrawnPrimitive> drawn(const CGMPrints& prints, const std::string& keyword) {
    std::vector<CGMDrawnPrimitive> out;
    for (const CGMDrawnPrimitive& p : prints.drawing)
        if (p.element.keyword == keyword) out.push_back(p);
    return out;
}

void noSetUp(CGMTestAction&) {}

/// The real an attribute or parameter holds, compared within what clear text keeps.
void expectReal(const Values& values, double expected) {
    ASSERT_EQ(values.size(), 1u);
    EXPECT_NEAR(values[0].x, expected, 1e-5);
}

TEST_F(CGMTest, LinesAndSolidPolygonsWriteTheirAttributesWhenTheyChange) {
    const float nominal = action->getNominalWidth();
    for (const int version : {1, 3}) {
        const CGMPrints prints = printBoth(
            [&](CGMTestAction& a) { a.getCGMVectorOutput()->setVersion(version); },
            [](CGMTestAction& a) {
                a.line(kSegment, red, 0.0f);
                a.line(kSegment, red, 2.0f);
                a.line(kSegment, blue, 2.0f);
                a.fill(kTriangle, red);
                a.fill(kTriangle, red);
                a.line(kSegment, blue, 2.0f);
                a.fill(kTriangle, red);  // the last colour of any kind was blue: written again
            });
        const std::vector<CGMDrawnPrimitive> lines = drawn(prints, "LINE");
        ASSERT_EQ(lines.size(), 4u);
        expectReal(attribute(lines[0], "LINEWIDTH"), nominal);
        expectReal(attribute(lines[1], "LINEWIDTH"), 2 * nominal);
        EXPECT_EQ(attribute(lines[1], "LINECOLR"), Values{rgb(255, 0, 0)});
        EXPECT_EQ(attribute(lines[2], "LINECOLR"), Values{rgb(0, 0, 255)});
        EXPECT_EQ(lines[0].element.params, (Values{P(0, 0), P(1, 0)}));
        const std::vector<CGMDrawnPrimitive> polygons = drawn(prints, "POLYGON");
        ASSERT_EQ(polygons.size(), 3u);
        EXPECT_EQ(attribute(polygons[1], "INTSTYLE"), Values{I(1)});
        EXPECT_EQ(attribute(polygons[1], "FILLCOLR"), Values{rgb(255, 0, 0)});
        EXPECT_EQ(polygons[1].element.params, (Values{P(0, 0), P(1, 0), P(1, 1)}));
        for (const CGMMetafile* m : {&prints.text, &prints.binary}) {
            EXPECT_EQ(m->all("LINEWIDTH").size(), 2u);
            EXPECT_EQ(m->all("LINECOLR").size(), 3u);
            EXPECT_EQ(m->all("FILLCOLR").size(), 2u);
            EXPECT_EQ(m->all("INTSTYLE").size(), 3u);
        }
        // Binary metafiles of version 3 switch cell transparency off after every polygon.
        EXPECT_EQ(prints.binary.all("TRANSPCELLCOLR").size(), version == 3 ? 3u : 0u);
    }
}

TEST_F(CGMTest, LinePatternsTakeTheNearestStandardTypeInVersionOneAndTheirOwnInVersionThree) {
    struct Case {
        unsigned short pattern;
        int factor;
        int standard;  ///< in version 1
    };
    // A solid line first writes no type (it is the format's default). A pattern without dashes
    // has no standard type: the line keeps the one before.
    const Case cases[] = {
        {0xFFFF, 1, SoCGMLineType::SOLID},    {0x00FF, 1, SoCGMLineType::DASH},
        {0x0000, 1, SoCGMLineType::DASH},     {0x0F0F, 2, SoCGMLineType::DASH},
        {0x0F0F, 2, SoCGMLineType::DASH},     {0x0CF3, 1, SoCGMLineType::DASH},
        {0x00F7, 1, SoCGMLineType::DASH_DOT}, {0xEA00, 1, SoCGMLineType::DASH_DOT_DOT},
        {0x5555, 1, SoCGMLineType::DOT},      {0xFFFF, 1, SoCGMLineType::SOLID},
        {0xFFFF, 4, SoCGMLineType::SOLID}};
    // End and join styles to the format's caps (2 butt, 3 round, 4 projecting square,
    // 5 triangle) and joins (2 mitre, 3 round, 4 bevel).
    const int caps[] = {2, 4, 5, 3};
    const int joins[] = {4, 2, 2, 4, 3, 3};
    for (const int version : {1, 3}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const CGMPrints prints = printBoth(
            [&](CGMTestAction& a) {
                a.getCGMVectorOutput()->setVersion(version);
                a.setLinePatternSize(2.0f);
            },
            [&](CGMTestAction& a) {
                for (std::size_t i = 0; i < std::size(cases); ++i) {
                    a.setLineEndStyle(static_cast<SoVectorizeAction::EndLineStyle>(i % 4));
                    a.setLineJoinsStyle(static_cast<SoVectorizeAction::JoinLineStyle>(i % 6));
                    a.line(kSegment, red, 1.0f, cases[i].pattern, cases[i].factor);
                }
            });
        const std::vector<CGMDrawnPrimitive> lines = drawn(prints, "LINE");
        ASSERT_EQ(lines.size(), std::size(cases));
        // Version 1 writes nothing for the pattern without dashes, the repeated pattern and
        // the factor of a solid line; version 3 defines the pattern without dashes too.
        const std::vector<CGMElement> types = prints.text.all("LINETYPE");
        ASSERT_EQ(types.size(), version == 1 ? 7u : 8u);
        EXPECT_TRUE(attribute(lines[0], "LINETYPE").empty());
        if (version == 1) {
            for (std::size_t i = 1; i < std::size(cases); ++i)
                EXPECT_EQ(attribute(lines[i], "LINETYPE"), Values{I(cases[i].standard)})
                    << std::hex << cases[i].pattern;
            EXPECT_TRUE(prints.text.all("LINECAP").empty());
            continue;
        }
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            EXPECT_EQ(attribute(lines[i], "LINECAP"), (Values{I(caps[i % 4]), I(1)}));
            EXPECT_EQ(attribute(lines[i], "LINEJOIN"), Values{I(joins[i % 6])});
            expectReal(attribute(lines[i], "MITRELIMIT"), action->getMiterLimit());
        }
        EXPECT_EQ(attribute(lines[1], "LINETYPE"), (Values{R(2), I(8), I(8)}));
        EXPECT_EQ(attribute(lines[4], "LINETYPE"), (Values{R(4), I(4), I(4), I(4), I(4)}));
        EXPECT_EQ(attribute(lines[10], "LINETYPE"), Values{I(SoCGMLineType::SOLID)});
        // Every dashed pattern is defined where it begins, numbered downwards.
        EXPECT_EQ(prints.text.all("LINEEDGETYPEDEF").size(), 7u);
        EXPECT_LT(types[0].params.at(0).integer, 0);
        EXPECT_EQ(types[1].params.at(0).integer, types[0].params.at(0).integer - 1);
    }
}

// A mask with one set bit: the top row's first byte, bit 7, which is the first cell.
std::vector<unsigned char> oneBitMask() {
    std::vector<unsigned char> mask(128, 0);
    mask[31 * 4] = 0x80;
    return mask;
}

TEST_F(CGMTest, PatternsAreTablesDefinedOncePerNamesAndColour) {
    const std::vector<unsigned char> mask = oneBitMask();
    for (const bool indexed : {false, true}) {
        const CGMPrints prints = printBoth(
            [&](CGMTestAction& a) {
                a.getCGMVectorOutput()->setIndexed(indexed ? 1 : 0);
                a.getCGMVectorOutput()->setVersion(3);
                a.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
                a.setBackgroundColor(0, SbColor(0, 1, 0));
                a.setPixelImageSize(0.5f);
            },
            [&](CGMTestAction& a) {
                a.fill(kTriangle, red, mask.data(), "hatch", "a");
                a.fill(kTriangle, red, mask.data(), "hatch", "a");
                a.fill(kTriangle, blue, mask.data(), "hatch", "a");
                a.fill(kTriangle, blue, mask.data(), "dots", "a");
                for (const SbColor& c : {SbColor(1, 1, 1), black}) a.line(kSegment, c);
            });
        SCOPED_TRACE(indexed ? "indexed" : "direct");
        // The colour cube's corners: white is the table's last entry, black its first colour.
        const std::vector<CGMDrawnPrimitive> lines = drawn(prints, "LINE");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(attribute(lines[0], "LINECOLR"),
                  Values{indexed ? CGMValue::makeIndex(255) : rgb(255, 255, 255)});
        EXPECT_EQ(attribute(lines[1], "LINECOLR"),
                  Values{indexed ? CGMValue::makeIndex(1) : rgb(0, 0, 0)});
        const std::vector<CGMDrawnPrimitive> polygons = drawn(prints, "POLYGON");
        ASSERT_EQ(polygons.size(), 4u);
        EXPECT_EQ(attribute(polygons[0], "INTSTYLE"), Values{I(2)});
        EXPECT_EQ(attribute(polygons[0], "PATSIZE"), (Values{R(0), R(16), R(16), R(0)}));
        const Values pattern = attribute(polygons[0], "PATINDEX");
        ASSERT_EQ(pattern.size(), 3u + 1024u);
        EXPECT_EQ(Values(pattern.begin(), pattern.begin() + 3), (Values{I(32), I(32), I(0)}));
        const CGMValue fill =
            indexed ? CGMValue::makeIndex(SoColorCube::indexOf(255, 0, 0) + 1) : rgb(255, 0, 0);
        const CGMValue clear = indexed ? CGMValue::makeIndex(0) : rgb(0, 255, 0);
        EXPECT_EQ(pattern[3], fill);
        for (std::size_t cell = 4; cell < pattern.size(); ++cell)
            ASSERT_EQ(pattern[cell], clear) << cell;
        EXPECT_EQ(attribute(polygons[1], "PATINDEX"), pattern);
        EXPECT_NE(attribute(polygons[2], "PATINDEX"), pattern);
        const std::vector<CGMElement> tables = prints.text.all("PATTABLE");
        ASSERT_EQ(tables.size(), 3u);
        EXPECT_EQ(tables[1].params.at(0).integer, 1);  // a new colour redefines the entry
        EXPECT_EQ(tables[2].params.at(0).integer, 2);  // new names take the next one
        // Cells are transparent while a patterned polygon is drawn.
        const std::vector<CGMElement> transparency = prints.text.all("TRANSPCELLCOLR");
        ASSERT_EQ(transparency.size(), 8u);
        EXPECT_EQ(transparency[0].params.at(0).integer, 1);
        EXPECT_EQ(transparency[1].params.at(0).integer, 0);
    }
}

TEST_F(CGMTest, BitmapMarkersAreCellArraysAndSkipUndefinedIndices) {
    const unsigned char bits[2] = {0xA0, 0x40};  // 3 x 2: row 0 "1 0 1", row 1 "0 1 0"
    SoMarkerSet::addMarker(90, SbVec2s(3, 2), bits, false);
    SoMarkerSet* markers = new SoMarkerSet;
    markers->ref();
    markers->markerIndex.setValues(0, 2, std::vector<int32_t>{90, 91}.data());
    const float halfWidth = action->getNominalWidth() * 1.5f;
    const float halfHeight = action->getNominalWidth();
    const CGMPrints prints = printBoth(
        [](CGMTestAction& a) {
            a.getCGMVectorOutput()->setVersion(3);
            a.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
            a.setBackgroundColor(1, SbColor(0, 0, 1));  // clear cells show the background
        },
        [&](CGMTestAction& a) {
            const SbVec4f points[3] = {mm(10, 10), mm(20, 20), mm(30, 30)};
            a.printPolyMark(points, 3, &red, 0, markers);
        });
    const std::vector<CGMDrawnPrimitive> cells = drawn(prints, "CELLARRAY");
    ASSERT_EQ(cells.size(), 2u);  // index 91 is not defined; the third point takes 90 again
    const Values& first = cells[0].element.params;
    ASSERT_EQ(first.size(), 6u + 6u);
    const CGMValue on = rgb(255, 0, 0), off = rgb(0, 0, 255);
    EXPECT_EQ(Values(first.begin() + 3, first.begin() + 5), (Values{I(3), I(2)}));
    EXPECT_EQ(Values(first.begin() + 6, first.end()), (Values{off, on, off, on, off, on}));
    EXPECT_TRUE(first[0].near(P(10 - halfWidth, 10 + halfHeight), 1e-4)) << first[0];
    EXPECT_TRUE(first[1].near(P(10 + halfWidth, 10 - halfHeight), 1e-4)) << first[1];
    EXPECT_TRUE(cells[1].element.params[2].near(P(30 + halfWidth, 30 + halfHeight), 1e-4));
    const std::vector<CGMElement> transparency = prints.text.all("TRANSPCELLCOLR");
    ASSERT_EQ(transparency.size(), 2u);
    EXPECT_EQ(transparency[0].params, (Values{I(1), off}));
    markers->unref();
    SoMarkerSet::removeMarker(90);
}

TEST_F(CGMTest, TextsCarryTheirAttributesAndCharacters) {
    const float nominal = action->getNominalWidth();
    const CGMPrints prints = printBoth(noSetUp, [](CGMTestAction& a) {
        a.label(10, 20, "it's");
        a.label(10, 25, "again", 3, static_cast<float>(M_PI / 6), 24.0f, red, "Courier");
        a.label(10, 30, "90\xC2\xB0", 2, 0.0f, 24.0f, red, "Fancy Script");
        a.label(10, 35, "5 \xE2\x82\xAC", 2, 0.0f, 24.0f, red, "Fancy Script");
    });
    const std::vector<CGMDrawnPrimitive> texts = drawn(prints, "TEXT");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].element.params, (Values{P(10, 20), I(1), CGMValue::makeString("it's")}));
    EXPECT_EQ(attribute(texts[0], "TEXTCOLR"), Values{rgb(0, 0, 0)});
    expectReal(attribute(texts[0], "CHARHEIGHT"), 12 * nominal * 0.6);
    // A font index is the place of the font's name in the metafile's font list, from 1.
    const Values fonts = prints.text.all("FONTLIST").at(0).params;
    const auto font = [&](const CGMDrawnPrimitive& text) {
        const Values index = attribute(text, "TEXTFONTINDEX");
        return index.size() == 1 ? fonts.at(index[0].integer - 1).text : "";
    };
    EXPECT_EQ(font(texts[0]), "Helvetica");
    EXPECT_EQ(attribute(texts[0], "TEXTALIGN"), (Values{I(1), I(0), R(0), R(0)}));
    EXPECT_EQ(attribute(texts[1], "TEXTALIGN"), (Values{I(2), I(0), R(0), R(0)}));
    EXPECT_EQ(attribute(texts[1], "TEXTCOLR"), Values{rgb(255, 0, 0)});
    expectReal(attribute(texts[1], "CHARHEIGHT"), 24 * nominal * 0.6);
    const Values up = attribute(texts[1], "CHARORI");
    ASSERT_EQ(up.size(), 4u);
    EXPECT_NEAR(up[0].x, -0.5, 1e-5);
    EXPECT_NEAR(up[3].x, 0.5, 1e-5);
    // A font the table does not list keeps the one before; a size is written when it changes.
    EXPECT_EQ(font(texts[1]), "Courier");
    EXPECT_EQ(font(texts[2]), "Courier");
    EXPECT_EQ(prints.text.all("CHARHEIGHT").size(), 2u);
    EXPECT_EQ(attribute(texts[2], "TEXTALIGN"), (Values{I(3), I(0), R(0), R(0)}));
    // Clear text keeps the characters in Latin-1 or, beyond it, UTF-8; binary the low byte
    // of each character.
    EXPECT_EQ(texts[2].element.params[2].text, "90\xB0");
    EXPECT_EQ(texts[3].element.params[2].text, "5 \xE2\x82\xAC");
    EXPECT_EQ(prints.binary.all("TEXT").at(3).params.at(2).text, "5 \xAC");
}

TEST_F(CGMTest, ImagesAreCellArraysFromTheLastRowPlacedByTheirAlignment) {
    const unsigned char rgbPixels[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 51, 102, 153};
    const unsigned char grey[2] = {0, 255};
    struct Placement {
        SoImage::HorAlignment h;
        SoImage::VertAlignment v;
        float left, top;
    };
    // A 2 x 2 image of 1 mm pixels at (5, 5).
    const Placement placements[] = {{SoImage::LEFT, SoImage::BOTTOM, 5, 7},
                                    {SoImage::CENTER, SoImage::HALF, 4, 6},
                                    {SoImage::RIGHT, SoImage::TOP, 3, 5}};
    const CGMPrints prints = printBoth(
        [](CGMTestAction& a) {
            a.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
            a.setPixelImageSize(1.0f);
        },
        [&](CGMTestAction& a) {
            SbVec2s size(2, 2);
            for (const Placement& p : placements)
                a.printImage(mm(5, 5), rgbPixels, size, size, 3, p.h, p.v);
            SbVec2s row(2, 1);
            a.printImage(mm(5, 5), grey, row, row, 1, SoImage::LEFT, SoImage::BOTTOM);
            // Across each edge of the 190 x 277 mm drawing, then just beside it.
            for (const SbVec4f& at : {mm(189.5f, 5), mm(-1.5f, 5), mm(5, -0.5f), mm(5, 276.5f),
                                      mm(190.5f, 5), mm(-2.5f, 5), mm(5, -1.5f), mm(5, 277.5f)})
                a.printImage(at, grey, row, row, 1, SoImage::LEFT, SoImage::BOTTOM);
        });
    const std::vector<CGMDrawnPrimitive> images = drawn(prints, "CELLARRAY");
    ASSERT_EQ(images.size(), 8u);  // partly inside is enough; beside the drawing is not
    const Values corners = {P(189.5f, 6), P(-1.5f, 6), P(5, 0.5f), P(5, 277.5f)};
    for (std::size_t i = 0; i < corners.size(); ++i)
        EXPECT_TRUE(images[4 + i].element.params.at(0).near(corners[i], 1e-4)) << i;
    for (std::size_t i = 0; i < 3; ++i) {
        const float left = placements[i].left, top = placements[i].top;
        EXPECT_EQ(images[i].element.params,
                  (Values{P(left, top), P(left + 2, top - 2), P(left + 2, top), I(2), I(2), I(8),
                          rgb(0, 0, 255), rgb(51, 102, 153), rgb(255, 0, 0), rgb(0, 255, 0)}))
            << i;
    }
    EXPECT_EQ(Values(images[3].element.params.begin() + 6, images[3].element.params.end()),
              (Values{rgb(0, 0, 0), rgb(255, 255, 255)}));
}

TEST_F(CGMTest, BorderAndClipAreTheDrawingAndPointsMoveByPageAndView) {
    const float nominal = action->getNominalWidth();
    const CGMPrints prints = printBoth(
        [](CGMTestAction& a) {
            a.beginPage(SbVec2f(5, 0), SbVec2f(420, 297));
            a.setStartPosition(200.0f, 10.0f);
            a.setDrawingDimensions(100.0f, 50.0f);
            a.setBorder(2.0f, SbColor(1, 1, 1));
        },
        [](CGMTestAction& a) {
            a.setHardwareClip();
            a.line({mm(1, 2), mm(3.5f, 4)}, red);
            a.printBorder();
            a.setBorder(0.0f);
            a.printBorder();
        });
    // On a page the page is the extent, and the drawing starts at page and view together.
    EXPECT_EQ(prints.binary.all("VDCEXT").at(0).params, (Values{P(5, 0), P(425, 297)}));
    const std::vector<CGMDrawnPrimitive> lines = drawn(prints, "LINE");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].element.params, (Values{P(206, 12), P(208.5, 14)}));
    const Values drawing = {P(205, 10), P(305, 60)};
    EXPECT_EQ(attribute(lines[0], "CLIPRECT"), drawing);
    EXPECT_EQ(attribute(lines[1], "CLIPRECT"), drawing);
    EXPECT_EQ(lines[1].element.params,
              (Values{P(205, 10), P(305, 10), P(305, 60), P(205, 60), P(205, 10)}));
    expectReal(attribute(lines[1], "LINEWIDTH"), 2 * nominal);
    EXPECT_EQ(attribute(lines[1], "LINECOLR"), Values{rgb(0, 0, 0)});  // white swapped
}

TEST_F(CGMTest, NonFiniteCoordinatesAreReportedAndWrittenAsZero) {
    DebugErrorRecorder recorder;
    const float nan = std::nanf("");
    const CGMPrints prints = printBoth(noSetUp, [&](CGMTestAction& a) {
        a.line({mm(nan, 1), mm(2, INFINITY)}, red);
    });
    EXPECT_EQ(prints.text.all("LINE").at(0).params, (Values{P(0, 1), P(2, 0)}));
    EXPECT_TRUE(recorder.contains("SoCGMClearTextElements::RSHORT")) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SoCGMBinaryReal::encode")) << recorder.dump();
}

TEST_F(CGMTest, EachMetafileStartsWithAFreshAttributeCache) {
    const std::vector<unsigned char> mask = oneBitMask();
    for (int document = 0; document < 2; ++document) {
        action->writeHeader();
        action->line(kSegment, red, 2.0f, 0x00FF);
        action->fill(kTriangle, blue, mask.data(), "hatch", "a");
        action->label(10, 20, "a", 2, 1.0f, 10.0f, red, "Courier");
        action->writeFooter();
    }
    const std::string text = action->text();
    const std::size_t second = text.find("ENDMF");
    for (const std::string keyword :
         {"LINETYPE ", "LINEWIDTH ", "LINECOLR ", "PATTABLE 1 ", "TEXTCOLR ", "CHARHEIGHT ",
          "TEXTFONTINDEX ", "TEXTALIGN ", "CHARORI "}) {
        EXPECT_LT(text.find(keyword), second) << keyword;
        EXPECT_NE(text.find(keyword, second), std::string::npos) << keyword;
    }
}

TEST_F(CGMTest, PrimitivesWithoutPointsOrPixelsDrawNothing) {
    DebugErrorRecorder recorder;
    const unsigned char pixel[3] = {1, 2, 3};
    const CGMPrints prints = printBoth(noSetUp, [&](CGMTestAction& a) {
        a.line({}, red);
        a.fill({}, red);
        a.dots({}, {red});
        a.printPolyMark(kTriangle.data(), 3, &red, 0, nullptr);
        for (SbVec2s size : {SbVec2s(0, 1), SbVec2s(1, 0)})
            a.printImage(mm(5, 5), pixel, size, size, 3, SoImage::LEFT, SoImage::BOTTOM);
        SbVec2s one(1, 1);
        a.printImage(mm(5, 5), nullptr, one, one, 3, SoImage::LEFT, SoImage::BOTTOM);
        a.printImage(mm(5, 5), pixel, one, one, 0, SoImage::LEFT, SoImage::BOTTOM);
    });
    EXPECT_TRUE(prints.drawing.empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

}  // namespace
