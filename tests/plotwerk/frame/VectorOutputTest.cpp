// The output stream holder: standard output by default, owned files closed once, and a
// failed write kept for whoever asks afterwards.

#include <PlotWerk/SoVectorOutput.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

std::string scratchName(const char* stem) {
    return std::string(::testing::TempDir()) + stem + std::to_string(::getpid());
}

std::string contents(const std::string& name) {
    std::string text;
    if (FILE* in = std::fopen(name.c_str(), "rb")) {
        for (int c; (c = std::fgetc(in)) != EOF;) text += static_cast<char>(c);
        std::fclose(in);
    }
    std::remove(name.c_str());
    return text;
}

TEST(VectorOutputTest, StartsOnStandardOutputWhichIsNeverClosed) {
    SoVectorOutput output;
    EXPECT_EQ(output.getFilePointer(), stdout);
    output.closeFile();
    EXPECT_EQ(output.getFilePointer(), stdout);
    EXPECT_NE(std::fflush(stdout), EOF);
    EXPECT_EQ(output.getWriteError(), 0);
}

TEST(VectorOutputTest, EveryWayOfLettingGoOfAStreamWritesItOut) {
    const std::string name = scratchName("vector_output");
    const std::function<void(SoVectorOutput&)> endings[] = {
        [](SoVectorOutput& output) { output.closeFile(); },
        [](SoVectorOutput& output) { output.setFilePointer(stdout); },
        [](SoVectorOutput&) {},  // the destructor
    };
    for (const auto& end : endings) {
        {
            SoVectorOutput output;
            ASSERT_EQ(output.openFile(name.c_str()), 1);
            output.write("hello", 5);
            output.write(std::string(" world"));
            output.write('\n');
            end(output);
            EXPECT_EQ(output.getWriteError(), 0);
        }
        EXPECT_EQ(contents(name), "hello world\n");
    }
}

TEST(VectorOutputTest, AMissingDirectoryFallsBackToStandardOutput) {
    SoVectorOutput output;
    EXPECT_EQ(output.openFile("/no/such/directory/out.ps"), 0);
    EXPECT_EQ(output.getFilePointer(), stdout);
}

TEST(VectorOutputTest, AFullDiskIsPostedOnceAndKeptAfterTheClose) {
    FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full";
    DebugErrorRecorder recorder;
    SoVectorOutput output;
    output.setFilePointer(full);
    const std::string block(64 * 1024, 'x');
    for (int i = 0; i < 4; ++i) output.write(block);
    output.closeFile();
    EXPECT_EQ(output.getWriteError(), ENOSPC);
    EXPECT_EQ(recorder.size(), 1u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SoVectorOutput", std::strerror(ENOSPC))) << recorder.dump();

    // A new stream starts with a clean record.
    const std::string name = scratchName("vector_output_after");
    ASSERT_EQ(output.openFile(name.c_str()), 1);
    EXPECT_EQ(output.getWriteError(), 0);
    output.write("ok", 2);
    output.closeFile();
    EXPECT_EQ(output.getWriteError(), 0);
    EXPECT_EQ(contents(name), "ok");
}

TEST(VectorOutputTest, AFailedCloseIsReportedToo) {
    FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full";
    DebugErrorRecorder recorder;
    SoVectorOutput output;
    output.setFilePointer(full);
    output.write("fits in the buffer", 18);
    EXPECT_EQ(output.getWriteError(), 0);
    output.closeFile();
    EXPECT_EQ(output.getWriteError(), ENOSPC);
    EXPECT_EQ(recorder.size(), 1u) << recorder.dump();
}

}  // namespace
