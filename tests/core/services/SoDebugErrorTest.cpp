#include <Tessara/base/SoDebugError.h>
#include <gtest/gtest.h>

#include <string>

#include "support/DebugErrorRecorder.h"

namespace {

// Counts handler calls; a handler may post again (which must reach stderr rather than
// recurse) or put the default handler back (which must not deadlock).
struct Calls {
    int count = 0;
    bool postAgain = false;
    bool swapToDefault = false;
};

void countCall(const SoDebugError*, void* userData) {
    auto* calls = static_cast<Calls*>(userData);
    ++calls->count;
    if (calls->postAgain) SoDebugError::post("nested", "again");
    if (calls->swapToDefault) SoDebugError::setHandlerCallback(nullptr, nullptr);
}

}  // namespace

// What a user reads on stderr: one line per post, naming its severity, source and message;
// and a handler that posts again or puts the default back neither recurses nor deadlocks.
TEST(SoDebugError, HandlersAndWhatReachesStderr) {
    std::string all;
    for (const auto severity : {SoDebugError::ERROR, SoDebugError::WARNING, SoDebugError::INFO}) {
        // A message may end in its own newline; the text never ends in two.
        const std::string text =
            SoDebugError(severity, "SoA::f", "careful\n").getFullText().getStdString();
        EXPECT_NE(text.find("careful", text.find("SoA::f")), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
        EXPECT_EQ(all.find(text), std::string::npos) << text;  // the severities read apart
        all += text;
    }
    EXPECT_EQ(SoDebugError(SoDebugError::INFO, "SoA::f", "").getFullText().getStdString().back(),
              '\n');
    Calls calls;
    const DebugErrorRecorder restore;                   // puts the test's handler back at the end
    SoDebugError::setHandlerCallback(nullptr, &calls);  // null puts the default back
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &SoDebugError::defaultHandler);
    EXPECT_EQ(SoDebugError::getHandlerData(), nullptr);
    testing::internal::CaptureStderr();
    SoDebugError::post("SoA::f", "careful\n");
    SoDebugError::postWarning("SoA::f", "careful\n");
    SoDebugError::postInfo("SoA::f", "%s", "careful\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), all);

    calls.postAgain = true;
    SoDebugError::setHandlerCallback(&countCall, &calls);
    testing::internal::CaptureStderr();
    for (const char* message : {"first", "second"}) SoDebugError::post("outer", "%s", message);
    const std::string nested =
        SoDebugError(SoDebugError::ERROR, "nested", "again").getFullText().getStdString();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), nested + nested);
    EXPECT_EQ(calls.count, 2);  // the nested posts did not come back to the handler

    calls.postAgain = false;
    calls.swapToDefault = true;
    SoDebugError::post("x", "first");
    EXPECT_EQ(calls.count, 3);
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &SoDebugError::defaultHandler);
}

// Info posted once is delivered once per source and message; "a"+"bc" is not "ab"+"c".
TEST(SoDebugError, InfoOnceIsDeliveredOncePerSourceAndMessage) {
    SoDebugError::resetInfoOnce();
    DebugErrorRecorder recorder;
    for (int i = 0; i < 3; ++i) SoDebugError::postInfoOnce("SoFont", "no font %s", "Sans");
    SoDebugError::postInfoOnce("SoFont", "no font %s", "Serif");
    SoDebugError::postInfoOnce("SoText", "no font %s", "Sans");
    SoDebugError::postInfoOnce("a", "bc");
    SoDebugError::postInfoOnce("ab", "c");
    const auto posts = recorder.messages();
    ASSERT_EQ(posts.size(), 5u) << recorder.dump();
    EXPECT_EQ(recorder.countSeverity(SoDebugError::INFO), 5u);
    EXPECT_EQ(posts[0].message, "no font Sans");
    EXPECT_EQ(posts[2].source, "SoText");
    SoDebugError::resetInfoOnce();
    SoDebugError::postInfoOnce("SoFont", "no font %s", "Sans");
    EXPECT_EQ(recorder.size(), 6u);
}
