#pragma once

#include <cstdio>
#include <string>

/// Reads back what a backend wrote to its temporary stream, at any time, leaving the stream
/// at its end for the writes that follow; a mark lets a test look only at what came after.
class StreamReadBack {
  public:
    /// Everything written to `file` so far.
    static std::string all(FILE* file);
    /// Remembers the current end of the text, for sinceMark().
    void mark(FILE* file);
    /// What was written after the last mark().
    std::string sinceMark(FILE* file) const;

  private:
    std::size_t marked = 0;
};
