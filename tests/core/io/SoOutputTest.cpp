#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "support/DebugErrorRecorder.h"

TEST(SoOutput, FloatsUseTheShortestTextThatReadsBack) {
    SoOutput out;
    out.setBuffer();
    const float values[] = {0.1f,   1.0f,  -2.5f,        1e10f, 3.4028235e38f,
                            1e-45f, -0.0f, 123456792.0f, 0.3f};
    for (const float v : values) {
        out.write(v);
        out.write(' ');
    }
    EXPECT_EQ(out.getString(), "0.1 1 -2.5 1e+10 3.4028235e+38 1e-45 -0 123456792 0.3 ");
    out.setBuffer();
    out.write(std::numeric_limits<float>::infinity());
    out.write(' ');
    out.write(std::nanf(""));
    out.write(' ');
    out.write(0.1);
    out.write(' ');
    out.write(int32_t{-2147483647 - 1});
    out.write(' ');
    out.write(uint32_t{4294967295u});
    EXPECT_EQ(out.getString(), "inf nan 0.1 -2147483648 4294967295");
}

TEST(SoOutput, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
    bool found = false;
    for (const char* name : candidates)
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') {
            found = true;
            break;
        }
    SoOutput out;
    out.setBuffer();
    out.write(1.5f);
    out.write(' ');
    out.write(2.25);
    std::setlocale(LC_ALL, previous.c_str());
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(out.getString(), "1.5 2.25");
}

TEST(SoOutput, QuotedStringsEscape) {
    SoOutput out;
    out.setBuffer();
    out.writeQuoted(SbString("a \"b\" c\\d\ne \xC3\xA9"));
    EXPECT_EQ(out.getString(), "\"a \\\"b\\\" c\\\\d\\ne \xC3\xA9\"");
}

TEST(SoOutput, IndentationAndColumns) {
    SoOutput out;
    out.setBuffer();
    out.write("A {");
    out.incrementIndent();
    out.newLine();
    EXPECT_EQ(out.getColumn(), 2);
    out.write("\xC3\xA9t\xC3\xA9");  // columns count characters
    EXPECT_EQ(out.getColumn(), 5);
    out.decrementIndent();
    out.decrementIndent();  // never below zero
    EXPECT_EQ(out.getIndent(), 0);
    out.newLine();
    out.write('}');
    EXPECT_EQ(out.getString(), "A {\n  \xC3\xA9t\xC3\xA9\n}");
    for (int i = 0; i < 100; ++i) out.incrementIndent();
    out.newLine();
    EXPECT_EQ(out.getColumn(), 80);  // deep levels stop indenting further
}

TEST(SoOutput, AFailedWriteIsReported) {
    DebugErrorRecorder recorder;
    SoOutput out;
    ASSERT_TRUE(out.openFile("/dev/full"));
    for (int i = 0; i < 100000; ++i) out.write("data that cannot be stored ");
    out.closeFile();
    EXPECT_TRUE(recorder.contains("SoOutput::closeFile", "Writing the file failed"))
        << recorder.dump();
    EXPECT_FALSE(out.openFile("/nonexistent/dir/out.tsc"));
    EXPECT_TRUE(recorder.contains("SoOutput::openFile", "/nonexistent/dir/out.tsc"));
}
