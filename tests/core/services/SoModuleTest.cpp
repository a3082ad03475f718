#include <Tessara/misc/SoModule.h>
#include <gtest/gtest.h>

#include <memory>

#include "support/DebugErrorRecorder.h"

namespace {

// Registered during static initialisation, before main(), as a plug-in's record would be.
const SoModule staticModule("libtessara-test-static.so", "1.2.3", nullptr, nullptr, true, false);

}  // namespace

TEST(SoModule, RegistryFollowsTheRecordsLifetimes) {
    EXPECT_EQ(SoModule::find("libtessara-test-static.so"), &staticModule);
    EXPECT_EQ(staticModule.getExtraInfo(), "");  // null texts are stored as empty
    const int before = SoModule::getNumModules();
    auto first = std::make_unique<SoModule>("libtwin.so.10", "1", "", "p", false, true);
    auto second = std::make_unique<SoModule>("libtwin.so.10", "2", "", "p", true, true);
    EXPECT_EQ(SoModule::getNumModules(), before + 2);
    EXPECT_EQ(SoModule::getModule(before), first.get());
    EXPECT_EQ(SoModule::getModule(before + 1), second.get());
    // The exact name, and the first of two with it.
    EXPECT_EQ(SoModule::find("libtwin.so.10"), first.get());
    EXPECT_EQ(SoModule::find("libtwin.so"), nullptr);
    EXPECT_EQ(SoModule::find(""), nullptr);
    EXPECT_EQ(SoModule::find(nullptr), nullptr);
    first.reset();
    EXPECT_EQ(SoModule::getNumModules(), before + 1);
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
