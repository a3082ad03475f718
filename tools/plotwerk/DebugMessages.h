#pragma once

#include <Tessara/base/SoDebugError.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

/// Routes what the core and the library post through SoDebugError to standard error as
/// "plotwerk: ..." lines, each distinct message once however often it is posted. While
/// holding, messages are kept back instead, so that a failed read or write can be told in one
/// line.
class DebugMessages {
  public:
    /// Installs the handler; the destructor puts the previous one back.
    explicit DebugMessages(FILE* stream);
    ~DebugMessages();
    DebugMessages(const DebugMessages&) = delete;
    DebugMessages& operator=(const DebugMessages&) = delete;

    void hold() { holding_ = true; }
    /// Prints what was kept back and stops holding.
    void release();
    /// Forgets what was kept back and stops holding.
    void discard();
    /// The first error kept back (empty when none): the reason a read failed.
    std::string firstHeldError() const;
    /// The system's reason in the first error kept back ("No space left on device"): what
    /// follows its last ": ", or the whole message when it has none; empty when none.
    std::string firstHeldReason() const;

  private:
    struct Message {
        SoDebugError::Severity severity;
        std::string text;
    };

    static void handle(const SoDebugError* error, void* self);
    void receive(const SoDebugError& error);
    void print(const Message& message);

    FILE* stream_;
    SoDebugError::HandlerCB* previousHandler_;
    void* previousData_;
    bool holding_ = false;
    std::vector<Message> held_;
    std::set<std::string> printed_;
};
