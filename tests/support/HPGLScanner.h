#pragma once

// The byte level of a plot, for HPGLDecoder: where reading stands, the lexical forms of the
// language (numeric parameters, PCL escape sequences, PE's encoded numbers, label text and
// quoted strings) and the messages about bytes that fit none of them. What the pieces mean is
// the decoder's business; so are the messages that point at a whole command rather than at a
// byte, such as an unterminated label.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/HPGLPlot.h"

/// Reads the lexical pieces of an HP-GL/2 plot and its PCL escapes, and keeps the messages.
class HPGLScanner {
  public:
    static constexpr unsigned char kEsc = 0x1B;

    /// Reads `bytes`, which must outlive the scanner, from their start.
    explicit HPGLScanner(const std::string& bytes) : in_(bytes) {}

    const std::string& bytes() const { return in_; }
    std::size_t pos() const { return pos_; }
    bool atEnd() const { return pos_ >= in_.size(); }
    /// How many bytes are left to read.
    std::size_t left() const { return atEnd() ? 0 : in_.size() - pos_; }
    /// The byte `ahead` places past the current one; the caller makes sure it exists.
    unsigned char peek(std::size_t ahead = 0) const {
        return static_cast<unsigned char>(in_[pos_ + ahead]);
    }
    /// Whether the current byte is `c` (false at the end).
    bool at(unsigned char c) const { return !atEnd() && peek() == c; }
    void skip(std::size_t n = 1) { pos_ += n; }

    /// Records "byte <at>: <message>"; past a bound, one last message says the rest are left out.
    void error(std::size_t at, const std::string& message);
    /// Hands over the messages so far, once reading is done.
    std::vector<std::string> takeErrors() { return std::move(errors_); }

    /// Reads the escape that starts at the current ESC into its text without the ESC ("E",
    /// "%-1B", "&l0O"), skipping any binary data it announces; false, with a message, when it
    /// is truncated or malformed.
    bool escape(std::string& text);
    /// Reads the numbers of a command up to its end (';', a letter or an escape, eating the
    /// ';'); false, with a message naming `command`, when a parameter is malformed.
    bool parameters(std::vector<double>& values, const std::string& command);
    /// Skips what follows a command up to the next command, escape or ';' (which it eats).
    void skipParameters();
    /// Reads one PE number (base 64, or base 32 when `sevenBit`) in its raw unsigned form.
    bool encodedNumber(bool sevenBit, std::int64_t& out);
    /// Reads the text of `label` in units of `width` bytes (1, or 2 big-endian) up to its
    /// terminator, an escape or the end, adding the terminator when it is printed; true when
    /// the terminator was found.
    bool labelText(std::size_t width, HPGLLabel& label);
    /// Reads a string in double quotes at the current '"'; false when it has no closing quote,
    /// reading then stands at the end.
    bool quoted(std::string& text);

    static bool isLetter(unsigned char c);
    static bool isBlank(unsigned char c);
    /// "0x1B" style, for messages.
    static std::string hexByte(unsigned char c);

  private:
    bool number(double& value, const std::string& command);
    bool numberEnds() const;
    bool fail(std::size_t at, const std::string& message);

    const std::string& in_;
    std::size_t pos_ = 0;
    std::vector<std::string> errors_;
};
