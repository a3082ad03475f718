#include "EncapsulatedStream.h"

#include <cstring>
#include <string>

namespace {

struct Passage {
    FILE* file;
    std::string firstLine;
    bool marked = false;
};

bool put(FILE* file, const char* data, size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

// The figure convention versions as the language conventions do, 2.0 being its oldest.
std::string markedLine(const std::string& line) {
    const size_t dash = line.rfind('-');
    std::string version = dash == std::string::npos ? std::string() : line.substr(dash + 1);
    if (version < "2.0") version = "2.0";
    return line + " EPSF-" + version;
}

ssize_t passOn(void* cookie, const char* data, size_t size) {
    auto& passage = *static_cast<Passage*>(cookie);
    size_t rest = 0;
    if (!passage.marked) {
        const auto* end = static_cast<const char*>(std::memchr(data, '\n', size));
        if (!end) {
            passage.firstLine.append(data, size);
            return static_cast<ssize_t>(size);
        }
        rest = static_cast<size_t>(end - data);
        passage.firstLine.append(data, rest);
        const std::string line = markedLine(passage.firstLine);
        if (!put(passage.file, line.data(), line.size())) return -1;
        passage.marked = true;
    }
    return put(passage.file, data + rest, size - rest) ? static_cast<ssize_t>(size) : -1;
}

int closeFile(void* cookie) {
    auto* passage = static_cast<Passage*>(cookie);
    // What never reached the end of a line is still the file's.
    const bool kept =
        passage->marked || put(passage->file, passage->firstLine.data(), passage->firstLine.size());
    const int closed = std::fclose(passage->file);
    delete passage;
    return kept ? closed : EOF;
}

}  // namespace

FILE* EncapsulatedStream::wrap(FILE* file) {
    auto* passage = new Passage{file, std::string()};
    FILE* stream = fopencookie(passage, "w", {nullptr, passOn, nullptr, closeFile});
    if (stream) return stream;
    delete passage;
    return file;
}
