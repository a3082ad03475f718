#include "SoPSCompaction.h"

#include <cstring>

void SoPSCompaction::compact(char* line) {
    trimDecimals(line, static_cast<int>(std::strlen(line)));
    squeezeBlanks(line);
}

void SoPSCompaction::trimDecimals(char* line, int length) {
    for (int point = 0; point < length; ++point) {
        if (line[point] != '.') continue;
        int end = point + 1;
        while (end < length && line[end] != ' ') ++end;
        // Only numbers followed by a blank are shortened: the last one of a line is often
        // the operand of nothing (a line cut in the middle of a list) and stays as it is.
        if (end == length) continue;
        int last = end - 1;
        while (last > point && line[last] == '0') line[last--] = ' ';
        if (last == point && point > 0 && line[point - 1] != ' ') line[point] = ' ';
    }
}

void SoPSCompaction::squeezeBlanks(char* line) {
    char* to = line;
    bool pendingBlank = false;
    for (const char* from = line; *from; ++from) {
        if (*from == ' ') {
            pendingBlank = to != line;
            continue;
        }
        if (pendingBlank) *to++ = ' ';
        pendingBlank = false;
        *to++ = *from;
    }
    *to = '\0';
}
