#pragma once

#include <Tessara/base/SbString.h>

#include <cstdarg>

/// The one channel through which the core reports errors, warnings and notes to the application.
class SoDebugError {
  public:
    enum Severity { ERROR = 0, WARNING = 1, INFO = 2 };
    using HandlerCB = void(const SoDebugError* error, void* userData);

    SoDebugError(Severity severity, const SbString& source, const SbString& message);

    /// printf-style message from source (usually "Class::method"); severity ERROR.
    static void post(const char* source, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    static void postWarning(const char* source, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    static void postInfo(const char* source, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    /// INFO, delivered only the first time this source and formatted message meet in the process.
    static void postInfoOnce(const char* source, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    /// For callers that already hold a va_list (their own printf-style wrappers).
    static void vpost(Severity severity, const char* source, const char* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    /// Forgets what postInfoOnce() has delivered, so tests can see the note again.
    static void resetInfoOnce();

    /// Installs cb for every thread; a null cb brings back the stderr handler.
    static void setHandlerCallback(HandlerCB* cb, void* userData);
    /// Never null: gives defaultHandler while no custom handler is installed.
    static HandlerCB* getHandlerCallback();
    static void* getHandlerData();
    /// The stderr handler; a custom handler may call it to pass a post on.
    static void defaultHandler(const SoDebugError* error, void* userData);

    Severity getSeverity() const { return severity_; }
    const SbString& getSource() const { return source_; }
    /// The formatted message.
    const SbString& getDebugString() const { return message_; }
    /// The whole text the stderr handler prints, newline included.
    SbString getFullText() const;

  private:
    static void deliver(const SoDebugError& error);

    Severity severity_;
    SbString source_;
    SbString message_;
};
