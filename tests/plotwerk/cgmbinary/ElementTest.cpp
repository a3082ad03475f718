// Each element writer, read back by the decoder written from the standard: its class, id and
// length, its parameters in the precisions and modes in force, and the precisions and modes
// it sets for the elements after it.

#include "CGMBinaryFixture.h"
#include "support/CGMBinaryDecoder.h"

namespace cgmtest {
namespace {

using Values = std::vector<CGMValue>;

const auto I = CGMValue::makeInteger;
const auto X = CGMValue::makeIndex;
const auto R = CGMValue::makeReal;
const auto P = CGMValue::makePoint;
const auto S = CGMValue::makeString;
const auto rgb = CGMValue::makeColour;

const SbColor orange(1.0f, 0.5f, 0.25f);

/// One element written and what the decoder must read; a step without a keyword only
/// changes the writer.
struct Step {
    const char* keyword;
    Values params;
    std::function<void(SoCGMBinaryElements&, SoCGMBinaryWriter&)> write;
};

/// Writes BEGMF (indexed colour, as the decoder starts), the steps and ENDMF, and checks the
/// decoded elements in between against the steps.
void expectSteps(const char* what, const std::vector<Step>& steps) {
    SCOPED_TRACE(what);
    DebugErrorRecorder errors;
    Sink sink;
    sink.elements.Pbegmf("t", true);
    std::vector<const Step*> expected;
    for (const Step& step : steps) {
        step.write(sink.elements, sink.writer);
        if (step.keyword) expected.push_back(&step);
    }
    sink.elements.Pendmf();
    const CGMMetafile mf = CGMBinaryDecoder::decode(sink.bytes());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
    ASSERT_EQ(mf.elements.size(), expected.size() + 2);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CGMElement& found = mf.elements[i + 1];
        EXPECT_EQ(found.keyword, expected[i]->keyword);
        bool same = found.params.size() == expected[i]->params.size();
        for (std::size_t k = 0; same && k < found.params.size(); ++k)
            same = found.params[k].near(expected[i]->params[k], 1e-4);
        EXPECT_TRUE(same) << found;
    }
}

// Every precision and mode goes back to its default; the other tables here read their
// elements in the defaults after a first BEGMF.
TEST(CGMElements, BeginMetafileRestoresEveryDefault) {
    Sink fresh, used;
    fresh.elements.Pbegmf("t", true);
    SoCGMBinaryWriter& w = used.writer;
    w.setIntegerPrecision(4);
    w.setIndexPrecision(1);
    w.setColorPrecision(2);
    w.setColorIndexPrecision(3);
    w.setRealPrecision(2);
    w.setVdcType(1);
    w.setVdcIntegerPrecision(4);
    w.setVdcRealPrecision(1);
    w.setLineWidthMode(0);
    w.setMarkerSizeMode(0);
    w.setColorSelectionMode(1);
    used.elements.Pbegmf("t", true);
    EXPECT_EQ(probe(used), probe(fresh));
    // In direct colour the metafile starts with the colour selection mode direct.
    Sink direct;
    direct.elements.Pbegmf("d", false);
    direct.elements.Plinecolr(7, orange);
    EXPECT_EQ(hex(direct.bytes().substr(4)), "50 83 FF 7F 3F");
}

TEST(CGMElements, IntegerIndexAndColourPrecisions) {
    const int black[3] = {0, 0, 0}, white[3] = {255, 255, 255}, rgbs[6] = {255, 128, 0, 1, 2, 3};
    // The bits a precision needs for the range of values, each written in the one before.
    expectSteps("integers",
                {{"INTEGERPREC", {I(8)}, [](auto& e, auto&) { e.Pintegerprec(-255, 10); }},
                 {"MFVERSION", {I(3)}, [](auto& e, auto&) { e.Pmfversion(3); }},
                 {"INTEGERPREC", {I(16)}, [](auto& e, auto&) { e.Pintegerprec(-256, 0); }},
                 {"INTEGERPREC", {I(16)}, [](auto& e, auto&) { e.Pintegerprec(0, 65535); }},
                 {"INTEGERPREC", {I(24)}, [](auto& e, auto&) { e.Pintegerprec(-65536, 1); }},
                 {"MFVERSION", {I(70000)}, [](auto& e, auto&) { e.Pmfversion(70000); }},
                 {"INTEGERPREC", {I(24)}, [](auto& e, auto&) { e.Pintegerprec(0, 0xFFFFFF); }},
                 {"INTEGERPREC", {I(32)}, [](auto& e, auto&) { e.Pintegerprec(0, 0x1000000); }},
                 {"MFVERSION", {I(-5)}, [](auto& e, auto&) { e.Pmfversion(-5); }},
                 {"TEXTPREC", {I(2)}, [](auto& e, auto&) { e.Ptextprec(2); }},  // always 16-bit
                 {"INTEGERPREC", {I(8)}, [](auto& e, auto&) { e.Pintegerprec(0, 0); }},
                 {"MFVERSION", {I(1)}, [](auto& e, auto&) { e.Pmfversion(1); }}});
    expectSteps("indices",
                {{"INDEXPREC", {I(8)}, [](auto& e, auto&) { e.Pindexprec(0, 100); }},
                 {"LINETYPE", {I(-3)}, [](auto& e, auto&) { e.Plinetype(-3); }},
                 {"MARKERTYPE", {I(1)}, [](auto& e, auto&) { e.Pmarkertype(1); }},
                 {"MFELEMLIST", {I(-1), I(1)}, [](auto& e, auto&) { e.Pmfelemlist(); }},
                 {"INDEXPREC", {I(24)}, [](auto& e, auto&) { e.Pindexprec(-70000, 0); }},
                 {"TEXTFONTINDEX", {I(-70000)}, [](auto& e, auto&) { e.Ptextfontindex(-70000); }}});
    expectSteps(
        "colours",
        {{"COLRINDEXPREC", {I(24)}, [](auto& e, auto&) { e.Pcolrindexprec(70000); }},
         {"LINECOLR", {X(300)}, [](auto& e, auto&) { e.Plinecolr(300, orange); }},
         {"MAXCOLRINDEX", {X(255)}, [](auto& e, auto&) { e.Pmaxcolrindex(255); }},
         {"TRANSPCELLCOLR",
          {I(1), X(9)},
          [](auto& e, auto&) { e.Ptranspcellcolr(true, 9, orange); }},
         {"COLRTABLE",
          {X(2), rgb(255, 128, 0), rgb(1, 2, 3)},
          [&](auto& e, auto&) { e.Pcolrtable(2, rgbs, 2); }},
         {"COLRMODE", {I(1)}, [](auto& e, auto&) { e.Pcolrmode(1); }},
         {"COLRPREC", {I(16)}, [](auto& e, auto&) { e.Pcolrprec(1000); }},
         {"MARKERCOLR", {rgb(255, 127, 63)}, [](auto& e, auto&) { e.Pmarkercolr(8, orange); }},
         {"TEXTCOLR", {rgb(255, 127, 63)}, [](auto& e, auto&) { e.Ptextcolr(9, orange); }},
         {"FILLCOLR", {rgb(0, 0, 255)}, [](auto& e, auto&) { e.Pfillcolr(2, SbColor(0, 0, 1)); }},
         {"COLRVALUEEXT",
          {rgb(0, 0, 0), rgb(255, 255, 255)},
          [&](auto& e, auto&) { e.Pcolrvalueext(black, white); }},
         {"TRANSPCELLCOLR",
          {I(0), rgb(255, 127, 63)},
          [](auto& e, auto&) { e.Ptranspcellcolr(false, 0, orange); }},
         {"COLRMODE", {I(0)}, [](auto& e, auto&) { e.Pcolrmode(0); }},
         {"BACKCOLR", {rgb(255, 127, 63)}, [](auto& e, auto&) { e.Pbackcolr(orange); }}});
}

TEST(CGMElements, RealsVdcWidthsAndSizes) {
    expectSteps("reals, their precision from the number of digits",
                {{"REALPREC", {I(0), I(9), I(23)}, [](auto& e, auto&) { e.Prealprec(0, 1, 10); }},
                 {"CHAREXPAN", {R(0.1)}, [](auto& e, auto&) { e.Pcharexpan(0.1); }},
                 {"SCALEMODE", {I(1), R(0.25)}, [](auto& e, auto&) { e.Pscalemode(1, 0.25); }},
                 {"REALPREC", {I(0), I(12), I(52)}, [](auto& e, auto&) { e.Prealprec(0, 1, 11); }},
                 {"CHARSPACE", {R(-0.1)}, [](auto& e, auto&) { e.Pcharspace(-0.1); }},
                 {"MITRELIMIT", {R(4)}, [](auto& e, auto&) { e.Pmitrelimit(4); }},
                 {"TEXTALIGN", {I(3), I(0), R(0), R(0)}, [](auto& e, auto&) { e.Ptextalign(3); }},
                 {"SCALEMODE", {I(0), R(2)}, [](auto& e, auto&) { e.Pscalemode(0, 2); }}});
    const SbVec4f points[4] = {pt(1.9f, -23.7f), pt(1.5f, -2.5f), pt(1, 1), pt(0.5f, 2)};
    expectSteps(
        "integer VDC, truncated",
        {{"VDCTYPE", {I(0)}, [](auto& e, auto&) { e.Pvdctype(0); }},
         {"VDCEXT", {P(0, 0), P(210, 297)}, [](auto& e, auto&) { e.Pvdcext(0, 0, 210.7, 297); }},
         {nullptr, {}, [](auto&, auto& w) { w.setPointOffset(10, 20); }},
         {"LINE", {P(11, -3), P(11, 17)}, [&](auto& e, auto&) { e.Pline(points, 2); }},
         {"CHARHEIGHT", {R(3)}, [](auto& e, auto&) { e.Pcharheight(3.9); }}});
    expectSteps(
        "real VDC, fixed point until the VDC real precision; the offset on points only",
        {{nullptr, {}, [](auto&, auto& w) { w.setPointOffset(10, 20); }},
         {"VDCTYPE", {I(1)}, [](auto& e, auto&) { e.Pvdctype(1); }},
         {"VDCEXT",
          {P(0, -0.5), P(210, 297.5)},
          [](auto& e, auto&) { e.Pvdcext(0, -.5, 210, 297.5); }},
         {"VDCREALPREC", {I(0), I(9), I(23)}, [](auto& e, auto&) { e.Pvdcrealprec(0, 1, 8); }},
         {"LINE",
          {P(11.9, -3.7), P(11.5, 17.5), P(11, 21), P(10.5, 22)},
          [&](auto& e, auto&) { e.Pline(points, 4); }},
         {"VDCREALPREC", {I(0), I(12), I(52)}, [](auto& e, auto&) { e.Pvdcrealprec(0, 1, 12); }},
         {"TEXT", {P(11, 22), I(1), S("Hi")}, [](auto& e, auto&) { e.Ptext(pt(1, 2), "Hi"); }},
         {"CHARHEIGHT", {R(0.1)}, [](auto& e, auto&) { e.Pcharheight(0.1); }},
         {"LINEWIDTHMODE", {I(0)}, [](auto& e, auto&) { e.Plinewidthmode(0); }},
         {"LINEWIDTH", {R(0.5)}, [](auto& e, auto&) { e.Plinewidth(0.5); }},
         {"MARKERSIZEMODE", {I(0)}, [](auto& e, auto&) { e.Pmarkersizemode(0); }},
         {"MARKERSIZE", {R(0.25)}, [](auto& e, auto&) { e.Pmarkersize(0.25); }},
         {"EDGEWIDTHMODE", {I(0)}, [](auto& e, auto&) { e.Pedgewidthmode(0); }},
         {"LINEWIDTHMODE", {I(1)}, [](auto& e, auto&) { e.Plinewidthmode(1); }},
         {"LINEWIDTH", {R(2)}, [](auto& e, auto&) { e.Plinewidth(2); }},
         {"MARKERSIZEMODE", {I(1)}, [](auto& e, auto&) { e.Pmarkersizemode(1); }},
         {"MARKERSIZE", {R(3)}, [](auto& e, auto&) { e.Pmarkersize(3); }},
         {"EDGEWIDTHMODE", {I(1)}, [](auto& e, auto&) { e.Pedgewidthmode(1); }}});
}

// Descriptors, delimiters and the attributes of fills and caps are read back from every
// metafile the backend prints in both encodings; these are what those do not pin.
TEST(CGMElements, EmptyFontListDashDefinitionsTextSettingsAndLongTexts) {
    const int even[2] = {8, 8}, odd[3] = {4, 2, 6};
    const std::string longText(300, 't');
    expectSteps("the rest", {{"FONTLIST", {}, [](auto& e, auto&) { e.Pfontlist(nullptr, 0); }},
                             {"LINEEDGETYPEDEF",
                              {I(-1), R(2), I(8), I(8)},
                              [&](auto& e, auto&) { e.Plineedgetypedef(-1, 2, even, 2); }},
                             {"LINEEDGETYPEDEF",  // an odd list of runs is closed with an empty gap
                              {I(-2), R(0.5), I(4), I(2), I(6), I(0)},
                              [&](auto& e, auto&) { e.Plineedgetypedef(-2, 0.5, odd, 3); }},
                             {"TEXT", {P(0, 0), I(1), S(longText)}, [&](auto& e, auto&) {
                                  e.Ptext(pt(0, 0), SbString(longText));
                              }}});
}

// Rows of an odd number of 8-bit cells end with a pad byte, which keeps every row on the
// 16-bit boundary where the decoder looks for it.
TEST(CGMElements, CellArraysAndPatternTables) {
    struct Variant {
        bool direct;
        int columns;
        bool wide;  // 8-bit indices and 16-bit colour indices
    };
    for (const Variant v :
         {Variant{false, 3, false}, Variant{false, 2, false}, Variant{true, 3, false},
          Variant{true, 2, false}, Variant{false, 2, true}}) {
        SCOPED_TRACE(std::to_string(v.columns) + (v.direct ? " direct" : " indexed"));
        std::vector<int> indices;
        std::vector<SbColor> colours;
        Values cells;
        for (int i = 0; i < 1024; ++i) {
            indices.push_back(i % (v.wide ? 1000 : 251));
            colours.push_back(SbColor(i & 1, (i >> 1) & 1, (i >> 2) & 1));
            cells.push_back(v.direct
                                ? rgb(255 * (i & 1), 255 * ((i >> 1) & 1), 255 * ((i >> 2) & 1))
                                : X(indices.back()));
        }
        Values cellArray = {P(0, 2), P(v.columns, 0), P(v.columns, 2), I(v.columns), I(2)};
        cellArray.push_back(I(v.wide ? 16 : 8));
        cellArray.insert(cellArray.end(), cells.begin(), cells.begin() + 2 * v.columns);
        Values pattern = {I(3), I(32), I(32), I(0)};
        pattern.insert(pattern.end(), cells.begin(), cells.end());
        std::vector<Step> steps;
        if (v.direct) steps.push_back({"COLRMODE", {I(1)}, [](auto& e, auto&) { e.Pcolrmode(1); }});
        if (v.wide) {
            steps.push_back({"INDEXPREC", {I(8)}, [](auto& e, auto&) { e.Pindexprec(0, 100); }});
            steps.push_back(
                {"COLRINDEXPREC", {I(16)}, [](auto& e, auto&) { e.Pcolrindexprec(999); }});
        }
        steps.push_back({"CELLARRAY", cellArray, [&](auto& e, auto&) {
                             e.Pcellarray(pt(0, 2), pt(v.columns, 0), pt(v.columns, 2), v.columns,
                                          2, indices.data(), colours.data());
                         }});
        steps.push_back({"PATTABLE", pattern,
                         [&](auto& e, auto&) { e.Ppattable(3, indices.data(), colours.data()); }});
        expectSteps("cells", steps);
    }
}

}  // namespace
}  // namespace cgmtest
