#include <Tessara/misc/SbFileHelper.h>
#include <Tessara/misc/SoModule.h>
#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
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

// Registered during static initialisation, before main(), as a plug-in's record would be.
const SoModule staticModule("libtessara-test-static.so", "1.2.3", nullptr, nullptr, true, false);

const char* const kName = "TESSARA_TEST_PREFERENCE";
const char* const kOther = "TESSARA_TEST_PREFERENCE_OTHER";

}  // namespace

TEST(SbFileHelper, PathTexts) {
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv x("TESSARA_TEST_X", "ex");
    ScopedEnv latin1("TESSARA_TEST_L", "caf\xE9");
    ScopedEnv unset("TESSARA_TEST_UNSET", nullptr);
    using F = SbString (*)(const SbString&);
    const F ext = SbFileHelper::getExtension, dir = SbFileHelper::getDirName,
            clean = SbFileHelper::cleanUpPath, expand = SbFileHelper::expandString;
    const struct {
        F function;
        const char* input;
        const char* output;
    } cases[] = {
        {ext, "x.tar.gz", "gz"},
        {ext, "a.b/c", ""},  // of the last component only
        {ext, "dir/.hidden", ""},
        {ext, "caf\xC3\xA9.\xE4\xB8\xAD", "\xE4\xB8\xAD"},
        {dir, "C:\\models\\x.iv", "C:\\models\\"},
        {clean, "//server/share", "/server/share"},
        {clean, "/a/./b/././c", "/a/b/c"},
        {clean, "a\\.\\\\b/", "a/b/"},
        {clean, "a/.", "a/"},
        {clean, "a/../b", "a/../b"},
        {clean, "/", "/"},
        {clean, ".", "."},
        {clean, "", ""},
        {expand, "~/models/a.iv", "/home/tester/models/a.iv"},
        {expand, "~", "/home/tester"},
        {expand, "${TESSARA_TEST_X}tra", "extra"},
        {expand, "a/$TESSARA_TEST_X.iv", "a/ex.iv"},
        {expand, "[$TESSARA_TEST_UNSET]", "[]"},
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
    // What cannot be expanded is kept as written, with a warning.
    EXPECT_EQ(SbFileHelper::expandString("a/${OPEN"), "a/${OPEN");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(SbFileHelper::expandString("~/x"), "~/x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 2u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SbFileHelper::expandString", "a/${OPEN"));
}

// Files by names with variables; plain failures are the caller's to report, a missing mode is
// a programming error.
TEST(SbFileHelper, FilesByExpandedNames) {
    char pattern[] = "/tmp/tessara-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    ScopedEnv variable("TESSARA_TEST_DIR", pattern);
    const SbString name = "${TESSARA_TEST_DIR}/note.txt";
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    EXPECT_EQ(SbFileHelper::close(SbFileHelper::open(name, "w")), 0);
    EXPECT_TRUE(SbFileHelper::isAccessible(SbString(pattern) + "/note.txt"));
    EXPECT_TRUE(SbFileHelper::removeFile("$TESSARA_TEST_DIR/note.txt"));
    EXPECT_FALSE(SbFileHelper::isAccessible(name));
    EXPECT_FALSE(SbFileHelper::removeFile(name));
    DebugErrorRecorder recorder;
    EXPECT_EQ(SbFileHelper::open("$TESSARA_TEST_DIR/missing/x.iv", "w"), nullptr);
    EXPECT_EQ(SbFileHelper::open("", "r"), nullptr);
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(SbFileHelper::open(name, nullptr), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
    EXPECT_EQ(SbFileHelper::close(nullptr), EOF);
    rmdir(pattern);
}

TEST(SoModule, RegistryFollowsTheRecordsLifetimes) {
    EXPECT_EQ(SoModule::find("libtessara-test-static.so"), &staticModule);
    const int before = SoModule::getNumModules();
    auto first = std::make_unique<SoModule>("libtwin.so.10", "1", "", "p", false, true);
    auto second = std::make_unique<SoModule>("libtwin.so.10", "2", "", "p", true, true);
    EXPECT_EQ(SoModule::getModule(before + 1), second.get());
    // The exact name, and the first of two with it.
    EXPECT_EQ(SoModule::find("libtwin.so.10"), first.get());
    EXPECT_EQ(SoModule::find("libtwin.so"), nullptr);
    EXPECT_EQ(SoModule::find(nullptr), nullptr);
    first.reset();
    EXPECT_EQ(SoModule::find("libtwin.so.10"), second.get());
    EXPECT_EQ(SoModule::getModule(before), second.get());
    second.reset();
    EXPECT_EQ(SoModule::find("libtwin.so.10"), nullptr);

    DebugErrorRecorder recorder;
    EXPECT_EQ(SoModule::getModule(-1), nullptr);
    EXPECT_EQ(SoModule::getModule(before), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_TRUE(recorder.contains("SoModule::getModule", "-1"));
}

// Each stored text read as the type asked for; an unusable one gives the default and warns.
TEST(SoPreferences, TextsAsIntsFloatsAndTruthValues) {
    ScopedEnv unset(kName, nullptr);
    const struct {
        const char* text;
        char type;  // i int, f float, b bool
        double value;
        bool warns;
    } cases[] = {
        {" +12 ", 'i', 12, false},  {"-42", 'i', -42, false}, {"12abc", 'i', 7, true},
        {"1.5", 'i', 7, true},      {"", 'i', 7, true},       {"99999999999", 'i', 7, true},
        {"++3", 'i', 7, true},      {"0x10", 'i', 7, true},   {"-1.5e2", 'f', -150, false},
        {"0.25", 'f', 0.25, false}, {"1,5", 'f', 7, true},    {"abc", 'f', 7, true},
        {"1e999", 'f', 7, true},    {"2.5f", 'f', 7, true},   {"1", 'b', 1, false},
        {"true", 'b', 1, false},    {"Yes", 'b', 1, false},   {"  On  ", 'b', 1, false},
        {"0", 'b', 0, false},       {"False", 'b', 0, false}, {"NO", 'b', 0, false},
        {"oFf\n", 'b', 0, false},   {"maybe", 'b', 1, true},  {"2", 'b', 1, true},
    };
    for (const auto& c : cases) {
        SoPreferences::setValue(kName, c.text);
        DebugErrorRecorder recorder;
        double value = 0;
        if (c.type == 'i') value = SoPreferences::getInt(kName, 7);
        if (c.type == 'f') value = SoPreferences::getFloat(kName, 7.0f);
        if (c.type == 'b') value = SoPreferences::getBool(kName, true);
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), c.warns ? 1u : 0u) << c.text;
        EXPECT_EQ(recorder.size(), c.warns ? 1u : 0u);
        EXPECT_EQ(recorder.contains("SoPreferences::get", c.text), c.warns);
    }
}

// What a program stores comes back as it was, floats to the last bit, under its own name.
TEST(SoPreferences, ValuesSetComeBackExactly) {
    ScopedEnv unset(kName, nullptr), unsetOther(kOther, nullptr);
    std::mt19937 rng(5);
    for (int i = 0; i < 300; ++i) {
        const auto bits = static_cast<uint32_t>(rng());
        float f = 0;
        std::memcpy(&f, &bits, sizeof f);
        if (std::isfinite(f)) {
            SoPreferences::setFloat(kName, f);
            ASSERT_EQ(SoPreferences::getFloat(kName, 0.0f), f) << SoPreferences::getValue(kName);
        }
        SoPreferences::setInt(kName, static_cast<int>(bits));
        ASSERT_EQ(SoPreferences::getInt(kName, 0), static_cast<int>(bits));
        SoPreferences::setBool(kName, bits & 1);
        ASSERT_EQ(SoPreferences::getBool(kName, !(bits & 1)), (bits & 1) != 0);
    }
    SoPreferences::setValue(kOther, "text \xC3\xA9");
    EXPECT_EQ(SoPreferences::getValue(kOther), "text \xC3\xA9");
    SoPreferences::removeValue(kName);
    EXPECT_FALSE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getValue(kName, "fallback"), "fallback");
    EXPECT_TRUE(SoPreferences::hasValue(kOther));
    SoPreferences::clear();
    EXPECT_FALSE(SoPreferences::hasValue(kOther));
    // A setting without a name is refused.
    DebugErrorRecorder recorder;
    SoPreferences::setValue("", "x");
    SoPreferences::setValue(nullptr, "x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_FALSE(SoPreferences::hasValue(""));
    EXPECT_FALSE(SoPreferences::hasValue(nullptr));
}

TEST(SoPreferences, EnvironmentBeatsTheStore) {
    SoPreferences::setInt(kName, 1);
    ScopedEnv variable(kName, "2"), other(kOther, "yes");
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 2);
    EXPECT_EQ(SoPreferences::getValue(kName), "2");
    setenv(kName, "", 1);  // an empty variable is taken as unset
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 1);
    // The environment decides even when its text is unusable: the default, not the store.
    setenv(kName, "three", 1);
    DebugErrorRecorder recorder;
    EXPECT_EQ(SoPreferences::getInt(kName, 9), 9);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
    // The environment alone counts too.
    EXPECT_TRUE(SoPreferences::hasValue(kOther));
    EXPECT_TRUE(SoPreferences::getBool(kOther, false));
}
