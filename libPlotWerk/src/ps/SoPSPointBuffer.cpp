#include "SoPSPointBuffer.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SbNumberFormat.h>

#include "SoPSCompaction.h"

void SoPSPointBuffer::appendPoint(int x, int y) {
    SbNumberFormat::appendInteger(line_, x);
    line_ += ' ';
    SbNumberFormat::appendInteger(line_, y);
}

void SoPSPointBuffer::endItem() {
    if (line_.size() > flushAbove_)
        flushLine();
    else if (!line_.empty())
        line_ += ' ';
}

void SoPSPointBuffer::flushLine() {
    if (!line_.empty()) writeCompacted('\n');
}

void SoPSPointBuffer::flushInline() {
    writeCompacted(' ');
}

void SoPSPointBuffer::writeCompacted(char terminator) {
    SoPSCompaction::compact(line_);
    if (!line_.empty()) {
        line_ += terminator;
        output_->write(line_);
    }
    line_.clear();
}
