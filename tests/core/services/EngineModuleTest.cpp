#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/misc/SoPreferences.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/RecordingEngine.h"
#include "support/DebugErrorRecorder.h"

// The core library's own file: a real shared object, but no engine.
static std::string coreLibrary() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&SoLibPdf::instance), &info);
    return info.dli_fname ? info.dli_fname : "";
}

TEST(SoLibPdf, LoadsOnlyAModuleWithTheEntryPoints) {
    const std::string text = testing::TempDir() + "not-a-module.so";
    std::ofstream(text) << "a text file, not a shared object\n";
    const struct {
        std::string module;
        bool loads;
    } cases[] = {
        {RECORDING_ENGINE, true},
        {text, false},
        {coreLibrary(), false},
        {RECORDING_ENGINE, true},  // found again after a failure was released
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        SoLibPdf::release();
        recording_engine::reset();
        SoPreferences::setValue("VXN_U3D_ENGINE", c.module);
        DebugErrorRecorder recorder;
        SoLibPdf* engine = SoLibPdf::instance();
        EXPECT_EQ(SoLibPdf::instance(), engine);  // a lookup, failed or not, is kept
        ASSERT_EQ(engine != nullptr, c.loads) << recorder.dump();
        ASSERT_EQ(recorder.size(), c.loads ? 0u : 1u) << recorder.dump();
        if (!engine) {
            EXPECT_TRUE(recorder.contains("SoLibPdf", c.module)) << recorder.dump();
            continue;
        }
        SoPreferences::setBool(recording_engine::kWritePdfResult, false);
        engine->m_so_finish_u3d(engine->m_so_init_u3d());
        EXPECT_FALSE(engine->m_so_write_pdf(text + ".pdf", "", "", "", "", "", "", false, 0, 0,
                                            false, SbColor(0, 0, 0), false));
        const std::vector<std::string> log = recording_engine::log();
        ASSERT_EQ(log.size(), 3u);
        EXPECT_NE(log[0], log[1]);  // init and finish are not the same entry point
        EXPECT_NE(log[2].find(text + ".pdf"), std::string::npos) << log[2];
    }
    SoLibPdf::release();
    SoPreferences::removeValue("VXN_U3D_ENGINE");
    recording_engine::reset();
}
