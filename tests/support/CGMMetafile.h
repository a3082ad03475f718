#pragma once

// A Computer Graphics Metafile as read back by CGMBinaryDecoder or CGMClearTextReader: the
// elements in order, each with its parameters in one representation shared by both
// encodings, so that the same drawing written in either encoding reads back to equal values:
//
//   integers, indices and enumerations    Integer (enumerations by their numeric value)
//   reals, VDC values, widths and sizes   Real (a VDC integer becomes a Real too)
//   strings                               String
//   points                                Point
//   direct colours                        Colour (r, g, b as written, not normalised)
//   colour indices                        Index
//
// The precision elements differ between the encodings by design: binary gives bits (and the
// real form), clear text gives the ranges as written. So does the local colour precision of
// CELLARRAY and PATTABLE: bits in binary, the largest value as written in clear text.
//
// Element layouts worth knowing: CELLARRAY is P, Q, R, columns, rows, local precision, then
// the cells row by row; PATTABLE is index, columns, rows, local precision, then the cells;
// COLRTABLE is the first index then colours; MFELEMLIST is (class, id) integer pairs, sets
// as class -1; LINEEDGETYPEDEF is type, cycle length (Real), then the dash integers; TEXT is
// point, final flag, string; TEXTALIGN is two enumerations and two reals.

#include <cmath>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

/// One decoded parameter.
struct CGMValue {
    enum class Kind { Integer, Real, String, Point, Colour, Index };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;  ///< Integer and Index
    double x = 0, y = 0;       ///< Real (x only) and Point
    std::int64_t r = 0, g = 0, b = 0;
    std::string text;  ///< String

    static CGMValue makeInteger(std::int64_t v) { return make(Kind::Integer, v); }
    static CGMValue makeIndex(std::int64_t v) { return make(Kind::Index, v); }
    static CGMValue makeReal(double v) { return make(Kind::Real, 0, v); }
    static CGMValue makePoint(double px, double py) { return make(Kind::Point, 0, px, py); }
    static CGMValue makeString(std::string s) {
        CGMValue v = make(Kind::String);
        v.text = std::move(s);
        return v;
    }
    static CGMValue makeColour(std::int64_t red, std::int64_t green, std::int64_t blue) {
        CGMValue v = make(Kind::Colour);
        v.r = red, v.g = green, v.b = blue;
        return v;
    }

    /// Equal kinds and values, reals and points within `tolerance`. A kind leaves the fields it
    /// does not use at their defaults, so comparing those too does no harm.
    bool near(const CGMValue& o, double tolerance) const {
        return kind == o.kind && std::fabs(x - o.x) <= tolerance &&
               std::fabs(y - o.y) <= tolerance && integer == o.integer && r == o.r && g == o.g &&
               b == o.b && text == o.text;
    }
    bool operator==(const CGMValue& o) const { return near(o, 0.0); }

    /// Readable form for failure messages: 12, 1.5r, 'abc', (1,2), rgb(1,2,3), #4.
    std::string str() const {
        std::ostringstream out;
        out.precision(10);
        if (kind == Kind::Integer) out << integer;
        if (kind == Kind::Index) out << '#' << integer;
        if (kind == Kind::Real) out << x << 'r';
        if (kind == Kind::Point) out << '(' << x << ',' << y << ')';
        if (kind == Kind::Colour) out << "rgb(" << r << ',' << g << ',' << b << ')';
        if (kind == Kind::String) out << '\'' << text << '\'';
        return out.str();
    }

  private:
    static CGMValue make(Kind k, std::int64_t i = 0, double px = 0, double py = 0) {
        CGMValue v;
        v.kind = k, v.integer = i, v.x = px, v.y = py;
        return v;
    }
};

inline std::ostream& operator<<(std::ostream& out, const CGMValue& v) {
    return out << v.str();
}

/// One element: its clear-text keyword, binary class and id, and its parameters.
struct CGMElement {
    std::string keyword;  ///< upper case, e.g. "LINECOLR"
    int elementClass = 0, id = 0;
    std::vector<CGMValue> params;

    /// "LINECOLR(5,4) #3" style, for failure messages.
    std::string str() const {
        std::string out =
            keyword + "(" + std::to_string(elementClass) + "," + std::to_string(id) + ")";
        for (const CGMValue& v : params) out += " " + v.str();
        return out;
    }
};

inline std::ostream& operator<<(std::ostream& out, const CGMElement& e) {
    return out << e.str();
}

/// A decoded metafile: the elements in order and every problem found.
struct CGMMetafile {
    std::vector<CGMElement> elements;
    std::vector<std::string> errors;  ///< one readable message per problem; none if clean

    bool clean() const { return errors.empty(); }
    /// The elements with this keyword, in order.
    std::vector<CGMElement> all(const std::string& keyword) const {
        std::vector<CGMElement> out;
        for (const CGMElement& e : elements)
            if (e.keyword == keyword) out.push_back(e);
        return out;
    }
    /// All error messages, one a line.
    std::string errorText() const {
        std::string out;
        for (const std::string& e : errors) out += e + "\n";
        return out;
    }
};
