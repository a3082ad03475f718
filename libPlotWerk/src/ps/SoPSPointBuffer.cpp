#include "SoPSPointBuffer.h"

#include <charconv>

#include "SoPSCompaction.h"

void SoPSPointBuffer::appendPoint(int x, int y) {
    // Two ints take at most 23 characters with the blank between them.
    char text[32];
    char* end = std::to_chars(text, text + 12, x).ptr;
    line.append(text, end);
    line += ' ';
    end = std::to_chars(text, text + 12, y).ptr;
    line.append(text, end);
}

void SoPSPointBuffer::endItem() {
    if (line.size() > flushAbove)
        flushLine();
    else if (!line.empty())
        line += ' ';
}

void SoPSPointBuffer::flushLine() {
    if (!line.empty()) writeCompacted('\n');
}

void SoPSPointBuffer::flushInline() {
    writeCompacted(' ');
}

void SoPSPointBuffer::writeCompacted(char terminator) {
    SoPSCompaction::compact(&line[0]);
    line.resize(std::char_traits<char>::length(line.c_str()));
    if (!line.empty()) {
        line += terminator;
        std::fwrite(line.data(), 1, line.size(), file);
    }
    line.clear();
}
