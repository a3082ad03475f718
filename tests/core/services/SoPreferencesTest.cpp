#include <Tessara/misc/SoPreferences.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

// Each stored text read as the type asked for; an unusable one gives the default and warns.
TEST_F(SoPreferencesTest, TextsAsIntsFloatsAndTruthValues) {
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

TEST_F(SoPreferencesTest, ValuesSetComeBackExactly) {
    EXPECT_FALSE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getInt(kName, 17), 17);
    EXPECT_EQ(SoPreferences::getFloat(kName, 2.5f), 2.5f);
    EXPECT_FALSE(SoPreferences::getBool(kName, false));
    EXPECT_EQ(SoPreferences::getValue(kName, "fallback"), "fallback");
    SoPreferences::setInt(kName, -42);
    EXPECT_TRUE(SoPreferences::hasValue(kName));
    EXPECT_EQ(SoPreferences::getInt(kName, 0), -42);
    for (const float f : {0.1f, 16777216.0f, -3.4028235e38f}) {
        SoPreferences::setFloat(kName, f);
        EXPECT_EQ(SoPreferences::getFloat(kName, 0.0f), f);  // exact, not merely near
    }
    for (const bool b : {false, true}) {
        SoPreferences::setBool(kName, b);
        EXPECT_EQ(SoPreferences::getBool(kName, !b), b);
    }
    SoPreferences::setValue(kOther, "text \xC3\xA9");
    EXPECT_EQ(SoPreferences::getValue(kOther), "text \xC3\xA9");
    SoPreferences::removeValue(kName);
    EXPECT_FALSE(SoPreferences::hasValue(kName));
    EXPECT_TRUE(SoPreferences::hasValue(kOther));
    SoPreferences::clear();
    EXPECT_FALSE(SoPreferences::hasValue(kOther));
}

TEST_F(SoPreferencesTest, EnvironmentBeatsTheStore) {
    SoPreferences::setInt(kName, 1);
    setenv(kName, "2", 1);
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 2);
    EXPECT_EQ(SoPreferences::getValue(kName), "2");
    setenv(kName, "", 1);  // an empty variable is taken as unset
    EXPECT_EQ(SoPreferences::getInt(kName, 0), 1);
    // The environment decides even when its text is unusable: the default, not the store.
    setenv(kName, "three", 1);
    DebugErrorRecorder recorder;
    EXPECT_EQ(SoPreferences::getInt(kName, 9), 9);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u);
    setenv(kOther, "yes", 1);  // the environment alone counts too
    EXPECT_TRUE(SoPreferences::hasValue(kOther));
    EXPECT_TRUE(SoPreferences::getBool(kOther, false));
}

TEST_F(SoPreferencesTest, NamelessSettingIsRefused) {
    DebugErrorRecorder recorder;
    SoPreferences::setValue("", "x");
    SoPreferences::setValue(nullptr, "x");
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_FALSE(SoPreferences::hasValue(""));
    EXPECT_FALSE(SoPreferences::hasValue(nullptr));
}
