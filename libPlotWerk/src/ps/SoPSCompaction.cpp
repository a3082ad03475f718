#include "SoPSCompaction.h"

void SoPSCompaction::compact(std::string& line) {
    trimDecimals(line);
    squeezeBlanks(line);
}

void SoPSCompaction::trimDecimals(std::string& line) {
    const std::size_t length = line.size();
    for (std::size_t point = 0; point < length; ++point) {
        if (line[point] != '.') continue;
        const std::size_t end = line.find(' ', point + 1);
        // Only numbers followed by a blank are shortened: the last one of a line is often
        // the operand of nothing (a line cut in the middle of a list) and stays as it is.
        if (end == std::string::npos) continue;
        std::size_t last = end - 1;
        while (last > point && line[last] == '0') line[last--] = ' ';
        if (last == point && point > 0 && line[point - 1] != ' ') line[point] = ' ';
    }
}

void SoPSCompaction::squeezeBlanks(std::string& line) {
    std::size_t to = 0;
    bool pendingBlank = false;
    for (const char c : line) {
        if (c == ' ') {
            pendingBlank = to != 0;
            continue;
        }
        if (pendingBlank) line[to++] = ' ';
        pendingBlank = false;
        line[to++] = c;
    }
    line.resize(to);
}
