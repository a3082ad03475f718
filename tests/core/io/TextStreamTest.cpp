#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

// The stream's own number reads, each type at its edges; a number that does not fit is left
// for the next read.
TEST(SoInput, NumbersOfEachTypeAndWhatIsLeft) {
    const std::string text =
        "# a comment\n-2147483648 4294967295 -32768 65535 -2.5E-2 .5 65536 next";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    int32_t i = 0;
    uint32_t u = 0;
    short s = 0;
    unsigned short us = 0;
    float f = 0;
    double d = 0;
    ASSERT_TRUE(in.read(i) && in.read(u) && in.read(s) && in.read(us) && in.read(f) && in.read(d));
    EXPECT_EQ(i, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(u, std::numeric_limits<uint32_t>::max());
    EXPECT_EQ(s, std::numeric_limits<short>::min());
    EXPECT_EQ(us, std::numeric_limits<unsigned short>::max());
    EXPECT_EQ(f, -0.025f);
    EXPECT_EQ(d, 0.5);
    EXPECT_FALSE(in.read(us));
    SbString word;
    EXPECT_TRUE(in.read(word));
    EXPECT_EQ(word, "65536");
}

// Numbers and strings in their shortest text, one level in; indentation never goes below
// zero, and columns count characters.
TEST(SoOutput, NumbersAndStringsInTheirShortestText) {
    SoOutput out;
    out.setBuffer();
    out.decrementIndent();
    out.incrementIndent();
    out.newLine();
    // Floats use the shortest text that reads back to the same float.
    const float values[] = {0.1f,          1.0f,   -2.5f, 1e10f,        0.3f,
                            3.4028235e38f, 1e-45f, -0.0f, 123456792.0f, std::nanf("")};
    for (const float v : values) {
        out.write(v);
        out.write(' ');
    }
    out.write(-std::numeric_limits<float>::infinity());
    out.write(' ');
    out.write(0.1);
    out.write(' ');
    out.write(int32_t{-2147483647 - 1});
    out.write(' ');
    out.write(uint32_t{4294967295u});
    out.write(' ');
    out.writeQuoted(SbString("a \"b\" c\\d\ne \xC3\xA9"));
    const std::string line =
        "  0.1 1 -2.5 1e+10 0.3 3.4028235e+38 1e-45 -0 123456792 nan -inf 0.1 -2147483648 "
        "4294967295 \"a \\\"b\\\" c\\\\d\\ne \xC3\xA9\"";
    EXPECT_EQ(out.getString(), "\n" + line);
    EXPECT_EQ(out.getColumn(), static_cast<int>(line.size()) - 1);  // é is two bytes
}
