#pragma once

// PE packs a polyline into flags and base-64 (or base-32) numbers up to ';'. This reader
// walks that body for HPGLDecoder and hands it one step at a time, so that the decoder can
// check a pen or a fraction count before anything after it is read, and give up on the
// command there: after a bad step nothing more of the command can be trusted.

#include <cstddef>

class HPGLScanner;

/// One step of a PE body; numbers are signed already but not yet scaled by the fraction bits.
struct HPGLEncodedStep {
    enum class Kind { Pen, Fraction, Point, End };
    Kind kind = Kind::End;
    double x = 0, y = 0;    ///< Pen and Fraction: the value in x; Point: the coordinates
    bool up = false;        ///< Point: a pen-up move ('<')
    bool absolute = false;  ///< Point: absolute rather than relative coordinates ('=')
};

/// Reads the body of one PE command into steps.
class HPGLEncodedReader {
  public:
    /// Reads from where `scanner` stands; messages about the whole command point at `commandAt`.
    HPGLEncodedReader(HPGLScanner& scanner, std::size_t commandAt)
        : scan_(scanner), at_(commandAt) {}

    /// The next step; End after the closing ';', or after a corrupt part (with a message and
    /// the rest of the command skipped).
    HPGLEncodedStep next();
    /// Gives up on the command: skips to its ';', with a message when there is none.
    void abandon();

  private:
    enum class Expect { Coordinate, Pen, Fraction };
    bool flag(unsigned char c);
    HPGLEncodedStep value(double v);
    HPGLEncodedStep stop();

    HPGLScanner& scan_;
    std::size_t at_;
    Expect expect_ = Expect::Coordinate;
    bool sevenBit_ = false, up_ = false, absolute_ = false, haveX_ = false;
    double x_ = 0;
};
