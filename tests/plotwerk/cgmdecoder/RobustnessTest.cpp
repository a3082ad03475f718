// Truncated, corrupt and random input: every problem is reported, nothing crashes, and a
// clean result is only ever a complete metafile.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "CGMBytes.h"

using namespace cgmbytes;

namespace {

std::string sampleBinary() {
    const std::string body =
        element(5, 4, i8(3)) + element(4, 1, pt(0, 0) + pt(10, 10) + pt(20, 0)) +
        element(4, 4, pt(1, 1) + i16(1) + bytes({255, 0x01, 0x2C}) + std::string(300, 't')) +
        element(4, 9,
                pt(0, 0) + pt(3, 2) + pt(3, 0) + i16(3) + i16(2) + i16(8) + i16(1) +
                    bytes({1, 2, 3, 0, 4, 5, 6, 0}));
    return picture(element(2, 6, pt(0, 0) + pt(100, 100)), body, element(1, 2, str("sample")));
}

const char* const kSampleText =
    "BEGMF 'sample'; MFDESC 'x'; BEGPIC 'p'; VDCEXT 0 0 100 100; BEGPICBODY;\n"
    "LINECOLR 3; LINE 0 0 10 10 20 0; TEXT 1 1 FINAL 'some text';\n"
    "CELLARRAY 0 0 3 2 3 0 3 2 255 1 2 3 4 5 6; ENDPIC; ENDMF;";

/// A clean result must be a whole metafile: the invariant random input is checked against.
void expectCleanOnlyWhenComplete(const CGMMetafile& mf, const std::string& what) {
    if (mf.clean()) {
        ASSERT_FALSE(mf.elements.empty()) << what;
        EXPECT_EQ(mf.elements.front().keyword, "BEGMF") << what;
        EXPECT_EQ(mf.elements.back().keyword, "ENDMF") << what;
    }
    EXPECT_LE(mf.errors.size(), 1001u) << what;
}

}  // namespace

TEST(Robustness, EveryTruncationOfAMetafileIsReported) {
    const std::string full = sampleBinary();
    const CGMMetafile whole = CGMBinaryDecoder::decode(full);
    ASSERT_TRUE(whole.clean()) << whole.errorText();
    EXPECT_EQ(whole.elements.size(), 11u);
    for (std::size_t n = 0; n < full.size(); ++n) {
        const CGMMetafile mf = CGMBinaryDecoder::decode(full.substr(0, n));
        EXPECT_FALSE(mf.clean()) << "prefix of " << n << " bytes";
    }
    const std::string text = kSampleText;
    const CGMMetafile wholeText = CGMClearTextReader::read(text);
    ASSERT_TRUE(wholeText.clean()) << wholeText.errorText();
    EXPECT_EQ(wholeText.elements.size(), 11u);
    for (std::size_t n = 0; n < text.size(); ++n) {
        const CGMMetafile mf = CGMClearTextReader::read(text.substr(0, n));
        EXPECT_FALSE(mf.clean()) << "prefix of " << n << " characters";
    }
}

TEST(Robustness, LengthsPastTheEnd) {
    const std::string start = begmf();
    const CGMMetafile shortForm =
        CGMBinaryDecoder::decode(start + bytes({0x40, 0x34}) + std::string(5, 'x'));
    EXPECT_TRUE(shortForm.hasError("class 4 id 1: 20 parameter bytes announced, 5 left"))
        << shortForm.errorText();
    const CGMMetafile partition = CGMBinaryDecoder::decode(start + bytes({0x40, 0x3F, 0x80}));
    EXPECT_TRUE(partition.hasError("truncated partition length")) << partition.errorText();
    const CGMMetafile nextPartition = CGMBinaryDecoder::decode(
        start + bytes({0x40, 0x3F, 0x80, 0x04}) + pt(1, 2) + bytes({0x00}));
    EXPECT_TRUE(nextPartition.hasError("truncated partition length")) << nextPartition.errorText();
    const CGMMetafile pad = CGMBinaryDecoder::decode(start + bytes({0x50, 0x81, 0x07}));
    EXPECT_TRUE(pad.hasError("missing padding byte")) << pad.errorText();
    const CGMMetafile header = CGMBinaryDecoder::decode(start + bytes({0x00}));
    EXPECT_TRUE(header.hasError("truncated command header")) << header.errorText();
    EXPECT_TRUE(CGMBinaryDecoder::decode("").hasError("empty metafile"));
    EXPECT_TRUE(CGMBinaryDecoder::decode(endmf()).hasError("does not begin with BEGMF"));
}

TEST(Robustness, RandomBytesNeverCrash) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 600);
    int unclean = 0;
    for (int round = 0; round < 400; ++round) {
        std::string noise(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : noise) c = static_cast<char>(byte(random));
        // half the rounds start with a proper BEGMF so that the noise reaches the elements
        const std::string input = round % 2 ? begmf() + noise : noise;
        const CGMMetafile mf = CGMBinaryDecoder::decode(input);
        expectCleanOnlyWhenComplete(mf, "round " + std::to_string(round));
        unclean += mf.clean() ? 0 : 1;
    }
    EXPECT_GT(unclean, 390);

    // corrupting one byte at a time of a valid metafile: decoding finishes and stays bounded
    const std::string full = sampleBinary();
    int reported = 0;
    for (std::size_t i = 0; i < full.size(); i += 7) {
        std::string corrupt = full;
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0xA5);
        const CGMMetafile mf = CGMBinaryDecoder::decode(corrupt);
        expectCleanOnlyWhenComplete(mf, "byte " + std::to_string(i));
        reported += mf.clean() ? 0 : 1;
    }
    EXPECT_GT(reported, 0);
}

TEST(Robustness, RandomTextNeverCrashes) {
    std::mt19937 random(77);
    const std::string alphabet = "BEGMFENDLINECOLR;/,%'\" ()0123456789.-+e#\nabcXYZ";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), length(0, 400);
    for (int round = 0; round < 300; ++round) {
        std::string noise(length(random), ' ');
        for (char& c : noise) c = alphabet[pick(random)];
        const std::string input = round % 2 ? "BEGMF 'x'; " + noise : noise;
        expectCleanOnlyWhenComplete(CGMClearTextReader::read(input),
                                    "round " + std::to_string(round));
    }
    std::string bytes256;
    for (int c = 0; c < 256; ++c) bytes256 += static_cast<char>(c);
    EXPECT_FALSE(CGMClearTextReader::read(bytes256).clean());
}

TEST(Robustness, FilesAreReadWholeOrReported) {
    EXPECT_EQ(CGMBinaryDecoder::decodeFile("/nonexistent/x.cgm").errors,
              std::vector<std::string>{"cannot read /nonexistent/x.cgm"});
    EXPECT_EQ(CGMClearTextReader::readFile("/nonexistent/x.cgm").errors,
              std::vector<std::string>{"cannot read /nonexistent/x.cgm"});
    char path[] = "/tmp/cgmdecoderXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string data = sampleBinary();
    std::ofstream(path, std::ios::binary) << data;
    const CGMMetafile fromFile = CGMBinaryDecoder::decodeFile(path);
    EXPECT_TRUE(fromFile.clean()) << fromFile.errorText();
    EXPECT_EQ(fromFile.elements, CGMBinaryDecoder::decode(data).elements);
    std::ofstream(path, std::ios::binary) << kSampleText;
    EXPECT_EQ(CGMClearTextReader::readFile(path).elements,
              CGMClearTextReader::read(kSampleText).elements);
    std::remove(path);
}
