#include "support/HPGLEncodedReader.h"

#include <cstdint>
#include <string>

#include "support/HPGLScanner.h"

namespace {

bool isFlag(unsigned char c) {
    return c == ':' || c == '<' || c == '>' || c == '=' || c == '7';
}

}  // namespace

HPGLEncodedStep HPGLEncodedReader::next() {
    for (;;) {
        if (scan_.atEnd() || scan_.peek() == HPGLScanner::kEsc) return stop();
        const unsigned char c = scan_.peek();
        if (c == ';') {
            scan_.skip();
            if (haveX_ || up_ || absolute_ || expect_ != Expect::Coordinate)
                scan_.error(at_, "PE ends inside a coordinate pair or after a flag");
            return {};
        }
        if (HPGLScanner::isBlank(c)) {
            scan_.skip();
        } else if (isFlag(c)) {
            if (!flag(c)) return stop();
        } else {
            std::int64_t n = 0;
            if (!scan_.encodedNumber(sevenBit_, n)) return stop();
            // Even numbers carry n/2, odd ones -(n-1)/2; magnitudes stay below 2^50, exact.
            const double v = n % 2 == 0 ? static_cast<double>(n / 2) : -static_cast<double>(n / 2);
            if (expect_ != Expect::Coordinate || haveX_) return value(v);
            x_ = v;
            haveX_ = true;
        }
    }
}

void HPGLEncodedReader::abandon() {
    while (!scan_.atEnd() && scan_.peek() != ';' && scan_.peek() != HPGLScanner::kEsc) scan_.skip();
    if (!scan_.at(';')) return scan_.error(at_, "unterminated PE");
    scan_.skip();
}

// A flag applies to the number after it, so it cannot stand inside a pair or after ':'/'>'.
bool HPGLEncodedReader::flag(unsigned char c) {
    if (haveX_ || expect_ != Expect::Coordinate) {
        scan_.error(scan_.pos(), "PE flag '" + std::string(1, static_cast<char>(c)) +
                                     "' where a number belongs");
        return false;
    }
    scan_.skip();
    if (c == ':') expect_ = Expect::Pen;
    if (c == '>') expect_ = Expect::Fraction;
    up_ = up_ || c == '<';
    absolute_ = absolute_ || c == '=';
    sevenBit_ = sevenBit_ || c == '7';
    return true;
}

HPGLEncodedStep HPGLEncodedReader::value(double v) {
    HPGLEncodedStep step;
    if (expect_ == Expect::Pen) {
        step.kind = HPGLEncodedStep::Kind::Pen;
        step.x = v;
    } else if (expect_ == Expect::Fraction) {
        step.kind = HPGLEncodedStep::Kind::Fraction;
        step.x = v;
    } else {
        step = HPGLEncodedStep{HPGLEncodedStep::Kind::Point, x_, v, up_, absolute_};
        haveX_ = up_ = absolute_ = false;
    }
    expect_ = Expect::Coordinate;
    return step;
}

HPGLEncodedStep HPGLEncodedReader::stop() {
    abandon();
    return {};
}
