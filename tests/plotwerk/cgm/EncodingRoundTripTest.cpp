// The example scenes printed in clear text and in binary, read back by readers written from
// the standard's rules: both decode without error and describe the same drawing, in direct
// and in indexed colour, in versions 1 and 3. And binary output does not depend on the size
// of the write buffer.

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoSeparator.h>

#include <string>
#include <tuple>

#include "plotwerk/cgm/CGMTestAction.h"
#include "support/CGMBinaryDecoder.h"
#include "support/CGMClearTextReader.h"
#include "support/CGMDrawing.h"

namespace {

SoSeparator* readExample(const std::string& name) {
    SoInput in;
    if (!in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + name).c_str())) return nullptr;
    return SoDB::readAll(&in);
}

struct Encodings {
    int version;
    bool indexed;
};

std::string printed(SoNode* root, bool binary, const Encodings& encodings) {
    CGMTestAction action;
    action.getCGMVectorOutput()->setBinary(binary ? 1 : 0);
    action.getCGMVectorOutput()->setVersion(encodings.version);
    action.getCGMVectorOutput()->setIndexed(encodings.indexed ? 1 : 0);
    action.setBackgroundColor(1, SbColor(0.9f, 0.9f, 1.0f));
    action.apply(root);
    return action.text();
}

using Case = std::tuple<std::string, Encodings>;

class CGMEncodings : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        root = readExample(std::get<0>(GetParam()));
        ASSERT_NE(root, nullptr);
        root->ref();
    }
    void TearDown() override {
        if (root) root->unref();
        SoPlotWerk::finish();
    }
    SoSeparator* root = nullptr;
};

TEST_P(CGMEncodings, ClearTextAndBinaryDecodeToTheSameDrawing) {
    const Encodings encodings = std::get<1>(GetParam());
    const CGMMetafile text = CGMClearTextReader::read(printed(root, false, encodings));
    const CGMMetafile binary = CGMBinaryDecoder::decode(printed(root, true, encodings));
    ASSERT_TRUE(text.clean()) << text.errorText();
    ASSERT_TRUE(binary.clean()) << binary.errorText();
    const std::vector<CGMDrawnPrimitive> a = CGMDrawing::of(text);
    const std::vector<CGMDrawnPrimitive> b = CGMDrawing::of(binary);
    EXPECT_GT(a.size(), 2u);
    // Clear text keeps six significant digits of page millimetres.
    EXPECT_EQ(CGMDrawing::firstDifference(a, b, 2e-3), "");
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CGMEncodings,
    ::testing::Combine(::testing::Values("lines_and_markers.tsc", "fills_and_patterns.tsc",
                                         "lit_shapes.tsc", "text.tsc", "image.tsc"),
                       ::testing::Values(Encodings{1, false}, Encodings{3, true})),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = std::get<0>(info.param).substr(0, std::get<0>(info.param).find('.'));
        for (char& c : name)
            if (c == '_') c = 'X';
        const Encodings e = std::get<1>(info.param);
        return name + "_v" + std::to_string(e.version) + (e.indexed ? "_indexed" : "_direct");
    });

TEST(CGMWriteBuffer, BinaryOutputIsTheSameWhateverTheBufferSize) {
    SoPlotWerk::init();
    SoSeparator* root = readExample("fills_and_patterns.tsc");
    ASSERT_NE(root, nullptr);
    root->ref();
    // Version 1: user-defined line types would take new numbers in every metafile.
    const Encodings encodings{1, true};
    const std::string buffered = printed(root, true, encodings);
    SoPreferences::setValue("VXN_COMPAT_CGM_PLOTWERK_400", "1");
    const std::string unbuffered = printed(root, true, encodings);
    SoPreferences::removeValue("VXN_COMPAT_CGM_PLOTWERK_400");
    SoPreferences::setValue("VXN_CGM_PLOTWERK_BUFSIZE", "7");
    const std::string small = printed(root, true, encodings);
    SoPreferences::removeValue("VXN_CGM_PLOTWERK_BUFSIZE");
    EXPECT_GT(buffered.size(), 1000u);
    EXPECT_TRUE(buffered == unbuffered) << "differs with a buffer of 1 byte";
    EXPECT_TRUE(buffered == small) << "differs with a buffer of 7 bytes";
    // Clear text does not go through the buffer at all.
    const std::string text = printed(root, false, encodings);
    SoPreferences::setValue("VXN_COMPAT_CGM_PLOTWERK_400", "1");
    EXPECT_EQ(printed(root, false, encodings), text);
    SoPreferences::removeValue("VXN_COMPAT_CGM_PLOTWERK_400");
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace
