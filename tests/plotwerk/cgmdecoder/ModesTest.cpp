// Binary strings of every length form, and the modes that decide how later parameters are
// encoded: colour selection mode and the width and size modes (absolute or scaled).

#include <gtest/gtest.h>

#include "CGMBytes.h"

using namespace cgmbytes;

TEST(Strings, LongStringsUseTheLengthWord) {
    const std::string text300(300, 'x'), text255(255, 'y');
    const std::string params = bytes({255, 0x01, 0x2C}) + text300;
    const std::string mfdesc = element(1, 2, params);
    // 303 parameter bytes: long form, length word 303, then one padding byte
    ASSERT_EQ(mfdesc.substr(0, 4), bytes({0x10, 0x5F, 0x01, 0x2F}));
    ASSERT_EQ(mfdesc.size(), 4u + 303u + 1u);
    const std::string exactly = element(0, 3, bytes({255, 0x00, 0xFF}) + text255);
    const CGMMetafile mf =
        CGMBinaryDecoder::decode(begmf() + mfdesc + exactly + begpicbody() + endpic() + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("MFDESC")[0].params, Values{S(text300)});
    EXPECT_EQ(mf.all("BEGPIC")[0].params, Values{S(text255)});
}

TEST(Strings, ContinuedPartsAreJoinedAndOverrunsReported) {
    const std::string text = element(
        4, 4, pt(1, 2) + i16(1) + bytes({255, 0x80, 0x03}) + "abc" + bytes({0x00, 0x02}) + "de");
    const CGMMetafile mf = CGMBinaryDecoder::decode(picture("", text));
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(bodyOf(mf).at(0).params, (Values{P(1, 2), I(1), S("abcde")}));

    const CGMMetafile past = CGMBinaryDecoder::decode(
        picture("", element(4, 4, pt(0, 0) + i16(1) + bytes({10}) + "abc")));
    EXPECT_TRUE(past.hasError("TEXT: string runs past the parameters")) << past.errorText();
}

namespace {

/// The colour elements, each with one parameter in the given encoding.
std::string colourElements(const std::string& colour) {
    std::string out;
    for (int id : {4, 8, 14, 23, 29}) out += element(5, id, colour);
    return out + element(3, 3, colour) + element(3, 20, i16(1) + colour);
}

}  // namespace

TEST(Modes, ColourSelectionModeDecidesIndexOrComponents) {
    const std::string direct = begpic() + element(2, 2, i16(1)) + element(2, 7, bytes({9, 8, 7})) +
                               begpicbody() + colourElements(bytes({10, 20, 30})) + endpic();
    const std::string indexed = begpic() + element(2, 7, bytes({1, 2, 3})) + begpicbody() +
                                colourElements(i8(5)) + endpic();
    const CGMMetafile mf = CGMBinaryDecoder::decode(begmf() + direct + indexed + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    EXPECT_EQ(mf.all("COLRMODE")[0].params, Values{I(1)});
    EXPECT_EQ(mf.all("BACKCOLR")[0].params, Values{C(9, 8, 7)});
    EXPECT_EQ(mf.all("BACKCOLR")[1].params, Values{C(1, 2, 3)});  // always direct
    for (const char* k :
         {"LINECOLR", "MARKERCOLR", "TEXTCOLR", "FILLCOLR", "EDGECOLR", "AUXCOLR"}) {
        const std::vector<CGMElement> found = mf.all(k);
        ASSERT_EQ(found.size(), 2u) << k;
        EXPECT_EQ(found[0].params, Values{C(10, 20, 30)}) << k;
        EXPECT_EQ(found[1].params, Values{X(5)}) << k;
    }
    const std::vector<CGMElement> transparent = mf.all("TRANSPCELLCOLR");
    ASSERT_EQ(transparent.size(), 2u);
    EXPECT_EQ(transparent[0].params, (Values{I(1), C(10, 20, 30)}));
    EXPECT_EQ(transparent[1].params, (Values{I(1), X(5)}));

    const CGMMetafile unknown =
        CGMBinaryDecoder::decode(picture(element(2, 2, i16(2)) + element(2, 3, i16(7)), ""));
    EXPECT_TRUE(unknown.hasError("COLRMODE: unknown mode")) << unknown.errorText();
    EXPECT_TRUE(unknown.hasError("LINEWIDTHMODE: unknown mode")) << unknown.errorText();
}

TEST(Modes, WidthAndSizeModesChooseVdcOrReal) {
    const std::string modes = element(2, 3, i16(1)) + element(2, 4, i16(3)) + element(2, 5, i16(0));
    const std::string sizes = element(5, 3, bytes({0, 2, 0x80, 0})) +
                              element(5, 7, bytes({0, 0, 0x40, 0})) + element(5, 28, i16(12));
    const std::string first = begpic() + modes + begpicbody() + sizes + endpic();
    const std::string second =
        begpic() + begpicbody() + element(5, 3, i16(5)) + element(5, 7, i16(6)) + endpic();
    const CGMMetafile mf = CGMBinaryDecoder::decode(begmf() + first + second + endmf());
    ASSERT_TRUE(mf.clean()) << mf.errorText();
    const std::vector<CGMElement> widths = mf.all("LINEWIDTH"), markers = mf.all("MARKERSIZE");
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_EQ(widths[0].params, Values{R(2.5)});              // scaled: a real
    EXPECT_EQ(markers[0].params, Values{R(0.25)});            // millimetres: a real
    EXPECT_EQ(mf.all("EDGEWIDTH")[0].params, Values{R(12)});  // absolute: VDC
    EXPECT_EQ(widths[1].params, Values{R(5)});                // a new picture is absolute again
    EXPECT_EQ(markers[1].params, Values{R(6)});
}
