#pragma once

#include <Tessara/base/SbString.h>

#include <cstdint>
#include <cstdio>
#include <string>

/// The destination of a scene file: a named file, an open stream, or memory.
/// Numbers are written in the C locale, floats with the fewest digits that read back exactly.
/// A new output writes to stdout until it is given another destination.
class SoOutput {
  public:
    SoOutput();
    ~SoOutput();
    SoOutput(const SoOutput&) = delete;
    SoOutput& operator=(const SoOutput&) = delete;

    /// Opens a file for writing; false when it cannot be created.
    bool openFile(const char* fileName);
    /// Writes to a caller's stream, which the output does not close.
    void setFilePointer(FILE* fp);
    /// Writes to memory, read back with getString().
    void setBuffer();
    /// Closes an opened file; writing goes to stdout again. Memory text stays readable.
    void closeFile();
    /// What was written to memory.
    const std::string& getString() const { return buffer_; }
    /// Pushes what is buffered in the stream out.
    void flush();

    void write(char c);
    void write(const char* s);
    void write(const SbString& s);
    void write(int32_t i);
    void write(uint32_t i);
    void write(float f);
    void write(double d);
    /// Writes s in double quotes with \" and \\ escaped, and line breaks as \n.
    void writeQuoted(const SbString& s);

    /// Starts a new line at the current indentation (two spaces a level, at most 40 levels).
    void newLine();
    void incrementIndent() { ++indent_; }
    void decrementIndent() {
        if (indent_ > 0) --indent_;
    }
    int getIndent() const { return indent_; }
    /// Characters written since the last line break (for wrapping long lists).
    int getColumn() const { return column_; }

  private:
    void writeBytes(const char* bytes, size_t count);

    FILE* file_ = nullptr;
    bool ownsFile_ = false;
    bool toBuffer_ = false;
    std::string buffer_;
    int indent_ = 0;
    int column_ = 0;
};
