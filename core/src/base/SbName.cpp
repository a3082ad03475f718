#include <Tessara/base/SbName.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

struct SbName::Entry {
    std::string text;
    int length;
    std::uint32_t hash;
};

namespace {

struct NameTable {
    std::mutex mutex;
    // Keys view the text of their own entry; entries never move or die, so they stay valid.
    std::unordered_map<std::string_view, std::unique_ptr<SbName::Entry>> entries;
};

// Never destroyed: static SbName objects elsewhere may still be read during exit.
NameTable& table() {
    static NameTable* instance = new NameTable;
    return *instance;
}

const SbName::Entry* intern(const SbString& text) {
    const std::string& bytes = text.getStdString();
    NameTable& names = table();
    std::lock_guard<std::mutex> lock(names.mutex);
    const auto found = names.entries.find(std::string_view(bytes));
    if (found != names.entries.end()) return found->second.get();
    auto entry =
        std::make_unique<SbName::Entry>(SbName::Entry{bytes, text.getLength(), text.hash()});
    const SbName::Entry* result = entry.get();
    names.entries.emplace(std::string_view(result->text), std::move(entry));
    return result;
}

const SbName::Entry* emptyEntry() {
    static const SbName::Entry* empty = intern(SbString());
    return empty;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

SbName::SbName() : entry_(emptyEntry()) {}

SbName::SbName(const char* name) : entry_(name && *name ? intern(SbString(name)) : emptyEntry()) {}

SbName::SbName(const SbString& name) : entry_(intern(name)) {}

const char* SbName::getString() const {
    return entry_->text.c_str();
}

int SbName::getLength() const {
    return entry_->length;
}

std::uint32_t SbName::hash() const {
    return entry_->hash;
}

bool SbName::operator!() const {
    return entry_->text.empty();
}

bool SbName::equals(const char* text) const {
    if (!text) return entry_->text.empty();
    return entry_->text == text || entry_->text == SbString(text).getStdString();
}

int SbName::compare(const SbName& other) const {
    if (entry_ == other.entry_) return 0;
    return entry_->text.compare(other.entry_->text);
}

bool SbName::isIdentStartChar(char c) {
    return isAsciiLetter(c) || c == '_';
}

bool SbName::isIdentChar(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '_';
}

bool SbName::isBaseNameChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;  // whitespace and control characters
    return std::strchr("{}[]\",\\+.'", c) == nullptr;
}

bool SbName::isBaseNameStartChar(char c) {
    return !isAsciiDigit(c) && isBaseNameChar(c);
}
