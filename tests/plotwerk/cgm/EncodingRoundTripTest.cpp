// The example scenes printed in clear text and in binary, read back by readers written from
// the standard's rules: both decode without error and describe the same drawing, in direct
// and in indexed colour, in versions 1 and 3. And binary output does not depend on the size
// of the write buffer.

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoSeparator.h>

#include "plotwerk/cgm/CGMTestAction.h"

namespace {

SoSeparator* readExample(const std::string& name) {
    SoInput in;
    if (!in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + name).c_str())) return nullptr;
    SoSeparator* root = SoDB::readAll(&in);
    if (root) root->ref();
    return root;
}

std::string printed(SoNode* root, bool binary, int version, bool indexed) {
    CGMTestAction action;
    action.getCGMVectorOutput()->setBinary(binary ? 1 : 0);
    action.getCGMVectorOutput()->setVersion(version);
    action.getCGMVectorOutput()->setIndexed(indexed ? 1 : 0);
    action.setBackgroundColor(1, SbColor(0.9f, 0.9f, 1.0f));
    action.apply(root);
    return action.text();
}

TEST_F(CGMTest, ExampleScenesDecodeToTheSameDrawingInBothEncodings) {
    for (const char* name : {"lines_and_markers.tsc", "fills_and_patterns.tsc", "lit_shapes.tsc",
                             "text.tsc", "image.tsc"}) {
        SoSeparator* root = readExample(name);
        ASSERT_NE(root, nullptr) << name;
        for (const bool indexed : {false, true}) {
            const int version = indexed ? 3 : 1;
            SCOPED_TRACE(std::string(name) + " version " + std::to_string(version));
            const CGMMetafile text =
                CGMClearTextReader::read(printed(root, false, version, indexed));
            const CGMMetafile binary =
                CGMBinaryDecoder::decode(printed(root, true, version, indexed));
            ASSERT_TRUE(text.clean()) << text.errorText();
            ASSERT_TRUE(binary.clean()) << binary.errorText();
            const std::vector<CGMDrawnPrimitive> a = CGMDrawing::of(text);
            EXPECT_GT(a.size(), 2u);
            // Clear text keeps six significant digits of page millimetres.
            EXPECT_EQ(CGMDrawing::firstDifference(a, CGMDrawing::of(binary), 2e-3), "");
        }
        root->unref();
    }
}

TEST_F(CGMTest, BinaryOutputIsTheSameWhateverTheBufferSize) {
    SoSeparator* root = readExample("fills_and_patterns.tsc");
    ASSERT_NE(root, nullptr);
    // Version 1: user-defined line types would take new numbers in every metafile.
    const std::string buffered = printed(root, true, 1, true);
    SoPreferences::setValue("VXN_COMPAT_CGM_PLOTWERK_400", "1");
    const std::string unbuffered = printed(root, true, 1, true);
    SoPreferences::removeValue("VXN_COMPAT_CGM_PLOTWERK_400");
    SoPreferences::setValue("VXN_CGM_PLOTWERK_BUFSIZE", "7");
    const std::string small = printed(root, true, 1, true);
    SoPreferences::removeValue("VXN_CGM_PLOTWERK_BUFSIZE");
    EXPECT_GT(buffered.size(), 1000u);
    EXPECT_TRUE(buffered == unbuffered) << "differs with a buffer of 1 byte";
    EXPECT_TRUE(buffered == small) << "differs with a buffer of 7 bytes";
    root->unref();
}

}  // namespace
