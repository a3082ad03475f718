#pragma once

// A Computer Graphics Metafile as read back by CGMBinaryDecoder or CGMClearTextReader: the
// elements in order, each with its parameters in one representation shared by both
// encodings, so that the same drawing written both ways decodes to equal element lists.
//
// Parameters are CGMValues (see CGMValue.h for how each kind is represented).
// The precision elements are the exception: binary gives bits (and the real form), clear
// text gives the ranges as written; `encodingDependent()` names them. The local colour
// precision of CELLARRAY and PATTABLE is given in bits by both readers (0: the default).
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
