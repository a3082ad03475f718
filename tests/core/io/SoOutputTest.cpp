#include <Tessara/io/SoOutput.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/DebugErrorRecorder.h"

TEST(SoOutput, NumbersAndStringsInTheirShortestText) {
    SoOutput out;
    out.setBuffer();
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
    EXPECT_EQ(out.getString(),
              "0.1 1 -2.5 1e+10 0.3 3.4028235e+38 1e-45 -0 123456792 nan -inf 0.1 -2147483648 "
              "4294967295 \"a \\\"b\\\" c\\\\d\\ne \xC3\xA9\"");
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
    // Deep levels stop indenting further, or files of deep graphs would grow quadratically.
    for (int i = 0; i < 100; ++i) out.incrementIndent();
    out.newLine();
    const int deep = out.getColumn();
    for (int i = 0; i < 100; ++i) out.incrementIndent();
    out.newLine();
    EXPECT_EQ(out.getColumn(), deep);
    EXPECT_GT(deep, 2);
}

TEST(SoOutput, AFailedWriteIsReported) {
    DebugErrorRecorder recorder;
    SoOutput out;
    ASSERT_TRUE(out.openFile("/dev/full"));
    for (int i = 0; i < 100000; ++i) out.write("data that cannot be stored ");
    out.closeFile();
    EXPECT_TRUE(recorder.contains("SoOutput::closeFile")) << recorder.dump();
    EXPECT_FALSE(out.openFile("/nonexistent/dir/out.tsc"));
    EXPECT_TRUE(recorder.contains("SoOutput::openFile", "/nonexistent/dir/out.tsc"));
}
