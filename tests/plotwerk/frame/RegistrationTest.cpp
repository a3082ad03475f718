// Library initialisation, class registration and the construction check.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/misc/SoModule.h>
#include <gtest/gtest.h>

#include <utility>

#include "FrameTestAction.h"
#include "support/DebugErrorRecorder.h"

namespace {

// Nested inits are counted, and a second initClass keeps the type and what derives from it.
TEST(RegistrationTest, NestedInitAndFinishAreCountedAndClassesRegisterOnce) {
    SoPlotWerk::init();
    SoPlotWerk::init();
    EXPECT_EQ(SoPlotWerk::s_initRefCount, 2);
    const SoType type = SoVectorizeAction::getClassTypeId();
    EXPECT_EQ(type.getParent(), SoAction::getClassTypeId());
    EXPECT_FALSE(type.canCreateInstance());
    EXPECT_EQ(FrameTestAction().getTypeId(), type);
    SoVectorizeAction::initClass();
    SoVectorizePSAction::initClass();
    EXPECT_EQ(SoVectorizeAction::getClassTypeId(), type);
    EXPECT_TRUE(SoVectorizePSAction::getClassTypeId().isDerivedFrom(type));
    SoPlotWerk::finish();
    EXPECT_EQ(SoType::fromName("SoVectorizeAction"), type);
    EXPECT_TRUE(SoDB::isInitialized());
    SoPlotWerk::finish();
    EXPECT_TRUE(SoType::fromName("SoVectorizeAction").isBad());
    EXPECT_TRUE(SoType::fromName("SoVectorizePSAction").isBad());
    EXPECT_FALSE(SoDB::isInitialized());
    SoPlotWerk::finish();  // unmatched: nothing happens
    EXPECT_EQ(SoPlotWerk::s_initRefCount, 0);
}

TEST(RegistrationTest, ExitClassTwiceComplains) {
    SoPlotWerk::init();
    // The backends derive from the action: they leave first, the cairo ones before their base.
    SoVectorizeSVGAction::exitClass();
    SoVectorizePDFAction::exitClass();
    SoVectorizeCairoAction::exitClass();
    SoVectorizePSAction::exitClass();
    SoVectorizeHPGLAction::exitClass();
    SoVectorizeGDIAction::exitClass();
    SoVectorizeCGMAction::exitClass();
    {
        DebugErrorRecorder recorder;
        SoVectorizeAction::exitClass();
        EXPECT_EQ(recorder.size(), 0u);
        SoVectorizeAction::exitClass();
        EXPECT_EQ(recorder.size(), 1u);
        EXPECT_TRUE(recorder.contains("SoVectorizeAction::exitClass")) << recorder.dump();
    }
    SoVectorizeAction::initClass();
    SoVectorizeCGMAction::initClass();
    SoVectorizeGDIAction::initClass();
    SoVectorizeHPGLAction::initClass();
    SoVectorizePSAction::initClass();
    SoVectorizeCairoAction::initClass();
    SoVectorizePDFAction::initClass();
    SoVectorizeSVGAction::initClass();
    SoPlotWerk::finish();
}

// Without the library's init, the first action made registers its class, with one
// complaint, and asking a backend for its type registers the backend.
TEST(RegistrationTest, WithoutInitEachClassRegistersWhenFirstNeeded) {
    ASSERT_EQ(SoPlotWerk::s_initRefCount, 0);
    SoDB::init();
    {
        DebugErrorRecorder recorder;
        FrameTestAction action;
        EXPECT_TRUE(recorder.contains("SO_ACTION_CONSTRUCTOR", "SoVectorizeAction"))
            << recorder.dump();
        EXPECT_FALSE(SoVectorizeAction::getClassTypeId().isBad());
        recorder.clear();
        FrameTestAction second;
        EXPECT_EQ(recorder.size(), 0u);
    }
    const std::pair<const char*, SoType> backends[] = {
        {"SoVectorizeCGMAction", SoVectorizeCGMAction::getClassTypeId()},
        {"SoVectorizeGDIAction", SoVectorizeGDIAction::getClassTypeId()},
        {"SoVectorizeHPGLAction", SoVectorizeHPGLAction::getClassTypeId()},
        {"SoVectorizePSAction", SoVectorizePSAction::getClassTypeId()}};
    for (const auto& [name, type] : backends) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(type.isBad());
        EXPECT_EQ(type, SoType::fromName(name));
        EXPECT_EQ(type.getParent(), SoVectorizeAction::getClassTypeId());
    }
    SoVectorizePSAction::exitClass();
    SoVectorizeHPGLAction::exitClass();
    SoVectorizeGDIAction::exitClass();
    SoVectorizeCGMAction::exitClass();
    SoVectorizeAction::exitClass();
    SoDB::finish();
}

// The core learns the library's version from the module record it keeps.
TEST(RegistrationTest, TheModuleRecordCarriesTheLibraryVersion) {
    const SoModule* module = SoModule::find("zor_plotWerkD.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(SbString(module->getVersion()), SbString(SoPlotWerk::getVersion()));
}

}  // namespace
