#pragma once

// What the two CGM readers share: the elements our backend writes with the kinds of their
// parameters, and the reading of an element from those kinds, each parameter read through
// the primitives of one encoding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/CGMMetafile.h"

/// What an element is: keyword, class, id and the kinds of its parameters.
///
/// `params` is a fixed part, optionally followed by '*' and a group repeated until the
/// parameters end ("K*D": an index then colours). Codes: I integer, X index, E enumeration,
/// R real, F real always in floating point, V VDC, P point, S string, C colour in the colour
/// selection mode, D direct colour, K colour index, L/M a line width or marker size in its
/// mode (absolute or scaled). "#" marks an element with its own layout (precisions, element
/// list, cell array, pattern table).
struct CGMElementKind {
    const char* keyword;
    int elementClass, id;
    const char* params;
};

// clang-format off
inline const CGMElementKind kCGMElementKinds[] = {
    {"BEGMF", 0, 1, "S"}, {"ENDMF", 0, 2, ""}, {"BEGPIC", 0, 3, "S"}, {"BEGPICBODY", 0, 4, ""},
    {"ENDPIC", 0, 5, ""},

    {"MFVERSION", 1, 1, "I"}, {"MFDESC", 1, 2, "S"}, {"VDCTYPE", 1, 3, "E"},
    {"INTEGERPREC", 1, 4, "#"}, {"REALPREC", 1, 5, "#"}, {"INDEXPREC", 1, 6, "#"},
    {"COLRPREC", 1, 7, "#"}, {"COLRINDEXPREC", 1, 8, "#"}, {"MAXCOLRINDEX", 1, 9, "K"},
    {"COLRVALUEEXT", 1, 10, "DD"}, {"MFELEMLIST", 1, 11, "#"}, {"FONTLIST", 1, 13, "*S"},

    {"SCALEMODE", 2, 1, "EF"}, {"COLRMODE", 2, 2, "E"}, {"LINEWIDTHMODE", 2, 3, "E"},
    {"MARKERSIZEMODE", 2, 4, "E"}, {"EDGEWIDTHMODE", 2, 5, "E"}, {"VDCEXT", 2, 6, "PP"},
    {"BACKCOLR", 2, 7, "D"}, {"LINEEDGETYPEDEF", 2, 17, "XL*I"},

    {"VDCREALPREC", 3, 2, "#"}, {"CLIPRECT", 3, 5, "PP"}, {"MITRELIMIT", 3, 19, "R"},
    {"TRANSPCELLCOLR", 3, 20, "EC"},

    {"LINE", 4, 1, "*P"}, {"MARKER", 4, 3, "*P"}, {"TEXT", 4, 4, "PES"}, {"POLYGON", 4, 7, "*P"},
    {"CELLARRAY", 4, 9, "#"},

    {"LINETYPE", 5, 2, "X"}, {"LINEWIDTH", 5, 3, "L"}, {"LINECOLR", 5, 4, "C"},
    {"MARKERTYPE", 5, 6, "X"}, {"MARKERSIZE", 5, 7, "M"}, {"MARKERCOLR", 5, 8, "C"},
    {"TEXTFONTINDEX", 5, 10, "X"}, {"TEXTPREC", 5, 11, "E"}, {"CHAREXPAN", 5, 12, "R"},
    {"CHARSPACE", 5, 13, "R"}, {"TEXTCOLR", 5, 14, "C"}, {"CHARHEIGHT", 5, 15, "V"},
    {"CHARORI", 5, 16, "VVVV"}, {"TEXTPATH", 5, 17, "E"}, {"TEXTALIGN", 5, 18, "EERR"},
    {"INTSTYLE", 5, 22, "E"}, {"FILLCOLR", 5, 23, "C"}, {"PATINDEX", 5, 25, "X"},
    {"EDGEVIS", 5, 30, "E"}, {"PATTABLE", 5, 32, "#"}, {"PATSIZE", 5, 33, "VVVV"},
    {"COLRTABLE", 5, 34, "K*D"}, {"LINECAP", 5, 37, "XX"}, {"LINEJOIN", 5, 38, "X"},
};
// clang-format on

/// Reads elements into a metafile; an encoding supplies the primitives, each reading the
/// element's next parameter and failing (through fail()) when it is missing or malformed.
class CGMElementReader {
  public:
    virtual ~CGMElementReader() = default;

  protected:
    /// `unit` names the positions in messages: "byte" or "character".
    explicit CGMElementReader(const char* unit) : unit_(unit) {}

    virtual bool integer(char code, std::int64_t& out) = 0;  ///< I, X
    /// E; `slot` tells which of the element's enumerations it is.
    virtual bool enumeration(int slot, std::int64_t& out) = 0;
    virtual bool real(char code, double& out) = 0;  ///< R, F, V, L, M
    virtual bool string(std::string& out) = 0;
    virtual bool colour(char code, CGMValue& out) = 0;  ///< C, D, K
    virtual bool parametersLeft() const = 0;
    /// An element of its own layout ("#").
    virtual bool special(const std::string& keyword, std::vector<CGMValue>& out) = 0;

    /// Notes what an element read sets for the elements after it.
    virtual void setModes(const CGMElement& e) {
        if (e.keyword == "BEGMF") direct_ = false;  // indexed until the picture says otherwise
        if (e.keyword == "ENDMF") ended_ = true;
        if (e.keyword == "COLRMODE") direct_ = e.params[0].integer == 1;
    }

    /// Reads the parameters of the element that starts at `at` (`k` null when `name` is no
    /// element we know), keeps it and notes its modes; reports what fails.
    void element(const CGMElementKind* k, const std::string& name, std::size_t at) {
        if (!started_ && !(k && name == "BEGMF")) error(at, "metafile does not begin with BEGMF");
        started_ = true;
        if (!k) return error(at, "unknown element " + name);
        CGMElement e{k->keyword, k->elementClass, k->id, {}};
        keyword_ = e.keyword;
        problem_.clear();
        bool ok = std::string(k->params) == "#" ? special(e.keyword, e.params)
                                                : signature(k->params, e.params);
        if (ok && parametersLeft()) ok = fail("parameters left over");
        if (!ok) return error(at, e.keyword + ": " + problem_);
        setModes(e);
        mf_.elements.push_back(std::move(e));
    }

    /// Parameters by their codes: the fixed part, its enumerations numbered for their words,
    /// then the repeated group until the parameters end.
    bool signature(const std::string& codes, std::vector<CGMValue>& out) {
        const std::size_t star = codes.find('*');
        int slot = 0;
        for (std::size_t i = 0; i < codes.size() && i < star; ++i)
            if (!value(codes[i], codes[i] == 'E' ? slot++ : 0, out)) return false;
        if (star == std::string::npos) return true;
        while (parametersLeft())
            for (std::size_t i = star + 1; i < codes.size(); ++i)
                if (!value(codes[i], 0, out)) return false;
        return true;
    }

    bool value(char code, int slot, std::vector<CGMValue>& out) {
        std::int64_t i = 0;
        double x = 0, y = 0;
        CGMValue v;
        bool ok = false;
        switch (code) {
            case 'I':
            case 'X':
                ok = integer(code, i);
                v = CGMValue::makeInteger(i);
                break;
            case 'E':
                ok = enumeration(slot, i);
                v = CGMValue::makeInteger(i);
                break;
            case 'P':
                ok = real('V', x) && real('V', y);
                v = CGMValue::makePoint(x, y);
                break;
            case 'S':
                v = CGMValue::makeString("");
                ok = string(v.text);
                break;
            case 'C':
            case 'D':
            case 'K':
                ok = colour(code, v);
                break;
            default:
                ok = real(code, x);
                v = CGMValue::makeReal(x);
        }
        if (ok) out.push_back(std::move(v));
        return ok;
    }

    /// At the end of the input.
    void finish(std::size_t end) {
        if (!started_)
            error(0, "no BEGMF");
        else if (!ended_)
            error(end, "missing ENDMF");
    }

    void error(std::size_t at, const std::string& message) {
        mf_.errors.push_back(unit_ + " " + std::to_string(at) + ": " + message);
    }
    bool fail(const std::string& why) {
        if (problem_.empty()) problem_ = why;
        return false;
    }

    std::string unit_;
    std::string keyword_;  // of the element being read
    std::string problem_;  // why it failed
    bool started_ = false, ended_ = false;
    bool direct_ = false;  // colour selection mode
    CGMMetafile mf_;
};
