#include "DebugMessages.h"

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
    : stream(stream),
      previousHandler(SoDebugError::getHandlerCallback()),
      previousData(SoDebugError::getHandlerData()) {
    SoDebugError::setHandlerCallback(handle, this);
}

DebugMessages::~DebugMessages() {
    SoDebugError::setHandlerCallback(previousHandler, previousData);
}

void DebugMessages::handle(const SoDebugError* error, void* self) {
    if (error) static_cast<DebugMessages*>(self)->receive(*error);
}

void DebugMessages::receive(const SoDebugError& error) {
    Message message{error.getSeverity(), oneLine(error.getDebugString())};
    if (holding)
        held.push_back(message);
    else
        print(message);
}

void DebugMessages::print(const Message& message) {
    if (!printed.insert(message.text).second) return;
    const char* kind = message.severity == SoDebugError::ERROR ? "" : "note: ";
    if (message.severity == SoDebugError::WARNING) kind = "warning: ";
    std::fprintf(stream, "plotwerk: %s%s\n", kind, message.text.c_str());
    std::fflush(stream);
}

void DebugMessages::release() {
    holding = false;
    for (const Message& message : held) print(message);
    held.clear();
}

void DebugMessages::discard() {
    holding = false;
    held.clear();
}

std::string DebugMessages::firstHeldError() const {
    for (const Message& message : held)
        if (message.severity == SoDebugError::ERROR) return message.text;
    return held.empty() ? std::string() : held.front().text;
}
