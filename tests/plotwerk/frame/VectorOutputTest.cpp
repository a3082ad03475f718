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

// Standard output is where an output starts and where it falls back when a file cannot be
// opened; it is never closed.
TEST(VectorOutputTest, StandardOutputIsTheStartAndTheFallbackAndIsNeverClosed) {
    SoVectorOutput output;
    EXPECT_EQ(output.getFilePointer(), stdout);
    output.closeFile();
    EXPECT_EQ(output.getFilePointer(), stdout);
    EXPECT_NE(std::fflush(stdout), EOF);
    EXPECT_EQ(output.getWriteError(), 0);
    EXPECT_EQ(output.openFile("/no/such/directory/out.ps"), 0);
    EXPECT_EQ(output.getFilePointer(), stdout);
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

// Whether the writes fail or, when all of them fit in the buffer, only the close does, the
// error is posted once and kept after the close; a new stream starts with a clean record.
TEST(VectorOutputTest, AFullDiskIsPostedOnceAndKeptAfterTheClose) {
    for (const std::size_t size : {std::size_t{5}, std::size_t{64 * 1024}}) {
        SCOPED_TRACE(size);
        FILE* full = std::fopen("/dev/full", "wb");
        if (!full) GTEST_SKIP() << "no /dev/full";
        DebugErrorRecorder recorder;
        SoVectorOutput output;
        output.setFilePointer(full);
        for (int i = 0; i < 4; ++i) output.write(std::string(size, 'x'));
        output.closeFile();
        EXPECT_EQ(output.getWriteError(), ENOSPC);
        EXPECT_EQ(recorder.size(), 1u) << recorder.dump();
        EXPECT_TRUE(recorder.contains("SoVectorOutput", std::strerror(ENOSPC))) << recorder.dump();

        const std::string name = scratchName("vector_output_after");
        ASSERT_EQ(output.openFile(name.c_str()), 1);
        EXPECT_EQ(output.getWriteError(), 0);
        output.write("ok", 2);
        output.closeFile();
        EXPECT_EQ(output.getWriteError(), 0);
        EXPECT_EQ(contents(name), "ok");
    }
}

}  // namespace
