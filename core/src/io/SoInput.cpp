#include <Tessara/base/SoBase.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/misc/SbFileHelper.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "io/SoNumberText.h"

namespace {

const char* const kHeader = "#Tessara V1.0 ascii";

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isAlnum(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters that end an unquoted word even without white space after it.
bool endsWord(int c) {
    return c < 0 || isSpace(c) || std::strchr("{}[],\"#", c) != nullptr;
}

template <class T>
bool readInteger(SoInput* in, T& value, int bits, bool isSigned) {
    std::string token;
    if (!in->readToken(token)) return false;
    int64_t parsed = 0;
    if (SoNumberText::parseInteger(token, bits, isSigned, parsed) != SoNumberText::OK) {
        in->putBack(token.c_str());
        return false;
    }
    value = static_cast<T>(parsed);
    return true;
}

}  // namespace

/// The bytes being read, the characters put back, and the line bookkeeping for messages.
class SoInput::Source {
  public:
    std::string storage;  // the file's bytes; empty for caller buffers
    const char* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    std::string name;
    std::string pending;  // put-back characters, the next one last
    size_t tokenStart = 0;

    int peek() const {
        if (!pending.empty()) return static_cast<unsigned char>(pending.back());
        return pos < size ? static_cast<unsigned char>(data[pos]) : -1;
    }
    void advance() {
        if (!pending.empty())
            pending.pop_back();
        else if (pos < size)
            ++pos;
    }
    void skipSpace() {
        for (int c = peek(); c >= 0; c = peek()) {
            if (c == '#') {
                while (c >= 0 && c != '\n') {
                    advance();
                    c = peek();
                }
            } else if (isSpace(c)) {
                advance();
            } else {
                break;
            }
        }
        // Re-read put-back text keeps the position where it was first read.
        if (pending.empty()) tokenStart = pos;
    }
    /// Line and column (1-based, columns in characters) of byte offset `at`. Counted on from
    /// the last offset asked for: messages are asked for in reading order, and counting each
    /// column from its line's start made a file on one long line quadratic to read.
    void position(size_t at, int& line, int& column) const {
        if (at < cachedAt_) {
            cachedAt_ = 0;
            cachedLine_ = 1;
            cachedColumn_ = 1;
        }
        for (size_t i = cachedAt_; i < at && i < size; ++i) {
            if (data[i] == '\n') {
                ++cachedLine_;
                cachedColumn_ = 1;
            } else if ((static_cast<unsigned char>(data[i]) & 0xC0) != 0x80) {
                ++cachedColumn_;
            }
        }
        cachedAt_ = at;
        line = cachedLine_;
        column = cachedColumn_;
    }

  private:
    mutable size_t cachedAt_ = 0;
    mutable int cachedLine_ = 1;
    mutable int cachedColumn_ = 1;
};

SoInput::SoInput() = default;

SoInput::~SoInput() {
    closeFile();
}

bool SoInput::openFile(const char* fileName, bool okIfNotFound) {
    closeFile();
    const SbString name(fileName ? fileName : "");
    FILE* file = name.isEmpty() ? nullptr : SbFileHelper::open(name, "rb");
    if (!file) {
        if (!okIfNotFound)
            SoDebugError::post("SoInput::openFile", "Cannot open file \"%s\": %s", name.getString(),
                               std::strerror(errno));
        return false;
    }
    auto* source = new Source;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        source->storage.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    SbFileHelper::close(file);
    if (failed) {
        delete source;
        SoDebugError::post("SoInput::openFile", "Cannot read file \"%s\"", name.getString());
        return false;
    }
    source->data = source->storage.data();
    source->size = source->storage.size();
    source->name = name.getStdString();
    source_ = source;
    return true;
}

bool SoInput::openFile(const SbString& fileName, bool okIfNotFound) {
    return openFile(fileName.getString(), okIfNotFound);
}

void SoInput::setBuffer(const void* buffer, size_t size) {
    closeFile();
    source_ = new Source;
    source_->data = static_cast<const char*>(buffer);
    source_->size = buffer ? size : 0;
    source_->name = "<buffer>";
}

void SoInput::closeFile() {
    delete source_;
    source_ = nullptr;
    headerState_ = 0;
    clearReferences();
}

bool SoInput::isValidFile() {
    return getHeader() == kHeader;
}

SbString SoInput::getHeader() {
    if (!source_ || source_->size == 0 || source_->data[0] != '#') return SbString();
    size_t end = 0;
    while (end < source_->size && source_->data[end] != '\n') ++end;
    while (end > 0 && isSpace(source_->data[end - 1])) --end;
    return SbString(std::string(source_->data, end));
}

bool SoInput::checkHeader() {
    if (headerState_ == 0) headerState_ = isValidFile() ? 1 : -1;
    if (headerState_ < 0) {
        if (source_) source_->tokenStart = 0;
        postError("SoInput::checkHeader",
                  "Not a valid Tessara file: \"%s\" does not start with \"%s\"",
                  getFileName().getString(), kHeader);
    }
    return headerState_ > 0;
}

SbString SoInput::getFileName() const {
    return source_ ? SbString(source_->name) : SbString("<no input>");
}

int SoInput::getLineNumber() const {
    int line = 0, column = 0;
    if (source_) source_->position(source_->tokenStart, line, column);
    return line;
}

int SoInput::getColumnNumber() const {
    int line = 0, column = 0;
    if (source_) source_->position(source_->tokenStart, line, column);
    return column;
}

bool SoInput::eof() {
    if (!source_) return true;
    source_->skipSpace();
    return source_->peek() < 0;
}

bool SoInput::read(char& c) {
    if (!source_) return false;
    source_->skipSpace();
    const int next = source_->peek();
    if (next < 0) return false;
    source_->advance();
    c = static_cast<char>(next);
    return true;
}

bool SoInput::readQuoted(std::string& text) {
    source_->advance();  // the opening quote
    for (;;) {
        int c = source_->peek();
        if (c < 0) return false;
        source_->advance();
        if (c == '"') return true;
        if (c == '\\') {
            c = source_->peek();
            if (c < 0) return false;
            source_->advance();
            if (c == 'n')
                c = '\n';
            else if (c == 't')
                c = '\t';
            else if (c != '"' && c != '\\')
                text += '\\';  // an unknown escape stays as written
        }
        text += static_cast<char>(c);
    }
}

bool SoInput::read(SbString& s) {
    if (!source_) return false;
    source_->skipSpace();
    std::string text;
    if (source_->peek() == '"') {
        if (!readQuoted(text)) return false;
    } else {
        for (int c = source_->peek(); !endsWord(c); c = source_->peek()) {
            text += static_cast<char>(c);
            source_->advance();
        }
        if (text.empty()) return false;
    }
    s = SbString(text);
    return true;
}

bool SoInput::read(SbName& n, bool validIdent) {
    if (!source_) return false;
    source_->skipSpace();
    std::string text;
    for (int c = source_->peek(); c >= 0; c = source_->peek()) {
        const char ch = static_cast<char>(c);
        const bool ok =
            validIdent
                ? (text.empty() ? SbName::isIdentStartChar(ch) : SbName::isIdentChar(ch))
                : (text.empty() ? SbName::isBaseNameStartChar(ch) : SbName::isBaseNameChar(ch));
        if (!ok) break;
        text += ch;
        source_->advance();
    }
    if (text.empty()) return false;
    n = SbName(text.c_str());
    return true;
}

bool SoInput::readToken(std::string& token) {
    token.clear();
    if (!source_) return false;
    source_->skipSpace();
    int c = source_->peek();
    if (c == '+' || c == '-') {
        token += static_cast<char>(c);
        source_->advance();
    }
    for (c = source_->peek(); c >= 0; c = source_->peek()) {
        const bool afterExponent = !token.empty() && (token.back() == 'e' || token.back() == 'E');
        const bool hex = token.find_first_of("xX") != std::string::npos;
        if (!(isAlnum(c) || c == '.' || c == '_' ||
              ((c == '+' || c == '-') && afterExponent && !hex)))
            break;
        token += static_cast<char>(c);
        source_->advance();
    }
    return !token.empty();
}

bool SoInput::read(int32_t& i) {
    return readInteger(this, i, 32, true);
}
bool SoInput::read(uint32_t& i) {
    return readInteger(this, i, 32, false);
}
bool SoInput::read(short& i) {
    return readInteger(this, i, 16, true);
}
bool SoInput::read(unsigned short& i) {
    return readInteger(this, i, 16, false);
}

bool SoInput::read(float& f) {
    std::string token;
    if (!readToken(token)) return false;
    if (SoNumberText::parseFloat(token, f) == SoNumberText::OK) return true;
    putBack(token.c_str());
    return false;
}

bool SoInput::read(double& d) {
    std::string token;
    if (!readToken(token)) return false;
    if (SoNumberText::parseDouble(token, d) == SoNumberText::OK) return true;
    putBack(token.c_str());
    return false;
}

void SoInput::putBack(char c) {
    if (source_) source_->pending.push_back(c);
}

void SoInput::putBack(const char* string) {
    if (!source_ || !string) return;
    for (size_t i = std::strlen(string); i > 0; --i) source_->pending.push_back(string[i - 1]);
}

void SoInput::postError(const char* source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const SbString message = SbString::vformatC(format, args);
    va_end(args);
    SoDebugError::post(source, "%s:%d:%d: %s", getFileName().getString(), getLineNumber(),
                       getColumnNumber(), message.getString());
}

void SoInput::addReference(const SbName& name, SoBase* base) {
    if (!base) return;
    base->ref();
    SoBase*& slot = references_[name.getString()];
    if (slot) slot->unref();
    slot = base;
}

SoBase* SoInput::findReference(const SbName& name) const {
    const auto found = references_.find(name.getString());
    return found == references_.end() ? nullptr : found->second;
}

void SoInput::clearReferences() {
    // Moved out first: releasing a node cannot reach back into the table this way.
    std::map<std::string, SoBase*> references;
    references.swap(references_);
    for (auto& entry : references) entry.second->unref();
}
