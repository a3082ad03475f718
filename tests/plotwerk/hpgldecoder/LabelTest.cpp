// Labels: terminators, the label state in force and 16-bit text.

#include <gtest/gtest.h>

#include "HPGLBytes.h"

using namespace hpglbytes;

// A label carries the pen position, pen, origin, direction and font of its time.
TEST(Labels, DefaultTerminatorAndStateInForce) {
    const HPGLPlot plot =
        decodeFramed("SP4PA1000,2000LO5DI0,1SD4,12.5,2,1SSLBHello, world;\x03PA0,0LO;DI;LBx\x03");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.labels.size(), 2u);
    const HPGLLabel& l = plot.labels[0];
    EXPECT_EQ(l.bytes, "Hello, world;");
    EXPECT_EQ(l.units.size(), 13u);
    EXPECT_EQ(l.at.x, 1000);
    EXPECT_EQ(l.at.y, 2000);
    EXPECT_EQ(l.pen.number, 4);
    EXPECT_EQ(l.origin, 5);
    EXPECT_EQ(l.run, 0);
    EXPECT_EQ(l.rise, 1);
    EXPECT_EQ(l.font.at(4), 12.5);
    EXPECT_EQ(l.font.at(2), 1);
    EXPECT_EQ(l.font.at(1), 277);  // not given: the default symbol set stays
    EXPECT_FALSE(l.alternateFont);
    EXPECT_EQ(l.terminator, 3);
    const HPGLLabel& reset = plot.labels[1];
    EXPECT_EQ(reset.bytes, "x");
    EXPECT_EQ(reset.origin, 1);
    EXPECT_EQ(reset.run, 1);
    EXPECT_EQ(reset.rise, 0);
    EXPECT_EQ(reset.at.x, 0);
}

// DT sets the terminator; mode 0 prints it, so it ends the text; DT; restores ETX.
TEST(Labels, TerminatorChangedPrintedAndRestored) {
    const HPGLPlot plot = decodeFramed("DT#;LBab#PA0,0DT@,0;LBcd@PA0,0DT;LBe#f@\x03");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.labels.size(), 3u);
    EXPECT_EQ(plot.labels[0].bytes, "ab");
    EXPECT_EQ(plot.labels[0].terminator, '#');
    EXPECT_EQ(plot.labels[1].bytes, "cd@");
    EXPECT_TRUE(plot.labels[1].terminatorPrinted);
    EXPECT_EQ(plot.labels[2].bytes, "e#f@");
    EXPECT_EQ(plot.labels[2].terminator, 3);
}

// After "ab#" the text "c" and ETX are no label: 'c' followed by a control byte is stray.
TEST(Labels, BytesAfterTheTerminatorAreCommandsAgain) {
    const HPGLPlot plot = decodeFramed("DT#;LBab#c\x03");
    EXPECT_TRUE(plot.hasError("unexpected byte")) << errorsOf(plot);
}

// SA selects the alternate font defined by AD; SS goes back to the standard one.
TEST(Labels, AlternateFontBySA) {
    const HPGLPlot plot = decodeFramed("AD4,20,7,5SD4,8SALBx\x03PA0,0SSLBy\x03");
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.labels.size(), 2u);
    EXPECT_TRUE(plot.labels[0].alternateFont);
    EXPECT_EQ(plot.labels[0].font.at(4), 20);
    EXPECT_EQ(plot.labels[0].font.at(7), 5);
    EXPECT_FALSE(plot.labels[1].alternateFont);
    EXPECT_EQ(plot.labels[1].font.at(4), 8);
}

// In 16-bit mode text is big-endian code units; a byte 0x03 inside a unit ends nothing.
TEST(Labels, SixteenBitUnitsAreBigEndian) {
    HPGLDecodeOptions sixteen;
    sixteen.labels16Bit = true;
    const std::string text = bytes({0x00, 0x41, 0x03, 0x41, 0x20, 0xAC, 0x41, 0x00});
    const HPGLPlot plot = decodeFramed(
        "PA5,6LB" + text + bytes({0x00, 0x03}) + "PA0,0DT#LB" + bytes({0x00, 0x42, 0x00, 0x23}),
        sixteen);
    ASSERT_TRUE(plot.clean()) << errorsOf(plot);
    ASSERT_EQ(plot.labels.size(), 2u);
    EXPECT_EQ(plot.labels[0].units, (std::vector<std::uint16_t>{0x0041, 0x0341, 0x20AC, 0x4100}));
    EXPECT_EQ(plot.labels[0].bytes, text);
    EXPECT_EQ(plot.labels[1].units, std::vector<std::uint16_t>{0x0042});
    EXPECT_EQ(plot.labels[1].terminator, '#');
    // The same text read as 8-bit bytes stops at the first 0x03.
    const HPGLPlot narrow = decodeFramed("LB" + text + bytes({0x00, 0x03}));
    ASSERT_FALSE(narrow.labels.empty());
    EXPECT_EQ(narrow.labels[0].bytes, bytes({0x00, 0x41}));
}

TEST(Labels, SixteenBitOddByteIsReported) {
    HPGLDecodeOptions sixteen;
    sixteen.labels16Bit = true;
    const HPGLPlot plot = HPGLDecoder::decode("\x1b%-1BLB" + bytes({0x00, 0x41, 0x00}), sixteen);
    EXPECT_TRUE(plot.hasError("odd byte")) << errorsOf(plot);
    EXPECT_TRUE(plot.hasError("unterminated LB")) << errorsOf(plot);
}

// A label cut short by the return to PCL is reported, and the escapes still act.
TEST(Labels, UnterminatedLabelIsReportedAndEscapesStillAct) {
    const HPGLPlot plot = decodeFramed("PA3,4LBabc");
    EXPECT_TRUE(plot.hasError("unterminated LB")) << errorsOf(plot);
    ASSERT_EQ(plot.labels.size(), 1u);
    EXPECT_EQ(plot.labels[0].bytes, "abc");
    EXPECT_EQ(plot.pclEscapes, (std::vector<std::string>{"E", "%-1B", "%0A", "E"}));
}

// The end of a label depends on font metrics: a relative move from there is flagged, an
// absolute one is fine.
TEST(Labels, RelativeMoveAfterLabelIsFlagged) {
    const HPGLPlot absolute = decodeFramed("PA0,0LBab\x03PA10,10PR5,5");
    EXPECT_TRUE(absolute.clean()) << errorsOf(absolute);
    const HPGLPlot relative = decodeFramed("PA0,0LBab\x03PR5,5");
    EXPECT_TRUE(relative.hasError("position unknown")) << errorsOf(relative);
}
