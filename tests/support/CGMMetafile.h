#pragma once

// A Computer Graphics Metafile as read back by CGMBinaryDecoder or CGMClearTextReader: the
// elements in order, each with its parameters in one representation shared by both
// encodings, so that the same drawing written both ways decodes to equal element lists.
//
// Representation of the parameter kinds:
//   integers, indices and enumerations    Integer (enumerations by their numeric value)
//   reals, VDC values, widths and sizes   Real (a VDC integer becomes a Real too)
//   strings                               String
//   points                                Point
//   direct colours                        Colour (r, g, b as written, not normalised)
//   colour indices                        Index
//   elements kept undecoded               Data (the raw parameter bytes, or clear text)
// The precision elements are the exception: binary gives bits (and the real form), clear
// text gives the ranges as written; `encodingDependent()` names them. The local colour
// precision of CELLARRAY and PATTABLE is given in bits by both readers (0: the default).
//
// Element layouts worth knowing: CELLARRAY is P, Q, R, columns, rows, local precision, then
// the cells row by row; PATTABLE is index, columns, rows, local precision, then the cells;
// COLRTABLE is the first index then colours; MFELEMLIST is (class, id) integer pairs, sets
// as class -1; LINEEDGETYPEDEF is type, cycle length (Real), then the dash integers; TEXT is
// point, final flag, string; TEXTALIGN is two enumerations and two reals.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

/// One decoded parameter.
struct CGMValue {
    enum class Kind { Integer, Real, String, Point, Colour, Index, Data };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;  ///< Integer and Index
    double x = 0, y = 0;       ///< Real (x only) and Point
    std::int64_t r = 0, g = 0, b = 0;
    std::string text;  ///< String and Data

    CGMValue() = default;
    static CGMValue makeInteger(std::int64_t v) { return CGMValue(Kind::Integer, v, 0, 0, ""); }
    static CGMValue makeIndex(std::int64_t v) { return CGMValue(Kind::Index, v, 0, 0, ""); }
    static CGMValue makeReal(double v) { return CGMValue(Kind::Real, 0, v, 0, ""); }
    static CGMValue makePoint(double px, double py) { return CGMValue(Kind::Point, 0, px, py, ""); }
    static CGMValue makeString(std::string s) {
        return CGMValue(Kind::String, 0, 0, 0, std::move(s));
    }
    static CGMValue makeData(std::string s) { return CGMValue(Kind::Data, 0, 0, 0, std::move(s)); }
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
            case Kind::Data:
                return text == o.text;
        }
        return false;
    }
    bool operator==(const CGMValue& o) const { return near(o, 0.0); }
    bool operator!=(const CGMValue& o) const { return !(*this == o); }

    /// Readable form for failure messages: 12, 1.5r, 'abc', (1,2), rgb(1,2,3), #4, data[3].
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
            case Kind::Data:
                out << "data[" << text.size() << ']';
                break;
        }
        return out.str();
    }

  private:
    CGMValue(Kind k, std::int64_t i, double px, double py, std::string s)
        : kind(k), integer(i), x(px), y(py), text(std::move(s)) {}
};

/// One element: its clear-text keyword, binary class and id, and its parameters.
struct CGMElement {
    std::string keyword;  ///< upper case, e.g. "LINECOLR"
    int elementClass = 0, id = 0;
    std::vector<CGMValue> params;
    std::size_t position = 0;  ///< byte offset where it began in the input (not compared)

    bool near(const CGMElement& o, double tolerance) const {
        if (keyword != o.keyword || elementClass != o.elementClass || id != o.id ||
            params.size() != o.params.size())
            return false;
        for (std::size_t i = 0; i < params.size(); ++i)
            if (!params[i].near(o.params[i], tolerance)) return false;
        return true;
    }
    bool operator==(const CGMElement& o) const { return near(o, 0.0); }
    bool operator!=(const CGMElement& o) const { return !(*this == o); }

    /// Whether its parameters differ between the encodings by design (precisions).
    bool encodingDependent() const {
        static const char* const kinds[] = {"INTEGERPREC", "REALPREC",       "INDEXPREC",
                                            "COLRPREC",    "COLRINDEXPREC",  "NAMEPREC",
                                            "VDCREALPREC", "VDCINTEGERPREC", "SEGPRIPREC"};
        for (const char* k : kinds)
            if (keyword == k) return true;
        return false;
    }

    /// "LINECOLR(5,4) #3" style, for failure messages.
    std::string str() const {
        std::string out =
            keyword + "(" + std::to_string(elementClass) + "," + std::to_string(id) + ")";
        for (const CGMValue& v : params) out += " " + v.str();
        return out;
    }
};

inline std::ostream& operator<<(std::ostream& out, const CGMValue& v) {
    return out << v.str();
}
inline std::ostream& operator<<(std::ostream& out, const CGMElement& e) {
    return out << e.str();
}

/// A decoded metafile: the elements in order and every problem found.
struct CGMMetafile {
    std::vector<CGMElement> elements;
    std::vector<std::string> errors;  ///< one readable message per problem; none if clean

    bool clean() const { return errors.empty(); }
    /// Whether some error message contains the fragment.
    bool hasError(const std::string& fragment) const {
        for (const std::string& e : errors)
            if (e.find(fragment) != std::string::npos) return true;
        return false;
    }
    /// The elements with this keyword, in order.
    std::vector<CGMElement> all(const std::string& keyword) const {
        std::vector<CGMElement> out;
        for (const CGMElement& e : elements)
            if (e.keyword == keyword) out.push_back(e);
        return out;
    }
    /// The elements without the encoding-dependent ones, for comparing two encodings.
    std::vector<CGMElement> comparable() const {
        std::vector<CGMElement> out;
        for (const CGMElement& e : elements)
            if (!e.encodingDependent()) out.push_back(e);
        return out;
    }
    /// The first difference between the comparable elements of two metafiles ("" if none).
    std::string firstDifference(const CGMMetafile& other, double tolerance) const {
        const std::vector<CGMElement> a = comparable(), b = other.comparable();
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (!a[i].near(b[i], tolerance))
                return "element " + std::to_string(i) + ": " + a[i].str() + " vs " + b[i].str();
        if (a.size() != b.size())
            return std::to_string(a.size()) + " elements vs " + std::to_string(b.size());
        return "";
    }
    /// All error messages, one a line.
    std::string errorText() const {
        std::string out;
        for (const std::string& e : errors) out += e + "\n";
        return out;
    }
};
