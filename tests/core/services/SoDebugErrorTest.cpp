#include <Tessara/base/SoDebugError.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

struct Seen {
    int calls = 0;
    SoDebugError::Severity severity = SoDebugError::INFO;
    std::string source;
    std::string message;
};

void remember(const SoDebugError* error, void* userData) {
    auto* seen = static_cast<Seen*>(userData);
    ++seen->calls;
    seen->severity = error->getSeverity();
    seen->source = error->getSource().getStdString();
    seen->message = error->getDebugString().getStdString();
}

// Posts again from inside the handler, which must reach stderr rather than recurse.
void postAgain(const SoDebugError*, void* userData) {
    ++*static_cast<int*>(userData);
    SoDebugError::post("nested", "posted from a handler");
}

// Swaps the handler from inside a handler call: must not deadlock.
void swapToDefault(const SoDebugError*, void* userData) {
    ++*static_cast<int*>(userData);
    SoDebugError::setHandlerCallback(nullptr, nullptr);
}

// Installs a handler for one test and always puts the previous one back.
class HandlerScope {
  public:
    HandlerScope(SoDebugError::HandlerCB* cb, void* data)
        : m_cb(SoDebugError::getHandlerCallback()), m_data(SoDebugError::getHandlerData()) {
        SoDebugError::setHandlerCallback(cb, data);
    }
    ~HandlerScope() { SoDebugError::setHandlerCallback(m_cb, m_data); }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

  private:
    SoDebugError::HandlerCB* m_cb;
    void* m_data;
};

}  // namespace

TEST(SoDebugError, HandlerGetsSeveritySourceAndFormattedMessage) {
    Seen seen;
    HandlerScope scope(&remember, &seen);
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &remember);
    EXPECT_EQ(SoDebugError::getHandlerData(), &seen);

    SoDebugError::post("SoFoo::bar", "value %d of %s", 3, "seven");
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.severity, SoDebugError::ERROR);
    EXPECT_EQ(seen.source, "SoFoo::bar");
    EXPECT_EQ(seen.message, "value 3 of seven");

    SoDebugError::postWarning("W", "%.2f", 0.125);
    EXPECT_EQ(seen.severity, SoDebugError::WARNING);
    EXPECT_EQ(seen.message, "0.12");
    SoDebugError::postInfo("I", "note");
    EXPECT_EQ(seen.severity, SoDebugError::INFO);
    EXPECT_EQ(seen.calls, 3);
}

TEST(SoDebugError, FullTextNamesSeverityAndEndsWithOneNewline) {
    EXPECT_EQ(SoDebugError(SoDebugError::ERROR, "SoA::f", "broken").getFullText(),
              "Tessara error in SoA::f(): broken\n");
    EXPECT_EQ(SoDebugError(SoDebugError::WARNING, "g", "careful\n").getFullText(),
              "Tessara warning in g(): careful\n");
    EXPECT_EQ(SoDebugError(SoDebugError::INFO, "h", "").getFullText(), "Tessara info in h(): \n");
}

TEST(SoDebugError, DefaultHandlerWritesOneBlockToStderr) {
    HandlerScope scope(nullptr, nullptr);
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &SoDebugError::defaultHandler);
    EXPECT_EQ(SoDebugError::getHandlerData(), nullptr);
    testing::internal::CaptureStderr();
    SoDebugError::post("SoX::y", "bad %s", "input");
    SoDebugError::postWarning("SoX::z", "line ends\n");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out,
              "Tessara error in SoX::y(): bad input\n"
              "Tessara warning in SoX::z(): line ends\n");
}

TEST(SoDebugError, NullHandlerRestoresDefault) {
    Seen seen;
    HandlerScope scope(&remember, &seen);
    SoDebugError::setHandlerCallback(nullptr, &seen);
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &SoDebugError::defaultHandler);
    EXPECT_EQ(SoDebugError::getHandlerData(), nullptr);
    testing::internal::CaptureStderr();
    SoDebugError::postInfo("S", "to stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tessara info in S(): to stderr\n");
    EXPECT_EQ(seen.calls, 0);
}

TEST(SoDebugError, HandlerMayPostAgain) {
    int calls = 0;
    HandlerScope scope(&postAgain, &calls);
    testing::internal::CaptureStderr();
    SoDebugError::post("outer", "first");
    SoDebugError::post("outer", "second");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 2);  // the nested posts did not come back to the handler
    EXPECT_EQ(out,
              "Tessara error in nested(): posted from a handler\n"
              "Tessara error in nested(): posted from a handler\n");
}

TEST(SoDebugError, HandlerMayReplaceItself) {
    int calls = 0;
    HandlerScope scope(&swapToDefault, &calls);
    SoDebugError::post("x", "first");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(SoDebugError::getHandlerCallback(), &SoDebugError::defaultHandler);
    testing::internal::CaptureStderr();
    SoDebugError::post("x", "second");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tessara error in x(): second\n");
    EXPECT_EQ(calls, 1);
}

TEST(SoDebugError, InfoOnceDeliversEachSourceAndMessageOnce) {
    SoDebugError::resetInfoOnce();
    DebugErrorRecorder recorder;
    for (int i = 0; i < 3; ++i) SoDebugError::postInfoOnce("SoFont", "no font %s", "Sans");
    SoDebugError::postInfoOnce("SoFont", "no font %s", "Serif");
    SoDebugError::postInfoOnce("SoText", "no font %s", "Sans");
    // Source and message are kept apart: "a"+"bc" is not "ab"+"c".
    SoDebugError::postInfoOnce("a", "bc");
    SoDebugError::postInfoOnce("ab", "c");
    ASSERT_EQ(recorder.size(), 5u) << recorder.dump();
    EXPECT_EQ(recorder.countSeverity(SoDebugError::INFO), 5u);
    EXPECT_EQ(recorder.messages()[0].message, "no font Sans");
    EXPECT_EQ(recorder.messages()[2].source, "SoText");

    SoDebugError::postInfoOnce("SoFont", "no font %s", "Sans");
    EXPECT_EQ(recorder.size(), 5u);
    SoDebugError::resetInfoOnce();
    SoDebugError::postInfoOnce("SoFont", "no font %s", "Sans");
    EXPECT_EQ(recorder.size(), 6u);
}

TEST(SoDebugError, RecordersNestAndRestore) {
    Seen seen;
    HandlerScope scope(&remember, &seen);
    {
        DebugErrorRecorder outer;
        {
            DebugErrorRecorder inner;
            SoDebugError::postWarning("in", "inner");
            EXPECT_EQ(inner.size(), 1u);
            EXPECT_TRUE(inner.contains("in", "inner"));
            EXPECT_FALSE(inner.contains("in", "outer"));
        }
        SoDebugError::postWarning("out", "outer");
        EXPECT_EQ(outer.size(), 1u);
        EXPECT_EQ(outer.countSeverity(SoDebugError::WARNING), 1u);
        outer.clear();
        EXPECT_EQ(outer.size(), 0u);
    }
    SoDebugError::post("after", "recorders");
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.source, "after");
}

TEST(SoDebugError, PostsFromManyThreadsAllArrive) {
    DebugErrorRecorder recorder;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) SoDebugError::postWarning("worker", "%d/%d", t, i);
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(recorder.size(), 200u);
    EXPECT_TRUE(recorder.contains("worker", "3/49"));
    EXPECT_TRUE(recorder.contains("worker", "0/0"));
}
