#pragma once

#include <string>

class SoVectorOutput;

/// Collects the operands of a point list into lines: items are separated by one blank and a
/// line is written (compacted) as soon as it grows past a limit, so long lists stay readable
/// and within the line lengths PostScript readers accept.
class SoPSPointBuffer {
  public:
    SoPSPointBuffer(SoVectorOutput* output, std::size_t flushAbove)
        : output_(output), flushAbove_(flushAbove) {}

    /// "x y" in drawing units.
    void appendPoint(int x, int y);
    /// Text that belongs to the current item (a flag before a point, colours after it).
    void appendText(const std::string& text) { line_ += text; }
    /// Ends an item: writes the line when it is too long, else adds the separating blank.
    void endItem();
    /// Writes what is collected, compacted, followed by a line feed.
    void flushLine();
    /// Writes what is collected, compacted, followed by a blank (the statement goes on).
    void flushInline();

  private:
    void writeCompacted(char terminator);

    SoVectorOutput* output_;
    std::size_t flushAbove_;
    std::string line_;
};
