// The output stream holder: standard output by default, owned files closed once.

#include <PlotWerk/SoVectorOutput.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string scratchName(const char* stem) {
    return std::string(::testing::TempDir()) + stem + std::to_string(::getpid());
}

TEST(VectorOutputTest, StartsOnStandardOutputWhichIsNeverClosed) {
    SoVectorOutput output;
    EXPECT_EQ(output.getFilePointer(), stdout);
    output.closeFile();
    EXPECT_EQ(output.getFilePointer(), stdout);
    EXPECT_NE(std::fflush(stdout), EOF);
}

TEST(VectorOutputTest, OpensWritesAndClosesAFile) {
    const std::string name = scratchName("vector_output_a");
    {
        SoVectorOutput output;
        ASSERT_EQ(output.openFile(name.c_str()), 1);
        ASSERT_NE(output.getFilePointer(), stdout);
        std::fputs("hello", output.getFilePointer());
        output.closeFile();
        EXPECT_EQ(output.getFilePointer(), stdout);
    }
    FILE* in = std::fopen(name.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char text[16] = {};
    ASSERT_NE(std::fgets(text, sizeof(text), in), nullptr);
    EXPECT_STREQ(text, "hello");
    std::fclose(in);
    std::remove(name.c_str());
}

TEST(VectorOutputTest, AMissingDirectoryFallsBackToStandardOutput) {
    SoVectorOutput output;
    EXPECT_EQ(output.openFile("/no/such/directory/out.ps"), 0);
    EXPECT_EQ(output.getFilePointer(), stdout);
}

TEST(VectorOutputTest, HandingOverStandardOutputClosesTheOpenedFile) {
    const std::string name = scratchName("vector_output_b");
    SoVectorOutput output;
    ASSERT_EQ(output.openFile(SbString(name.c_str())), 1);
    std::fputs("kept", output.getFilePointer());
    output.setFilePointer(stdout);  // flushes and closes the file
    EXPECT_EQ(output.getFilePointer(), stdout);
    FILE* in = std::fopen(name.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char text[16] = {};
    ASSERT_NE(std::fgets(text, sizeof(text), in), nullptr);
    EXPECT_STREQ(text, "kept");
    std::fclose(in);
    std::remove(name.c_str());
}

TEST(VectorOutputTest, DestructionClosesAnOwnedStream) {
    const std::string name = scratchName("vector_output_c");
    FILE* fp = std::fopen(name.c_str(), "w");
    ASSERT_NE(fp, nullptr);
    {
        SoVectorOutput output;
        output.setFilePointer(fp);
        std::fputs("owned", output.getFilePointer());
    }
    FILE* in = std::fopen(name.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char text[16] = {};
    ASSERT_NE(std::fgets(text, sizeof(text), in), nullptr);
    EXPECT_STREQ(text, "owned");  // written out, so the stream was closed (and flushed)
    std::fclose(in);
    std::remove(name.c_str());
}

}  // namespace
