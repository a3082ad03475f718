#include <Tessara/base/SoDebugError.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

struct HandlerState {
    std::mutex mutex;
    SoDebugError::HandlerCB* callback = nullptr;
    void* userData = nullptr;
    std::set<std::string> postedOnce;
};

// Never destroyed: errors may still be posted from other objects' static destructors.
HandlerState& state() {
    static HandlerState* instance = new HandlerState;
    return *instance;
}

// Depth of handler calls on this thread; a handler that posts again is sent to stderr
// instead of to itself, so a faulty handler cannot recurse forever or deadlock.
thread_local int handlerDepth = 0;

const char* severityWord(SoDebugError::Severity severity) {
    switch (severity) {
        case SoDebugError::WARNING:
            return "warning";
        case SoDebugError::INFO:
            return "info";
        case SoDebugError::ERROR:
        default:
            return "error";
    }
}

}  // namespace

SoDebugError::SoDebugError(Severity severity, const SbString& source, const SbString& message)
    : severity_(severity), source_(source), message_(message) {}

SbString SoDebugError::getFullText() const {
    SbString text =
        SbString::formatC("Tessara %s in %s(): ", severityWord(severity_), source_.getString());
    text += message_;
    const std::string& bytes = message_.getStdString();
    if (bytes.empty() || bytes.back() != '\n') text += '\n';
    return text;
}

void SoDebugError::defaultHandler(const SoDebugError* error, void*) {
    if (!error) return;
    // One write per post keeps messages from different threads from interleaving.
    const SbString text = error->getFullText();
    std::fwrite(text.getString(), 1, static_cast<std::size_t>(text.getByteLength()), stderr);
    std::fflush(stderr);
}

void SoDebugError::deliver(const SoDebugError& error) {
    HandlerCB* callback = nullptr;
    void* userData = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        callback = state().callback;
        userData = state().userData;
    }
    // The lock is released before the call so that the handler may post or swap handlers.
    if (!callback || callback == &defaultHandler || handlerDepth > 0) {
        defaultHandler(&error, nullptr);
        return;
    }
    struct DepthGuard {
        DepthGuard() { ++handlerDepth; }
        ~DepthGuard() { --handlerDepth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
    } guard;
    callback(&error, userData);
}

void SoDebugError::vpost(Severity severity, const char* source, const char* format, va_list args) {
    const SbString message = SbString::vformatC(format, args);
    deliver(SoDebugError(severity, SbString(source), message));
}

void SoDebugError::post(const char* source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vpost(ERROR, source, format, args);
    va_end(args);
}

void SoDebugError::postWarning(const char* source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vpost(WARNING, source, format, args);
    va_end(args);
}

void SoDebugError::postInfo(const char* source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vpost(INFO, source, format, args);
    va_end(args);
}

void SoDebugError::postInfoOnce(const char* source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const SbString message = SbString::vformatC(format, args);
    va_end(args);
    const SbString origin(source);
    // The NUL keeps "a"+"bc" apart from "ab"+"c".
    std::string key = origin.getStdString();
    key += '\0';
    key += message.getStdString();
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (!state().postedOnce.insert(std::move(key)).second) return;
    }
    deliver(SoDebugError(INFO, origin, message));
}

void SoDebugError::resetInfoOnce() {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().postedOnce.clear();
}

void SoDebugError::setHandlerCallback(HandlerCB* cb, void* userData) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().callback = cb;
    state().userData = cb ? userData : nullptr;
}

SoDebugError::HandlerCB* SoDebugError::getHandlerCallback() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().callback ? state().callback : &defaultHandler;
}

void* SoDebugError::getHandlerData() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().userData;
}
