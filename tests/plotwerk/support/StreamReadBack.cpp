#include "plotwerk/support/StreamReadBack.h"

std::string StreamReadBack::all(FILE* file) {
    std::fflush(file);
    const long end = std::ftell(file);
    std::string result(static_cast<std::size_t>(end > 0 ? end : 0), '\0');
    std::fseek(file, 0, SEEK_SET);
    const std::size_t got = std::fread(&result[0], 1, result.size(), file);
    result.resize(got);
    // Reading moved the position: later writes must go on at the end.
    std::fseek(file, 0, SEEK_END);
    return result;
}

void StreamReadBack::mark(FILE* file) {
    marked = all(file).size();
}

std::string StreamReadBack::sinceMark(FILE* file) const {
    const std::string text = all(file);
    return text.size() >= marked ? text.substr(marked) : std::string();
}
