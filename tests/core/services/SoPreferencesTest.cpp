#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/DebugErrorRecorder.h"

namespace {

// Every test starts with an empty store and without the environment variables it uses.
class SoPreferencesTest : public testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset() {
        SoPreferences::clear();
        for (const char* name : {kName, kOther}) unsetenv(name);
    }

    static constexpr const char* kName = "TESSARA_TEST_PREFERENCE";
    static constexpr const char* kOther = "TESSARA_TEST_PREFERENCE_OTHER";
};

}  // namespace

TEST_F(SoPreferencesTest, MissingValueGivesDefault) {
    EXPECT_FALSE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getInt(kName, 17), 17);
    EXPECT_FLOAT_EQ(SoPreferences::getFloat(kName, 2.5f), 2.5f);
    EXPECT_TRUE(SoPreferences::getBool(kName, true));
    EXPECT_EQ(SoPreferences::getValue(kName, "fallback"), "fallback");
    EXPECT_EQ(SoPreferences::getValue(kName), SbString());
}

TEST_F(SoPreferencesTest, StoredValuesRoundTrip) {
    SoPreferences::setInt(kName, -42);
    EXPECT_TRUE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getInt(kName, 0), -42);
    EXPECT_EQ(SoPreferences::getValue(kName), "-42");

    SoPreferences::setFloat(kName, 0.1f);
    EXPECT_EQ(SoPreferences::getFloat(kName, 0.0f), 0.1f);  // exact, not merely near
    SoPreferences::setFloat(kName, 16777216.0f);
    EXPECT_EQ(SoPreferences::getFloat(kName, 0.0f), 16777216.0f);

    SoPreferences::setBool(kName, false);
    EXPECT_FALSE(SoPreferences::getBool(kName, true));
    SoPreferences::setBool(kName, true);
    EXPECT_TRUE(SoPreferences::getBool(kName, false));

    SoPreferences::setValue(kOther, "text \xC3\xA9");
    EXPECT_EQ(SoPreferences::getValue(kOther), "text \xC3\xA9");
}

TEST_F(SoPreferencesTest, EnvironmentBeatsStore) {
    SoPreferences::setInt(kName, 1);
    setenv(kName, "2", 1);
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 2);
    EXPECT_EQ(SoPreferences::getValue(kName), "2");
    unsetenv(kName);
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 1);
    // An empty variable is taken as unset, so the store answers again.
    setenv(kName, "", 1);
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 1);
}

TEST_F(SoPreferencesTest, EnvironmentAloneCounts) {
    setenv(kName, "yes", 1);
    EXPECT_TRUE(SoPreferences::hasValue(kName));
    EXPECT_TRUE(SoPreferences::getBool(kName, false));
}

TEST_F(SoPreferencesTest, RemoveAndClear) {
    SoPreferences::setInt(kName, 5);
    SoPreferences::setInt(kOther, 6);
    SoPreferences::removeValue(kName);
    EXPECT_FALSE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getInt(kOther, 0), 6);
    SoPreferences::clear();
    EXPECT_FALSE(SoPreferences::hasValue(kOther));
}

TEST_F(SoPreferencesTest, BoolWordsInAnyCase) {
    DebugErrorRecorder recorder;
    for (const char* word : {"1", "true", "TRUE", "Yes", "on", "  On  "}) {
        SoPreferences::setValue(kName, word);
        EXPECT_TRUE(SoPreferences::getBool(kName, false)) << word;
    }
    for (const char* word : {"0", "false", "False", "NO", "off", "oFf\n"}) {
        SoPreferences::setValue(kName, word);
        EXPECT_FALSE(SoPreferences::getBool(kName, true)) << word;
    }
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(SoPreferencesTest, NumbersAreParsedStrictly) {
    DebugErrorRecorder recorder;
    SoPreferences::setValue(kName, " +12 ");
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 12);
    SoPreferences::setValue(kName, "-1.5e2");
    EXPECT_FLOAT_EQ(SoPreferences::getFloat(kName, 0.0f), -150.0f);
    SoPreferences::setValue(kName, "0.25");
    EXPECT_FLOAT_EQ(SoPreferences::getFloat(kName, 0.0f), 0.25f);
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(SoPreferencesTest, BadValuesGiveDefaultAndWarn) {
    DebugErrorRecorder recorder;
    const char* badInts[] = {"12abc", "1.5", "", "99999999999", "++3", "0x10"};
    for (const char* text : badInts) {
        SoPreferences::setValue(kName, text);
        EXPECT_EQ(SoPreferences::getInt(kName, 7), 7) << text;
    }
    // A decimal comma is rejected even if the process locale would use one.
    for (const char* text : {"1,5", "abc", "1e999", "2.5f"}) {
        SoPreferences::setValue(kName, text);
        EXPECT_EQ(SoPreferences::getFloat(kName, -1.0f), -1.0f) << text;
    }
    for (const char* text : {"maybe", "2", "y"}) {
        SoPreferences::setValue(kName, text);
        EXPECT_TRUE(SoPreferences::getBool(kName, true)) << text;
    }
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 13u) << recorder.dump();
    EXPECT_EQ(recorder.size(), 13u);
    EXPECT_TRUE(recorder.contains("SoPreferences::getInt", "\"12abc\""));
    EXPECT_TRUE(recorder.contains("SoPreferences::getFloat", "\"1,5\""));
    EXPECT_TRUE(recorder.contains("SoPreferences::getBool", "\"maybe\""));
}

TEST_F(SoPreferencesTest, BadEnvironmentValueDoesNotFallBackToStore) {
    // The environment decides even when its text is unusable: the default, not the store.
    SoPreferences::setInt(kName, 3);
    setenv(kName, "three", 1);
    DebugErrorRecorder recorder;
    EXPECT_EQ(SoPreferences::getInt(kName, 9), 9);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
}

TEST_F(SoPreferencesTest, NamelessSettingIsRefused) {
    DebugErrorRecorder recorder;
    SoPreferences::setValue("", "x");
    SoPreferences::setValue(nullptr, "x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_FALSE(SoPreferences::hasValue(""));
    EXPECT_FALSE(SoPreferences::hasValue(nullptr));
}
