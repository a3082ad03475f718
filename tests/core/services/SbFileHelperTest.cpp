#include <Tessara/misc/SbFileHelper.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

// Sets an environment variable (or unsets it, for null) for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name.c_str(), m_old->c_str(), 1) : unsetenv(m_name.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace

TEST(SbFileHelper, PathTexts) {
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv x("TESSARA_TEST_X", "ex");
    ScopedEnv latin1("TESSARA_TEST_L", "caf\xE9");
    ScopedEnv unset("TESSARA_TEST_UNSET", nullptr);
    using F = SbString (*)(const SbString&);
    const F ext = SbFileHelper::getExtension, base = SbFileHelper::getBaseName,
            dir = SbFileHelper::getDirName, clean = SbFileHelper::cleanUpPath,
            expand = SbFileHelper::expandString;
    const struct {
        F function;
        const char* input;
        const char* output;
    } cases[] = {
        {ext, "x.tar.gz", "gz"},
        {ext, "a.b/c", ""},  // of the last component only
        {ext, "dir/.hidden", ""},
        {ext, "dir/.hidden.iv", "iv"},
        {ext, "trailing.", ""},
        {ext, "caf\xC3\xA9.\xE4\xB8\xAD", "\xE4\xB8\xAD"},
        {base, "/a/b/c.iv", "c.iv"},
        {dir, "/a/b/c.iv", "/a/b/"},
        {dir, "c.iv", ""},
        {base, "C:\\models\\x.iv", "x.iv"},
        {dir, "C:\\models\\x.iv", "C:\\models\\"},
        {clean, "a\\b\\c", "a/b/c"},
        {clean, "//server/share", "/server/share"},
        {clean, "/a/./b/././c", "/a/b/c"},
        {clean, "a\\.\\\\b/", "a/b/"},
        {clean, "a/.", "a/"},
        {clean, "./a", "a"},
        {clean, "a/../b", "a/../b"},
        {clean, "/", "/"},
        {clean, ".", "."},
        {clean, "", ""},
        {expand, "~/models/a.iv", "/home/tester/models/a.iv"},
        {expand, "~", "/home/tester"},
        {expand, "${TESSARA_TEST_X}tra", "extra"},
        {expand, "a/$TESSARA_TEST_X.iv", "a/ex.iv"},
        {expand, "[$TESSARA_TEST_UNSET]", "[]"},
        {expand, "[${TESSARA_TEST_UNSET}]", "[]"},
        {expand, "\xE4\xB8\xAD/$TESSARA_TEST_L", "\xE4\xB8\xAD/caf\xC3\xA9"},  // Latin-1 value
        // Only a leading tilde means home, and "~user" is not supported.
        {expand, "a/~/b", "a/~/b"},
        {expand, "~other/b", "~other/b"},
        {expand, "cost: $5 $", "cost: $5 $"},
    };
    DebugErrorRecorder recorder;
    for (const auto& c : cases) EXPECT_EQ(c.function(c.input), c.output) << c.input;
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    for (const char* path : {"/a/b/c.iv", "c", "/", "x/", "p\\q"})
        EXPECT_EQ(SbFileHelper::getDirName(path) + SbFileHelper::getBaseName(path), path);
}

TEST(SbFileHelper, BadExpansionsWarnAndKeepText) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbFileHelper::expandString("a/${OPEN"), "a/${OPEN");
    ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(SbFileHelper::expandString("~/x"), "~/x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 2u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbFileHelper::expandString", "a/${OPEN"));
}

TEST(SbFileHelper, FilesByExpandedNames) {
    char pattern[] = "/tmp/tessara-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const SbString dir(pattern);
    ScopedEnv variable("TESSARA_TEST_DIR", pattern);
    const SbString name = "${TESSARA_TEST_DIR}/note.txt";
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    FILE* out = SbFileHelper::open(name, "w");
    ASSERT_NE(out, nullptr);
    std::fputs("hello", out);
    EXPECT_EQ(SbFileHelper::close(out), 0);
    EXPECT_TRUE(SbFileHelper::isAccessible(dir + "/note.txt"));
    FILE* in = SbFileHelper::open(dir + "/note.txt", "r");
    ASSERT_NE(in, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof(buffer) - 1, in), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(SbFileHelper::close(in), 0);
    EXPECT_TRUE(SbFileHelper::removeFile("$TESSARA_TEST_DIR/note.txt"));
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    EXPECT_FALSE(SbFileHelper::removeFile(name));

    // Plain failures are the caller's to report; a missing mode is a programming error.
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbFileHelper::open(dir + "/missing/dir/x.iv", "w"), nullptr);
    EXPECT_EQ(SbFileHelper::open(dir + "/absent.iv", "r"), nullptr);
    EXPECT_EQ(SbFileHelper::open("", "r"), nullptr);
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(SbFileHelper::open(dir + "/x", nullptr), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
    EXPECT_EQ(SbFileHelper::close(nullptr), EOF);
    rmdir(pattern);
}
