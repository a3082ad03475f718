// CGM from the command: the format by name and by extension, its options, and the demo page
// in both encodings, read back by readers written from the standard's rules, describing the
// same drawing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintRun.h"
#include "support/CGMBinaryDecoder.h"
#include "support/CGMClearTextReader.h"
#include "support/CGMDrawing.h"

namespace {

bool isClearText(const std::string& bytes) {
    return bytes.rfind("BEGMF 'PlotWerk CGM OUTPUT';\n", 0) == 0;
}

// BEGIN METAFILE: class 0, id 1, 20 parameter bytes; then the name's length, 19.
bool isBinary(const std::string& bytes) {
    return bytes.size() > 3 && bytes[0] == 0x00 && bytes[1] == 0x34 && bytes[2] == 19;
}

TEST(MetafileOutput, TheFormatIsChosenByNameOrByExtension) {
    const ScratchDir dir;
    const PrintRun byExtension = PrintRun::unrendered(dir, {}, "a.CGM");
    EXPECT_EQ(byExtension.command.status, 0) << byExtension.command.err;
    EXPECT_TRUE(isClearText(byExtension.document));
    const CommandResult piped = CommandRunner::run({"-f", "cgm"}, dir.path());
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, byExtension.document);
    const CommandResult binary = CommandRunner::run({"-f", "cgm", "--cgm-binary"}, dir.path());
    EXPECT_EQ(binary.status, 0);
    EXPECT_TRUE(isBinary(binary.out));
}

TEST(MetafileOutput, VersionAndIndexedColourReachTheMetafile) {
    const ScratchDir dir;
    const PrintRun run =
        PrintRun::unrendered(dir, {"--cgm-version", "3", "--cgm-indexed"}, "demo.cgm");
    ASSERT_EQ(run.command.status, 0) << run.command.err;
    const CGMMetafile metafile = CGMClearTextReader::read(run.document);
    ASSERT_TRUE(metafile.clean()) << metafile.errorText();
    ASSERT_EQ(metafile.all("MFVERSION").size(), 1u);
    EXPECT_EQ(metafile.all("MFVERSION")[0].params.at(0).integer, 3);
    ASSERT_EQ(metafile.all("COLRMODE").size(), 1u);
    EXPECT_EQ(metafile.all("COLRMODE")[0].params.at(0).integer, 0);
    EXPECT_EQ(metafile.all("COLRTABLE").size(), 1u);
    EXPECT_FALSE(metafile.all("LINEEDGETYPEDEF").empty());
}

TEST(MetafileOutput, TheDemoInBothEncodingsIsOneDrawing) {
    const ScratchDir dir;
    const PrintRun text = PrintRun::unrendered(dir, {}, "demo.cgm");
    const PrintRun binary = PrintRun::unrendered(dir, {"--cgm-binary"}, "demo_binary.cgm");
    ASSERT_EQ(text.command.status, 0) << text.command.err;
    ASSERT_EQ(binary.command.status, 0) << binary.command.err;
    const CGMMetafile fromText = CGMClearTextReader::read(text.document);
    const CGMMetafile fromBinary = CGMBinaryDecoder::decode(binary.document);
    ASSERT_TRUE(fromText.clean()) << fromText.errorText();
    ASSERT_TRUE(fromBinary.clean()) << fromBinary.errorText();
    const std::vector<CGMDrawnPrimitive> a = CGMDrawing::of(fromText);
    const std::vector<CGMDrawnPrimitive> b = CGMDrawing::of(fromBinary);
    EXPECT_GT(a.size(), 1000u);
    EXPECT_EQ(CGMDrawing::firstDifference(a, b, 2e-3), "");
    // Every kind of primitive of the demo page is there.
    for (const char* kind : {"POLYGON", "LINE", "TEXT", "CELLARRAY"})
        EXPECT_FALSE(fromBinary.all(kind).empty()) << kind;
}

}  // namespace
