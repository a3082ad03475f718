#include <Tessara/misc/SoModule.h>
#include <gtest/gtest.h>

#include <memory>

#include "support/DebugErrorRecorder.h"

namespace {

// Registered during static initialisation, before main(), as a plug-in's record would be.
const SoModule staticModule("libtessara-test-static.so", "1.2.3", "built by the tests",
                            "Linux x86_64", true, false);

}  // namespace

TEST(SoModule, StaticModuleIsRegisteredBeforeMain) {
    const SoModule* found = SoModule::find("libtessara-test-static.so");
    ASSERT_EQ(found, &staticModule);
    EXPECT_EQ(found->getVersion(), "1.2.3");
    EXPECT_EQ(found->getExtraInfo(), "built by the tests");
    EXPECT_EQ(found->getPlatform(), "Linux x86_64");
    EXPECT_TRUE(found->isReleaseBuild());
    EXPECT_FALSE(found->isCompatible());
}

TEST(SoModule, RegistersInOrderAndUnregistersOnDestruction) {
    const int before = SoModule::getNumModules();
    ASSERT_GE(before, 1);
    auto first = std::make_unique<SoModule>("libone.so", "1", "", "p", false, true);
    auto second = std::make_unique<SoModule>("libtwo.so", "2", nullptr, nullptr, true, true);
    EXPECT_EQ(SoModule::getNumModules(), before + 2);
    EXPECT_EQ(SoModule::getModule(before), first.get());
    EXPECT_EQ(SoModule::getModule(before + 1), second.get());
    EXPECT_EQ(second->getExtraInfo(), "");  // null texts are stored as empty
    EXPECT_EQ(second->getPlatform(), "");

    first.reset();
    EXPECT_EQ(SoModule::getNumModules(), before + 1);
    EXPECT_EQ(SoModule::find("libone.so"), nullptr);
    EXPECT_EQ(SoModule::getModule(before), second.get());
    second.reset();
    EXPECT_EQ(SoModule::getNumModules(), before);
    EXPECT_EQ(SoModule::find("libtwo.so"), nullptr);
}

TEST(SoModule, FindNeedsTheExactName) {
    SoModule module("libexact.so.10", "10", "", "", true, true);
    EXPECT_EQ(SoModule::find("libexact.so.10"), &module);
    EXPECT_EQ(SoModule::find("libexact.so"), nullptr);
    EXPECT_EQ(SoModule::find(""), nullptr);
    EXPECT_EQ(SoModule::find(nullptr), nullptr);
}

TEST(SoModule, FindGivesFirstOfTwoWithTheSameName) {
    SoModule older("libtwin.so", "1", "", "", true, true);
    SoModule newer("libtwin.so", "2", "", "", true, true);
    EXPECT_EQ(SoModule::find("libtwin.so"), &older);
}

TEST(SoModule, BadIndexPostsAndGivesNull) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(SoModule::getModule(-1), nullptr);
    EXPECT_EQ(SoModule::getModule(SoModule::getNumModules()), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u);
    EXPECT_TRUE(recorder.contains("SoModule::getModule", "index -1"));
}
