// PCL framing and bad input: every problem is named, nothing crashes, and decoding goes on
// after a fault where it safely can.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "HPGLBytes.h"

using namespace hpglbytes;

namespace {

/// A small plot using most commands, clean as a whole.
std::string fullPlot() {
    return framed(
        "IN;NP8;PC1,0,0,255;PS20000,10000;RO0;TR0;LA1,4,2,4;IW;WU0;PW0.25,1;SP1;"
        "LT;PU100,100;PD200,100,200,200;PU;PE<=" +
        pair(300, 300) + pair(50, 0) + pair(0, 50) + ";FT1;PM0;PE<=" + pair(500, 500) +
        pair(100, 0) + pair(0, 100) +
        ";PM2;FP0;EP;PU;SM*;PA700,700;SM;DT\x03,1;LO1;DI1,0;"
        "SD1,277,2,1,4,12;SS;PA800,800;LBok\x03PG;");
}

}  // namespace

TEST(Pcl, EscapesAreRecordedAndSwitchModes) {
    const HPGLPlot plot = HPGLDecoder::decode(
        "\x1b%-12345X@PJL ENTER LANGUAGE=PCL\r\n\x1b"
        "E"
        "\x1b&l0O\x1b%0BPA0,0PD1,1"
        "\x1b%0A\x1b"
        "E");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_EQ(plot.pclEscapes,
              (std::vector<std::string>{"%-12345X", "E", "&l0O", "%0B", "%0A", "E"}));
    EXPECT_EQ(plot.polylines.size(), 1u);
}

TEST(Pcl, MissingEscapeAtTheStartIsReportedButDecodingGoesOn) {
    const HPGLPlot plot = HPGLDecoder::decode("IN;PA0,0;PD10,10;PU;");
    ASSERT_EQ(plot.errors.size(), 1u) << errorsOf(plot);
    EXPECT_TRUE(plot.hasError("missing PCL escape"));
    EXPECT_EQ(plot.polylines.size(), 1u);
}

TEST(Pcl, CommandsOutsideHPGLModeAndStrayEscapesAreReported) {
    const HPGLPlot outside = HPGLDecoder::decode(
        "\x1b"
        "EIN;PD1,1");
    EXPECT_TRUE(outside.hasError("outside HP-GL/2 mode")) << errorsOf(outside);
    EXPECT_TRUE(outside.polylines.empty());
    const HPGLPlot stray = decodeFramed("PA0,0\x1b&l1OPD1,1");
    EXPECT_TRUE(stray.hasError("ESC&l1O inside HP-GL/2")) << errorsOf(stray);
    const HPGLPlot cut = HPGLDecoder::decode("\x1b%-1");
    EXPECT_TRUE(cut.hasError("truncated PCL escape")) << errorsOf(cut);
}

TEST(Errors, EmptyInput) {
    const HPGLPlot plot = HPGLDecoder::decode("");
    EXPECT_TRUE(plot.hasError("missing PCL escape")) << errorsOf(plot);
    EXPECT_TRUE(plot.polylines.empty());
}

TEST(Errors, FullPlotIsCleanAndFileDecodingMatches) {
    const std::string bytes = fullPlot();
    const HPGLPlot plot = HPGLDecoder::decode(bytes);
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    EXPECT_EQ(plot.polylines.size(), 2u);
    EXPECT_EQ(plot.polygons.size(), 2u);
    EXPECT_EQ(plot.symbols.size(), 1u);
    EXPECT_EQ(plot.labels.size(), 1u);
    EXPECT_EQ(plot.polylines[0].pen.width, 0.25);

    const std::string path = ::testing::TempDir() + "hpgldecoder_full.plt";
    std::ofstream(path, std::ios::binary) << bytes;
    const HPGLPlot fromFile = HPGLDecoder::decodeFile(path);
    std::remove(path.c_str());
    EXPECT_TRUE(fromFile.clean()) << errorsOf(fromFile);
    EXPECT_EQ(fromFile.polylines.size(), plot.polylines.size());
    EXPECT_EQ(fromFile.polygons.size(), plot.polygons.size());
    const HPGLPlot missing = HPGLDecoder::decodeFile(path);
    EXPECT_TRUE(missing.hasError("cannot read")) << errorsOf(missing);
}

// Cut anywhere inside a PE, the plot is reported unfinished and the unfinished pair not drawn.
TEST(Errors, TruncatedPEIsReportedAtEveryCut) {
    const std::string head = "\x1b%-1BPA0,0PE<=";
    const std::string encodedPart = pair(1000, 2000) + pair(-70000, 5) + pair(3, 3);
    for (std::size_t cut = 0; cut < encodedPart.size(); ++cut) {
        const HPGLPlot plot = HPGLDecoder::decode(head + encodedPart.substr(0, cut));
        EXPECT_TRUE(plot.hasError("unterminated PE")) << "cut " << cut << "\n" << errorsOf(plot);
        for (const HPGLPolyline& l : plot.polylines)  // the last pair ends at x = -68997
            for (const HPGLPoint& p : l.points) EXPECT_NE(p.x, -68997) << "cut " << cut;
    }
}

TEST(Errors, BadByteInEncodedNumberDropsTheRestOfThePE) {
    const HPGLPlot plot =
        decodeFramed("PE<=" + pair(0, 0) + bytes({71, 0x80, 194}) + pair(1, 1) + ";PA9,9PD8,8");
    EXPECT_TRUE(plot.hasError("bad byte 0x80 in encoded number")) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);  // only the PD after the PE
    EXPECT_EQ(plot.polylines[0].points.front().x, 9);
}

TEST(Errors, UnknownMnemonicIsSkippedAndDecodingGoesOn) {
    const HPGLPlot plot = decodeFramed("ZZ1,2,3;PA0,0XY;PD5,5");
    EXPECT_TRUE(plot.hasError("unknown mnemonic 'ZZ'")) << errorsOf(plot);
    EXPECT_TRUE(plot.hasError("unknown mnemonic 'XY'")) << errorsOf(plot);
    ASSERT_EQ(plot.polylines.size(), 1u);
    EXPECT_EQ(plot.polylines[0].points.back().x, 5);
}

TEST(Errors, BadNumbersAndParameterCounts) {
    for (const char* body : {"PA12..5,3", "PA--1,2", "PA1,2#", "PW0.3.5", "PA1e5,0"}) {
        const HPGLPlot plot = decodeFramed(std::string(body) + ";PD1,1");
        EXPECT_FALSE(plot.clean()) << body;
        for (const HPGLPolyline& l : plot.polylines)
            EXPECT_NE(l.points.front().x, 12.5) << body << ": a bad command was applied";
    }
    EXPECT_TRUE(decodeFramed("PA12..5,3").hasError("bad number '12..5'"));
    EXPECT_TRUE(decodeFramed("PA1,2,3").hasError("odd number of coordinates"));
    EXPECT_TRUE(decodeFramed("SP1,2").hasError("SP with 2 parameters"));
    EXPECT_TRUE(decodeFramed("SP1.5").hasError("pen 1.5 out of range"));
}

TEST(Errors, CoordinatesOutOfRange) {
    const HPGLPlot absolute = decodeFramed("PA2000000000,0;PD1,1");
    EXPECT_TRUE(absolute.hasError("coordinate out of range")) << errorsOf(absolute);
    // Relative steps each within range that add up beyond it.
    const HPGLPlot relative = decodeFramed("PE=" + pair(1000000000, 0) + pair(1000000000, 0) + ";");
    EXPECT_TRUE(relative.hasError("coordinate out of range")) << errorsOf(relative);
    ASSERT_EQ(relative.polylines.size(), 1u);
    EXPECT_EQ(relative.polylines[0].points.back().x, 1000000000);
}

TEST(Errors, HugeCountsAndLongNumbers) {
    EXPECT_TRUE(decodeFramed("NP1000000000").hasError("bad pen count"));
    EXPECT_TRUE(decodeFramed("SP99999999999999999999").hasError("out of range"));
    EXPECT_TRUE(decodeFramed("PA1" + std::string(400, '9') + ",0").hasError("out of range"));
    EXPECT_TRUE(decodeFramed("PE" + std::string(40, 'x') + bytes({191, 191}) + ";")
                    .hasError("encoded number too long"));
    std::string gaps = "UL1";
    for (int i = 0; i < 30; ++i) gaps += ",1";
    EXPECT_TRUE(decodeFramed(gaps).hasError("more than 20 gaps"));

    std::string many = "PA0,0PD";
    for (int i = 1; i <= 100000; ++i)
        many += std::to_string(i % 977) + "," + std::to_string(i) + ",";
    const HPGLPlot big = decodeFramed(many + ";PU");
    ASSERT_TRUE(big.clean()) << errorsOf(big);
    ASSERT_EQ(big.polylines.size(), 1u);
    EXPECT_EQ(big.polylines[0].points.size(), 100001u);
    EXPECT_EQ(big.polylines[0].points.back().y, 100000);
}

TEST(Errors, ErrorListIsBounded) {
    std::string body;
    for (int i = 0; i < 5000; ++i) body += "QQ;";
    const HPGLPlot plot = decodeFramed(body + "PA0,0PD1,1");
    EXPECT_EQ(plot.errors.size(), 1001u);
    EXPECT_TRUE(plot.hasError("too many errors"));
    EXPECT_EQ(plot.polylines.size(), 1u);
}

TEST(Errors, DrawingAfterTheLastPageIsReported) {
    EXPECT_TRUE(decodeFramed("PA0,0PD1,1PU;PG;").clean());
    const HPGLPlot after = decodeFramed("PA0,0PD1,1PU;PG;PD2,2;PU");
    EXPECT_TRUE(after.hasError("drawing after the last PG")) << errorsOf(after);
    ASSERT_EQ(after.polylines.size(), 2u);
    EXPECT_EQ(after.polylines[0].page, 0);
    EXPECT_EQ(after.polylines[1].page, 1);
}

// Random bytes, and valid plots with bytes overwritten or cut off: never a crash, every
// message well formed, and a plot that is not an escape at its start always reported.
TEST(Errors, GarbageAndCorruptionNeverCrash) {
    std::mt19937 random(20240611u);
    const std::string alphabet = "PEPDPULBSMDTPMFPCO;,.-0123456789<=>:7\x03\x1b%\"#AB \n";
    const std::string valid = fullPlot();
    for (int round = 0; round < 600; ++round) {
        std::string input;
        const int kind = round % 3;
        if (kind == 0) {
            const std::size_t n = 1 + random() % 300;
            for (std::size_t i = 0; i < n; ++i)
                input += random() % 2 ? static_cast<char>(random() % 256)
                                      : alphabet[random() % alphabet.size()];
        } else if (kind == 1) {
            input = valid;
            for (int k = 0; k < 5; ++k)
                input[random() % input.size()] = static_cast<char>(random());
        } else {
            input = valid.substr(0, random() % valid.size());
        }
        const HPGLPlot plot = HPGLDecoder::decode(input);
        EXPECT_LE(plot.errors.size(), 1001u);
        for (const std::string& e : plot.errors) EXPECT_EQ(e.rfind("byte ", 0), 0u) << e;
        if (input.empty() || input[0] != '\x1b') {
            EXPECT_TRUE(plot.hasError("missing PCL escape"));
        }
        for (const HPGLPolyline& l : plot.polylines) EXPECT_GE(l.points.size(), 2u);
    }
}
