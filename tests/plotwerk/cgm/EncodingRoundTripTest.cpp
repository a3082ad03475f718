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

void useVersion(CGMTestAction& action, int version) {
    action.getCGMVectorOutput()->setVersion(version);
    action.getCGMVectorOutput()->setIndexed(version == 3 ? 1 : 0);
    action.setBackgroundColor(1, SbColor(0.9f, 0.9f, 1.0f));
}

TEST_F(CGMTest, ExampleScenesDecodeToTheSameDrawingInBothEncodings) {
    for (const char* name : {"lines_and_markers.tsc", "fills_and_patterns.tsc", "lit_shapes.tsc",
                             "text.tsc", "image.tsc"}) {
        SoSeparator* root = readExample(name);
        ASSERT_NE(root, nullptr) << name;
        for (const int version : {1, 3}) {
            SCOPED_TRACE(std::string(name) + " version " + std::to_string(version));
            const CGMPrints prints = printBoth([&](CGMTestAction& a) { useVersion(a, version); },
                                               [&](CGMTestAction& a) { a.apply(root); }, false);
            EXPECT_GT(prints.drawing.size(), 2u);
        }
        root->unref();
    }
}

TEST_F(CGMTest, BinaryOutputIsTheSameWhateverTheBufferSize) {
    SoSeparator* root = readExample("fills_and_patterns.tsc");
    ASSERT_NE(root, nullptr);
    auto printed = [root] {
        CGMTestAction printer;
        printer.getCGMVectorOutput()->setBinary(1);
        // Version 1: user-defined line types would take new numbers in every metafile.
        useVersion(printer, 1);
        printer.getCGMVectorOutput()->setIndexed(1);
        printer.apply(root);
        return printer.text();
    };
    const std::string buffered = printed();
    SoPreferences::setValue("VXN_COMPAT_CGM_PLOTWERK_400", "1");
    const std::string unbuffered = printed();
    SoPreferences::removeValue("VXN_COMPAT_CGM_PLOTWERK_400");
    SoPreferences::setValue("VXN_CGM_PLOTWERK_BUFSIZE", "7");
    const std::string small = printed();
    SoPreferences::removeValue("VXN_CGM_PLOTWERK_BUFSIZE");
    EXPECT_GT(buffered.size(), 1000u);
    EXPECT_TRUE(buffered == unbuffered) << "differs with a buffer of 1 byte";
    EXPECT_TRUE(buffered == small) << "differs with a buffer of 7 bytes";
    root->unref();
}

}  // namespace
