#pragma once

// One parameter of a decoded CGM element, in the representation both readers share, so that
// the same drawing written in either encoding reads back to equal values.
//
// Representation of the parameter kinds:
//   integers, indices and enumerations    Integer (enumerations by their numeric value)
//   reals, VDC values, widths and sizes   Real (a VDC integer becomes a Real too)
//   strings                               String
//   points                                Point
//   direct colours                        Colour (r, g, b as written, not normalised)
//   colour indices                        Index

#include <cmath>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>

/// One decoded parameter.
struct CGMValue {
    enum class Kind { Integer, Real, String, Point, Colour, Index };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;  ///< Integer and Index
    double x = 0, y = 0;       ///< Real (x only) and Point
    std::int64_t r = 0, g = 0, b = 0;
    std::string text;  ///< String

    CGMValue() = default;
    static CGMValue makeInteger(std::int64_t v) { return CGMValue(Kind::Integer, v, 0, 0, ""); }
    static CGMValue makeIndex(std::int64_t v) { return CGMValue(Kind::Index, v, 0, 0, ""); }
    static CGMValue makeReal(double v) { return CGMValue(Kind::Real, 0, v, 0, ""); }
    static CGMValue makePoint(double px, double py) { return CGMValue(Kind::Point, 0, px, py, ""); }
    static CGMValue makeString(std::string s) {
        return CGMValue(Kind::String, 0, 0, 0, std::move(s));
    }
    static CGMValue makeColour(std::int64_t red, std::int64_t green, std::int64_t blue) {
        CGMValue v(Kind::Colour, 0, 0, 0, "");
        v.r = red, v.g = green, v.b = blue;
        return v;
    }

    /// Equal kinds and values, reals and points within `tolerance`.
    bool near(const CGMValue& o, double tolerance) const {
        if (kind != o.kind) return false;
        switch (kind) {
            case Kind::Integer:
            case Kind::Index:
                return integer == o.integer;
            case Kind::Real:
            case Kind::Point:
                return std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance;
            case Kind::Colour:
                return r == o.r && g == o.g && b == o.b;
            case Kind::String:
                return text == o.text;
        }
        return false;
    }
    bool operator==(const CGMValue& o) const { return near(o, 0.0); }
    bool operator!=(const CGMValue& o) const { return !(*this == o); }

    /// Readable form for failure messages: 12, 1.5r, 'abc', (1,2), rgb(1,2,3), #4.
    std::string str() const {
        std::ostringstream out;
        out.precision(10);
        switch (kind) {
            case Kind::Integer:
                out << integer;
                break;
            case Kind::Index:
                out << '#' << integer;
                break;
            case Kind::Real:
                out << x << 'r';
                break;
            case Kind::Point:
                out << '(' << x << ',' << y << ')';
                break;
            case Kind::Colour:
                out << "rgb(" << r << ',' << g << ',' << b << ')';
                break;
            case Kind::String:
                out << '\'' << text << '\'';
                break;
        }
        return out.str();
    }

  private:
    CGMValue(Kind k, std::int64_t i, double px, double py, std::string s)
        : kind(k), integer(i), x(px), y(py), text(std::move(s)) {}
};

inline std::ostream& operator<<(std::ostream& out, const CGMValue& v) {
    return out << v.str();
}
