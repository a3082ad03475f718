#include "DebugMessages.h"

#include <cstring>

namespace {

// A message is one line on the terminal: line breaks inside become spaces, trailing ones go.
std::string oneLine(const SbString& message) {
    std::string text = message.getStdString();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

DebugMessages::DebugMessages(FILE* stream)
    : stream_(stream),
      previousHandler_(SoDebugError::getHandlerCallback()),
      previousData_(SoDebugError::getHandlerData()) {
    SoDebugError::setHandlerCallback(handle, this);
}

DebugMessages::~DebugMessages() {
    SoDebugError::setHandlerCallback(previousHandler_, previousData_);
}

void DebugMessages::handle(const SoDebugError* error, void* self) {
    if (error) static_cast<DebugMessages*>(self)->receive(*error);
}

void DebugMessages::receive(const SoDebugError& error) {
    // A failed write is told once, naming the file, from the output's kept error.
    if (std::strncmp(error.getSource().getString(), "SoVectorOutput::", 16) == 0) return;
    Message message{error.getSeverity(), oneLine(error.getDebugString())};
    if (holding_)
        held_.push_back(message);
    else
        print(message);
}

void DebugMessages::print(const Message& message) {
    if (!printed_.insert(message.text).second) return;
    const char* kind = message.severity == SoDebugError::ERROR ? "" : "note: ";
    if (message.severity == SoDebugError::WARNING) kind = "warning: ";
    std::fprintf(stream_, "plotwerk: %s%s\n", kind, message.text.c_str());
    std::fflush(stream_);
}

void DebugMessages::release() {
    holding_ = false;
    for (const Message& message : held_) print(message);
    held_.clear();
}

void DebugMessages::discard() {
    holding_ = false;
    held_.clear();
}

std::string DebugMessages::firstHeldError() const {
    for (const Message& message : held_)
        if (message.severity == SoDebugError::ERROR) return message.text;
    return held_.empty() ? std::string() : held_.front().text;
}

// Messages about a failed write end in the reason, after the file they name: the reason alone
// is what a line that names the output already needs.
std::string DebugMessages::firstHeldReason() const {
    const std::string error = firstHeldError();
    const size_t colon = error.rfind(": ");
    return colon == std::string::npos ? error : error.substr(colon + 2);
}
