#include "SoPSPointBuffer.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SbNumberFormat.h>

#include "SoPSCompaction.h"

void SoPSPointBuffer::appendPoint(int x, int y) {
    SbNumberFormat::appendInteger(line, x);
    line += ' ';
    SbNumberFormat::appendInteger(line, y);
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
    SoPSCompaction::compact(line);
    if (!line.empty()) {
        line += terminator;
        output->write(line);
    }
    line.clear();
}
