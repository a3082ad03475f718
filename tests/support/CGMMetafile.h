#pragma once

// A Computer Graphics Metafile as read back by CGMBinaryDecoder or CGMClearTextReader: the
// elements in order, each with its parameters in one representation shared by both
// encodings (see CGMValue.h for how each kind is represented).
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

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "support/CGMValue.h"

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
