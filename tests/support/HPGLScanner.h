#pragma once

// The byte level of a plot, for HPGLDecoder: where reading stands, the lexical forms of the
// language (numeric parameters, PCL escapes, PE's encoded numbers and label text) and the
// messages about bytes that fit none of them. What the pieces mean is the decoder's business.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

/// Reads the lexical pieces of an HP-GL/2 plot and its PCL escapes, and keeps the messages.
class HPGLScanner {
  public:
    static constexpr unsigned char kEsc = 0x1B;
    static constexpr unsigned char kEtx = 0x03;

    /// Reads `bytes`, which must outlive the scanner, from their start.
    explicit HPGLScanner(const std::string& bytes) : in_(bytes) {}

    std::size_t pos() const { return pos_; }
    std::size_t size() const { return in_.size(); }
    bool atEnd() const { return pos_ >= in_.size(); }
    /// The byte `ahead` places past the current one; the caller makes sure it exists.
    unsigned char peek(std::size_t ahead = 0) const {
        return static_cast<unsigned char>(in_[pos_ + ahead]);
    }
    /// Whether the current byte is `c` (false at the end).
    bool at(unsigned char c) const { return !atEnd() && peek() == c; }
    void skip(std::size_t n = 1) { pos_ += n; }

    /// Records "byte <at>: <message>".
    void error(std::size_t at, const std::string& message) {
        errors_.push_back("byte " + std::to_string(at) + ": " + message);
    }
    /// Hands over the messages so far, once reading is done.
    std::vector<std::string> takeErrors() { return std::move(errors_); }

    /// Reads a PCL escape of the form ESC % <number> <letter> at the current ESC into its text
    /// without the ESC ("%-1B"); false, with a message, for any other.
    bool escape(std::string& text);
    /// Reads the numbers of a command up to its end (';', a letter or an escape, eating the
    /// ';'); false, with a message naming `command`, when a parameter is malformed.
    bool parameters(std::vector<double>& values, const std::string& command);
    /// Skips what follows a command up to the next command, escape or ';' (which it eats).
    void skipParameters();
    /// Reads one PE number (base-64 digits, least significant first, 8-bit terminator) in its
    /// raw unsigned form.
    bool encodedNumber(std::int64_t& out);
    /// Reads label text up to the ETX terminator (eaten, not kept), an escape or the end; true
    /// when the terminator was found.
    bool labelText(std::string& text);

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
