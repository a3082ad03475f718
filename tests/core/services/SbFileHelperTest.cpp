#include <Tessara/misc/SbFileHelper.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

// Sets an environment variable for one scope and puts the old state back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (m_had) m_old = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_had) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

// A fresh directory for file tests, removed afterwards.
class SbFileHelperFiles : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tessara-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { rmdir(m_dir.c_str()); }

    std::string m_dir;
};

}  // namespace

TEST(SbFileHelper, ExtensionOfLastComponentOnly) {
    EXPECT_EQ(SbFileHelper::getExtension("a.b/c"), "");
    EXPECT_EQ(SbFileHelper::getExtension("x.tar.gz"), "gz");
    EXPECT_EQ(SbFileHelper::getExtension(".hidden"), "");
    EXPECT_EQ(SbFileHelper::getExtension("dir/.hidden"), "");
    EXPECT_EQ(SbFileHelper::getExtension("dir/.hidden.iv"), "iv");
    EXPECT_EQ(SbFileHelper::getExtension("scene.IV"), "IV");
    EXPECT_EQ(SbFileHelper::getExtension("trailing."), "");
    EXPECT_EQ(SbFileHelper::getExtension("a.b\\c"), "");
    EXPECT_EQ(SbFileHelper::getExtension(""), "");
    EXPECT_EQ(SbFileHelper::getExtension("caf\xC3\xA9.\xE4\xB8\xAD"), "\xE4\xB8\xAD");
}

TEST(SbFileHelper, BaseAndDirNameSplitAtLastSeparator) {
    EXPECT_EQ(SbFileHelper::getBaseName("/a/b/c.iv"), "c.iv");
    EXPECT_EQ(SbFileHelper::getDirName("/a/b/c.iv"), "/a/b/");
    EXPECT_EQ(SbFileHelper::getBaseName("c.iv"), "c.iv");
    EXPECT_EQ(SbFileHelper::getDirName("c.iv"), "");
    EXPECT_EQ(SbFileHelper::getBaseName("a/b/"), "");
    EXPECT_EQ(SbFileHelper::getDirName("a/b/"), "a/b/");
    EXPECT_EQ(SbFileHelper::getBaseName("C:\\models\\x.iv"), "x.iv");
    EXPECT_EQ(SbFileHelper::getDirName("C:\\models\\x.iv"), "C:\\models\\");
    for (const char* path : {"/a/b/c.iv", "c", "/", "x/", "p\\q"}) {
        EXPECT_EQ(SbFileHelper::getDirName(path) + SbFileHelper::getBaseName(path), path);
    }
}

TEST(SbFileHelper, CleanUpPath) {
    EXPECT_EQ(SbFileHelper::cleanUpPath("a\\b\\c"), "a/b/c");
    EXPECT_EQ(SbFileHelper::cleanUpPath("a//b///c"), "a/b/c");
    EXPECT_EQ(SbFileHelper::cleanUpPath("//server/share"), "/server/share");
    EXPECT_EQ(SbFileHelper::cleanUpPath("/a/./b/././c"), "/a/b/c");
    EXPECT_EQ(SbFileHelper::cleanUpPath("a\\.\\\\b/"), "a/b/");
    EXPECT_EQ(SbFileHelper::cleanUpPath("a/."), "a/");
    EXPECT_EQ(SbFileHelper::cleanUpPath("./a"), "a");
    EXPECT_EQ(SbFileHelper::cleanUpPath("a/../b"), "a/../b");
    EXPECT_EQ(SbFileHelper::cleanUpPath("/"), "/");
    EXPECT_EQ(SbFileHelper::cleanUpPath("."), ".");
    EXPECT_EQ(SbFileHelper::cleanUpPath(""), "");
}

TEST(SbFileHelper, ExpandsHomeAndVariables) {
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv x("TESSARA_TEST_X", "ex");
    ScopedEnv unknown("TESSARA_TEST_UNSET", nullptr);
    EXPECT_EQ(SbFileHelper::expandString("~/models/a.iv"), "/home/tester/models/a.iv");
    EXPECT_EQ(SbFileHelper::expandString("~"), "/home/tester");
    EXPECT_EQ(SbFileHelper::expandString("$HOME/x"), "/home/tester/x");
    EXPECT_EQ(SbFileHelper::expandString("${TESSARA_TEST_X}tra"), "extra");
    EXPECT_EQ(SbFileHelper::expandString("a/$TESSARA_TEST_X.iv"), "a/ex.iv");
    EXPECT_EQ(SbFileHelper::expandString("[$TESSARA_TEST_UNSET]"), "[]");
    EXPECT_EQ(SbFileHelper::expandString("[${TESSARA_TEST_UNSET}]"), "[]");
    // Only a leading tilde means home, and "~user" is not supported.
    EXPECT_EQ(SbFileHelper::expandString("a/~/b"), "a/~/b");
    EXPECT_EQ(SbFileHelper::expandString("~other/b"), "~other/b");
    EXPECT_EQ(SbFileHelper::expandString("cost: $5 $"), "cost: $5 $");
    EXPECT_EQ(SbFileHelper::expandString("plain"), "plain");
}

TEST(SbFileHelper, ExpandsLatin1ValuesToUtf8) {
    ScopedEnv x("TESSARA_TEST_X", "caf\xE9");
    EXPECT_EQ(SbFileHelper::expandString("\xE4\xB8\xAD/$TESSARA_TEST_X"),
              "\xE4\xB8\xAD/caf\xC3\xA9");
}

TEST(SbFileHelper, BadExpansionsWarnAndKeepText) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbFileHelper::expandString("a/${OPEN"), "a/${OPEN");
    ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(SbFileHelper::expandString("~/x"), "~/x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 2u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbFileHelper::expandString", "without \"}\""));
}

TEST_F(SbFileHelperFiles, WriteReadAndRemove) {
    const SbString name = SbString(m_dir) + "/note.txt";
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    FILE* out = SbFileHelper::open(name, "w");
    ASSERT_NE(out, nullptr);
    std::fputs("hello", out);
    EXPECT_EQ(SbFileHelper::close(out), 0);
    EXPECT_TRUE(SbFileHelper::isAccessible(name));

    FILE* in = SbFileHelper::open(name, "r");
    ASSERT_NE(in, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof(buffer) - 1, in), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(SbFileHelper::close(in), 0);

    EXPECT_TRUE(SbFileHelper::removeFile(name));
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    EXPECT_FALSE(SbFileHelper::removeFile(name));
}

TEST_F(SbFileHelperFiles, OpenExpandsVariables) {
    ScopedEnv dir("TESSARA_TEST_DIR", m_dir.c_str());
    FILE* out = SbFileHelper::open("${TESSARA_TEST_DIR}/v.txt", "w");
    ASSERT_NE(out, nullptr);
    SbFileHelper::close(out);
    EXPECT_TRUE(SbFileHelper::isAccessible(SbString(m_dir) + "/v.txt"));
    EXPECT_TRUE(SbFileHelper::removeFile("$TESSARA_TEST_DIR/v.txt"));
}

TEST_F(SbFileHelperFiles, MissingDirectoryGivesNull) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbFileHelper::open(SbString(m_dir) + "/missing/dir/x.iv", "w"), nullptr);
    EXPECT_EQ(SbFileHelper::open(SbString(m_dir) + "/absent.iv", "r"), nullptr);
    EXPECT_EQ(SbFileHelper::open("", "r"), nullptr);
    EXPECT_EQ(recorder.size(), 0u);  // plain failures are the caller's to report
    EXPECT_EQ(SbFileHelper::open(SbString(m_dir) + "/x", nullptr), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
    EXPECT_EQ(SbFileHelper::close(nullptr), EOF);
}
