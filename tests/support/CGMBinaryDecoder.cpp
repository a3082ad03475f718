#include "support/CGMBinaryDecoder.h"

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>

// Rules of the binary encoding followed here:
// - A command header word holds the class (bits 15-12), the id (11-5) and the parameter
//   length in bytes (4-0). Length 31 announces the long form: a second word with the length
//   in bits 14-0 and, in bit 15, a flag saying that another partition follows; each further
//   partition starts with such a word alone.
// - Every header starts on a 16-bit boundary, so a partition of odd length is followed by a
//   padding byte that its length does not count.
// - Integers, indices and VDC integers are signed big-endian two's complement; colour indices
//   and colour components unsigned. Enumerations are always 16-bit.
// - Fixed-point reals are a signed whole part and an unsigned fraction over 2^16 (or 2^32);
//   floating-point reals are IEEE 754 single or double. The metric scale factor of SCALE
//   MODE is always floating point, of the width the real precision sets.
// - Strings: a length byte; 255 means a 16-bit word follows whose bit 15 flags another part.
// - Cell array colours are bit-packed at the local colour precision, each row filling a whole
//   number of 16-bit words; run-length rows are (count, colour) pairs packed the same way.
// BEGIN METAFILE restores every default; BEGIN PICTURE restores the colour selection mode,
// the width and size modes and the VDC precisions, which belong to a picture.

namespace {

// Corrupt input can produce an error per element; a bounded list stays readable.
constexpr std::size_t kMaxErrors = 1000;
// A cell array bigger than this is taken for corrupt input rather than expanded.
constexpr std::int64_t kMaxCells = std::int64_t(1) << 24;

// clang-format off
const CGMElementKind kKinds[] = {
    {"BEGMF", 0, 1, "S"}, {"ENDMF", 0, 2, ""}, {"BEGPIC", 0, 3, "S"}, {"BEGPICBODY", 0, 4, ""},
    {"ENDPIC", 0, 5, ""}, {"BEGSEG", 0, 6, "N"}, {"ENDSEG", 0, 7, ""}, {"BEGFIGURE", 0, 8, ""},
    {"ENDFIGURE", 0, 9, ""}, {"BEGPROTREGION", 0, 13, "X"}, {"ENDPROTREGION", 0, 14, ""},
    {"BEGCOMPOLINE", 0, 15, ""}, {"ENDCOMPOLINE", 0, 16, ""}, {"BEGCOMPTEXTPATH", 0, 17, ""},
    {"ENDCOMPTEXTPATH", 0, 18, ""}, {"BEGTILEARRAY", 0, 19, nullptr},
    {"ENDTILEARRAY", 0, 20, ""}, {"BEGAPS", 0, 21, nullptr}, {"BEGAPSBODY", 0, 22, ""},
    {"ENDAPS", 0, 23, ""},

    {"MFVERSION", 1, 1, "I"}, {"MFDESC", 1, 2, "S"}, {"VDCTYPE", 1, 3, "E"},
    {"INTEGERPREC", 1, 4, "#"}, {"REALPREC", 1, 5, "#"}, {"INDEXPREC", 1, 6, "#"},
    {"COLRPREC", 1, 7, "#"}, {"COLRINDEXPREC", 1, 8, "#"}, {"MAXCOLRINDEX", 1, 9, "K"},
    {"COLRVALUEEXT", 1, 10, "DD"}, {"MFELEMLIST", 1, 11, "#"},
    {"BEGMFDEFAULTS", 1, 12, nullptr}, {"FONTLIST", 1, 13, "*S"}, {"CHARSETLIST", 1, 14, "*ES"},
    {"CHARCODING", 1, 15, "E"}, {"NAMEPREC", 1, 16, "#"}, {"MAXVDCEXT", 1, 17, "PP"},
    {"SEGPRIPREC", 1, 18, nullptr}, {"COLRMODEL", 1, 19, "X"}, {"COLRCALIB", 1, 20, nullptr},
    {"FONTPROP", 1, 21, nullptr}, {"GLYPHMAP", 1, 22, nullptr},
    {"SYMBOLLIBLIST", 1, 23, "*S"}, {"PICTDIRECTORY", 1, 24, nullptr},

    {"SCALEMODE", 2, 1, "EF"}, {"COLRMODE", 2, 2, "E"}, {"LINEWIDTHMODE", 2, 3, "E"},
    {"MARKERSIZEMODE", 2, 4, "E"}, {"EDGEWIDTHMODE", 2, 5, "E"}, {"VDCEXT", 2, 6, "PP"},
    {"BACKCOLR", 2, 7, "D"}, {"DEVVP", 2, 8, nullptr}, {"DEVVPMODE", 2, 9, nullptr},
    {"DEVVPMAP", 2, 10, nullptr}, {"LINEREP", 2, 11, nullptr}, {"MARKERREP", 2, 12, nullptr},
    {"TEXTREP", 2, 13, nullptr}, {"FILLREP", 2, 14, nullptr}, {"EDGEREP", 2, 15, nullptr},
    {"INTSTYLEDEF", 2, 16, nullptr}, {"LINEEDGETYPEDEF", 2, 17, "XL*I"},
    {"HATCHSTYLEDEF", 2, 18, nullptr}, {"GEOPATDEF", 2, 19, nullptr},
    {"APSDIRECTORY", 2, 20, nullptr},

    {"VDCINTEGERPREC", 3, 1, "#"}, {"VDCREALPREC", 3, 2, "#"}, {"AUXCOLR", 3, 3, "C"},
    {"TRANSPARENCY", 3, 4, "E"}, {"CLIPRECT", 3, 5, "PP"}, {"CLIP", 3, 6, "E"},
    {"LINECLIPMODE", 3, 7, "E"}, {"MARKERCLIPMODE", 3, 8, "E"}, {"EDGECLIPMODE", 3, 9, "E"},
    {"NEWREGION", 3, 10, ""}, {"SAVEPRIMCONT", 3, 11, nullptr}, {"RESPRIMCONT", 3, 12, nullptr},
    {"PROTREGION", 3, 17, nullptr}, {"GENTEXTPATHMODE", 3, 18, nullptr},
    {"MITRELIMIT", 3, 19, "R"}, {"TRANSPCELLCOLR", 3, 20, "EC"},

    {"LINE", 4, 1, "*P"}, {"DISJTLINE", 4, 2, "*P"}, {"MARKER", 4, 3, "*P"},
    {"TEXT", 4, 4, "PES"}, {"RESTRTEXT", 4, 5, "VVPES"}, {"APNDTEXT", 4, 6, "ES"},
    {"POLYGON", 4, 7, "*P"}, {"POLYGONSET", 4, 8, "*PE"}, {"CELLARRAY", 4, 9, "#"},
    {"GDP", 4, 10, nullptr}, {"RECT", 4, 11, "PP"}, {"CIRCLE", 4, 12, "PV"},
    {"ARC3PT", 4, 13, "PPP"}, {"ARC3PTCLOSE", 4, 14, "PPPE"}, {"ARCCTR", 4, 15, "PVVVVV"},
    {"ARCCTRCLOSE", 4, 16, "PVVVVVE"}, {"ELLIPSE", 4, 17, "PPP"},
    {"ELLIPARC", 4, 18, "PPPVVVV"}, {"ELLIPARCCLOSE", 4, 19, "PPPVVVVE"},
    {"ARCCTRREV", 4, 20, nullptr}, {"CONNEDGE", 4, 21, ""}, {"HYPERBARC", 4, 22, nullptr},
    {"PARABARC", 4, 23, nullptr}, {"NUB", 4, 24, nullptr}, {"NURB", 4, 25, nullptr},
    {"POLYBEZIER", 4, 26, "X*P"}, {"POLYSYMBOL", 4, 27, nullptr},
    {"BITONALTILE", 4, 28, nullptr}, {"TILE", 4, 29, nullptr},

    {"LINEINDEX", 5, 1, "X"}, {"LINETYPE", 5, 2, "X"}, {"LINEWIDTH", 5, 3, "L"},
    {"LINECOLR", 5, 4, "C"}, {"MARKERINDEX", 5, 5, "X"}, {"MARKERTYPE", 5, 6, "X"},
    {"MARKERSIZE", 5, 7, "M"}, {"MARKERCOLR", 5, 8, "C"}, {"TEXTINDEX", 5, 9, "X"},
    {"TEXTFONTINDEX", 5, 10, "X"}, {"TEXTPREC", 5, 11, "E"}, {"CHAREXPAN", 5, 12, "R"},
    {"CHARSPACE", 5, 13, "R"}, {"TEXTCOLR", 5, 14, "C"}, {"CHARHEIGHT", 5, 15, "V"},
    {"CHARORI", 5, 16, "VVVV"}, {"TEXTPATH", 5, 17, "E"}, {"TEXTALIGN", 5, 18, "EERR"},
    {"CHARSETINDEX", 5, 19, "X"}, {"ALTCHARSETINDEX", 5, 20, "X"}, {"FILLINDEX", 5, 21, "X"},
    {"INTSTYLE", 5, 22, "E"}, {"FILLCOLR", 5, 23, "C"}, {"HATCHINDEX", 5, 24, "X"},
    {"PATINDEX", 5, 25, "X"}, {"EDGEINDEX", 5, 26, "X"}, {"EDGETYPE", 5, 27, "X"},
    {"EDGEWIDTH", 5, 28, "G"}, {"EDGECOLR", 5, 29, "C"}, {"EDGEVIS", 5, 30, "E"},
    {"FILLREFPT", 5, 31, "P"}, {"PATTABLE", 5, 32, "#"}, {"PATSIZE", 5, 33, "VVVV"},
    {"COLRTABLE", 5, 34, "K*D"}, {"ASF", 5, 35, nullptr}, {"PICKID", 5, 36, nullptr},
    {"LINECAP", 5, 37, "XX"}, {"LINEJOIN", 5, 38, "X"}, {"LINETYPECONT", 5, 39, "X"},
    {"LINETYPEINITOFFSET", 5, 40, "R"}, {"TEXTSCORETYPE", 5, 41, nullptr},
    {"RESTRTEXTTYPE", 5, 42, "X"}, {"INTERPINT", 5, 43, nullptr}, {"EDGECAP", 5, 44, "XX"},
    {"EDGEJOIN", 5, 45, "X"}, {"EDGETYPECONT", 5, 46, "X"},
    {"EDGETYPEINITOFFSET", 5, 47, "R"}, {"SYMBOLLIBINDEX", 5, 48, "X"},
    {"SYMBOLCOLR", 5, 49, "C"}, {"SYMBOLSIZE", 5, 50, nullptr}, {"SYMBOLORI", 5, 51, "VVVV"},

    {"ESCAPE", 6, 1, nullptr}, {"MESSAGE", 7, 1, "ES"}, {"APPLDATA", 7, 2, nullptr},
    {"COPYSEG", 8, 1, nullptr}, {"INHFILTER", 8, 2, nullptr}, {"CLIPINH", 8, 3, nullptr},
    {"SEGTRAN", 8, 4, nullptr}, {"SEGHIGHL", 8, 5, nullptr}, {"SEGDISPPRI", 8, 6, nullptr},
    {"SEGPICKPRI", 8, 7, nullptr}, {"APSATTR", 9, 1, nullptr},
};
// clang-format on

bool oneOf(std::int64_t v, std::initializer_list<std::int64_t> allowed) {
    for (std::int64_t a : allowed)
        if (v == a) return true;
    return false;
}

std::string element(int elementClass, int id) {
    return "class " + std::to_string(elementClass) + " id " + std::to_string(id);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entry points and the element table

CGMMetafile CGMBinaryDecoder::decode(const std::string& bytes) {
    CGMBinaryDecoder decoder(bytes);
    decoder.run();
    return std::move(decoder.mf_);
}

CGMMetafile CGMBinaryDecoder::decodeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        CGMMetafile mf;
        mf.errors.push_back("cannot read " + path);
        return mf;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return decode(bytes);
}

const CGMElementKind* CGMBinaryDecoder::kind(int elementClass, int id) {
    for (const CGMElementKind& k : kKinds)
        if (k.elementClass == elementClass && k.id == id) return &k;
    return nullptr;
}

const CGMElementKind* CGMBinaryDecoder::kind(const std::string& keyword) {
    for (const CGMElementKind& k : kKinds)
        if (keyword == k.keyword) return &k;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Element framing: headers, partitions, padding

void CGMBinaryDecoder::run() {
    if (in_.empty()) error(0, "empty metafile");
    while (pos_ < in_.size() && !ended_)
        if (!readElement()) break;
    if (!ended_) {
        if (started_) error(in_.size(), "missing ENDMF");
        return;
    }
    for (std::size_t i = pos_; i < in_.size(); ++i)
        if (in_[i] != 0) return error(i, "data after ENDMF");
}

bool CGMBinaryDecoder::readElement() {
    start_ = pos_;
    if (pos_ + 2 > in_.size()) {
        error(pos_, "truncated command header");
        return false;
    }
    const unsigned word =
        static_cast<unsigned char>(in_[pos_]) * 256u + static_cast<unsigned char>(in_[pos_ + 1]);
    pos_ += 2;
    class_ = static_cast<int>(word >> 12);
    id_ = static_cast<int>((word >> 5) & 0x7F);
    const std::size_t length = word & 0x1F;
    if (!gatherParameters(length, length == 31)) return false;
    if (class_ == 0 && id_ == 0) return true;  // no-op: fills space, means nothing
    const CGMElementKind* k = kind(class_, id_);
    if (!started_ && !(k && std::string(k->keyword) == "BEGMF"))
        error(start_, "metafile does not begin with BEGMF");
    started_ = true;
    if (!k) {
        error(start_, "unknown element " + element(class_, id_) + " (" +
                          std::to_string(params_.size()) + " parameter bytes skipped)");
        return true;
    }
    decodeElement(*k);
    return true;
}

bool CGMBinaryDecoder::gatherParameters(std::size_t length, bool longForm) {
    params_.clear();
    for (bool more = true; more;) {
        more = false;
        if (longForm) {
            if (pos_ + 2 > in_.size()) {
                error(start_, element(class_, id_) + ": truncated partition length");
                return false;
            }
            const unsigned word = static_cast<unsigned char>(in_[pos_]) * 256u +
                                  static_cast<unsigned char>(in_[pos_ + 1]);
            pos_ += 2;
            more = (word & 0x8000) != 0;
            length = word & 0x7FFF;
        }
        if (length > in_.size() - pos_) {
            error(start_, element(class_, id_) + ": " + std::to_string(length) +
                              " parameter bytes announced, " + std::to_string(in_.size() - pos_) +
                              " left");
            return false;
        }
        params_.append(in_, pos_, length);
        pos_ += length;
        if (length % 2 == 1) {
            if (pos_ >= in_.size()) {
                error(pos_, element(class_, id_) + ": missing padding byte at the end");
                return false;
            }
            ++pos_;
        }
    }
    return true;
}

void CGMBinaryDecoder::decodeElement(const CGMElementKind& k) {
    CGMElement e;
    e.keyword = k.keyword;
    e.elementClass = k.elementClass;
    e.id = k.id;
    e.position = start_;
    bit_ = 0;
    problem_.clear();
    bool ok = true;
    if (!k.params) {
        e.params.push_back(CGMValue::makeData(params_));
        bit_ = params_.size() * 8;
    } else if (std::string(k.params) == "#") {
        ok = special(e.keyword, e.params);
    } else {
        ok = signature(k.params, e.params);
    }
    if (ok && bitsLeft() > 0)
        ok = fail(std::to_string((bitsLeft() + 7) / 8) + " parameter bytes left over");
    if (!ok) return error(start_, e.keyword + ": " + problem_);
    afterElement(e);
    mf_.elements.push_back(std::move(e));
}

void CGMBinaryDecoder::afterElement(const CGMElement& e) {
    const std::int64_t first = e.params.empty() ? 0 : e.params[0].integer;
    if (e.keyword == "BEGMF") {
        state_ = State();
    } else if (e.keyword == "ENDMF") {
        ended_ = true;
    } else if (e.keyword == "BEGPIC") {
        resetPicture();
    } else if (e.keyword == "VDCTYPE") {
        if (!oneOf(first, {0, 1})) return error(start_, "VDCTYPE: unknown type");
        state_.vdcReal = first == 1;
    } else if (e.keyword == "COLRMODE") {
        if (!oneOf(first, {0, 1})) return error(start_, "COLRMODE: unknown mode");
        state_.direct = first == 1;
    } else if (e.keyword == "LINEWIDTHMODE" || e.keyword == "MARKERSIZEMODE" ||
               e.keyword == "EDGEWIDTHMODE") {
        if (!oneOf(first, {0, 1, 2, 3})) return error(start_, e.keyword + ": unknown mode");
        int& mode = e.keyword == "LINEWIDTHMODE"    ? state_.lineWidthMode
                    : e.keyword == "MARKERSIZEMODE" ? state_.markerSizeMode
                                                    : state_.edgeWidthMode;
        mode = static_cast<int>(first);
    }
}

void CGMBinaryDecoder::resetPicture() {
    const State defaults;
    state_.direct = defaults.direct;
    state_.lineWidthMode = defaults.lineWidthMode;
    state_.markerSizeMode = defaults.markerSizeMode;
    state_.edgeWidthMode = defaults.edgeWidthMode;
    state_.vdcIntegerBits = defaults.vdcIntegerBits;
    state_.vdcRealFormat = defaults.vdcRealFormat;
}

void CGMBinaryDecoder::error(std::size_t at, const std::string& message) {
    if (mf_.errors.size() < kMaxErrors)
        mf_.errors.push_back("byte " + std::to_string(at) + ": " + message);
    else if (mf_.errors.size() == kMaxErrors)
        mf_.errors.push_back("too many errors; the rest are not reported");
}

bool CGMBinaryDecoder::fail(const std::string& why) {
    if (problem_.empty()) problem_ = why;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Parameter encodings

bool CGMBinaryDecoder::unsignedBits(int bits, std::uint64_t& out) {
    if (bits <= 0 || static_cast<std::size_t>(bits) > bitsLeft())
        return fail("parameters end early");
    out = 0;
    for (int i = 0; i < bits; ++i, ++bit_) {
        const unsigned byte = static_cast<unsigned char>(params_[bit_ / 8]);
        out = (out << 1) | ((byte >> (7 - bit_ % 8)) & 1u);
    }
    return true;
}

bool CGMBinaryDecoder::signedBits(int bits, std::int64_t& out) {
    std::uint64_t u = 0;
    if (!unsignedBits(bits, u)) return false;
    const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
    out = (u & sign) ? static_cast<std::int64_t>(u - sign) - static_cast<std::int64_t>(sign)
                     : static_cast<std::int64_t>(u);
    return true;
}

bool CGMBinaryDecoder::real(const RealFormat& format, double& out) {
    if (format.fixed) {
        const int half = format.bits / 2;
        std::int64_t whole = 0;
        std::uint64_t fraction = 0;
        if (!signedBits(half, whole) || !unsignedBits(half, fraction)) return false;
        out = static_cast<double>(whole) +
              static_cast<double>(fraction) / static_cast<double>(std::uint64_t(1) << half);
        return true;
    }
    std::uint64_t u = 0;
    if (!unsignedBits(format.bits, u)) return false;
    if (format.bits == 32) {
        const std::uint32_t narrow = static_cast<std::uint32_t>(u);
        float f = 0;
        std::memcpy(&f, &narrow, sizeof f);
        out = f;
    } else {
        std::memcpy(&out, &u, sizeof out);
    }
    return true;
}

bool CGMBinaryDecoder::vdc(double& out) {
    if (state_.vdcReal) return real(state_.vdcRealFormat, out);
    std::int64_t v = 0;
    if (!signedBits(state_.vdcIntegerBits, v)) return false;
    out = static_cast<double>(v);
    return true;
}

bool CGMBinaryDecoder::string(std::string& out) {
    std::uint64_t length = 0;
    if (!unsignedBits(8, length)) return false;
    bool more = false;
    if (length == 255) more = true;
    do {
        if (more) {
            std::uint64_t word = 0;
            if (!unsignedBits(16, word)) return false;
            more = (word & 0x8000) != 0;
            length = word & 0x7FFF;
        }
        if (length * 8 > bitsLeft()) return fail("string runs past the parameters");
        out.append(params_, bit_ / 8, length);
        bit_ += length * 8;
    } while (more);
    return true;
}

bool CGMBinaryDecoder::colour(bool direct, int bits, CGMValue& out) {
    std::uint64_t r = 0, g = 0, b = 0;
    if (!direct) {
        if (!unsignedBits(bits, r)) return false;
        out = CGMValue::makeIndex(static_cast<std::int64_t>(r));
        return true;
    }
    if (!unsignedBits(bits, r) || !unsignedBits(bits, g) || !unsignedBits(bits, b)) return false;
    out = CGMValue::makeColour(static_cast<std::int64_t>(r), static_cast<std::int64_t>(g),
                               static_cast<std::int64_t>(b));
    return true;
}

bool CGMBinaryDecoder::integer(int bits, CGMValue& out) {
    std::int64_t i = 0;
    if (!signedBits(bits, i)) return false;
    out = CGMValue::makeInteger(i);
    return true;
}

bool CGMBinaryDecoder::realValue(bool asVdc, const RealFormat& format, CGMValue& out) {
    double x = 0;
    if (!(asVdc ? vdc(x) : real(format, x))) return false;
    out = CGMValue::makeReal(x);
    return true;
}

bool CGMBinaryDecoder::value(char code, std::vector<CGMValue>& out) {
    CGMValue v;
    if (!valueOf(code, v)) return false;
    out.push_back(std::move(v));
    return true;
}

bool CGMBinaryDecoder::valueOf(char code, CGMValue& v) {
    const State& s = state_;
    switch (code) {
        case 'I':
            return integer(s.integerBits, v);
        case 'X':
            return integer(s.indexBits, v);
        case 'N':
            return integer(s.nameBits, v);
        case 'E':
            return integer(16, v);
        case 'R':
            return realValue(false, s.real, v);
        case 'F':
            return realValue(false, {false, s.real.bits}, v);
        case 'V':
            return realValue(true, s.real, v);
        case 'P': {
            double x = 0, y = 0;
            if (!vdc(x) || !vdc(y)) return false;
            v = CGMValue::makePoint(x, y);
            return true;
        }
        case 'S':
            v = CGMValue::makeString("");
            return string(v.text);
        case 'C':
            return colour(s.direct, s.direct ? s.colourBits : s.colourIndexBits, v);
        case 'D':
            return colour(true, s.colourBits, v);
        case 'K':
            return colour(false, s.colourIndexBits, v);
        // widths and sizes: VDC when absolute, reals when scaled, fractional or millimetres
        case 'L':
            return realValue(s.lineWidthMode == 0, s.real, v);
        case 'M':
            return realValue(s.markerSizeMode == 0, s.real, v);
        case 'G':
            return realValue(s.edgeWidthMode == 0, s.real, v);
        default:
            return fail(std::string("no reader for parameter code ") + code);
    }
}

bool CGMBinaryDecoder::signature(const char* params, std::vector<CGMValue>& out) {
    const std::string codes(params);
    const std::size_t star = codes.find('*');
    const std::string fixed = codes.substr(0, star);
    for (char c : fixed)
        if (!value(c, out)) return false;
    if (star == std::string::npos) return true;
    const std::string group = codes.substr(star + 1);
    while (bitsLeft() > 0)
        for (char c : group)
            if (!value(c, out)) return false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Elements with their own readers

bool CGMBinaryDecoder::special(const std::string& keyword, std::vector<CGMValue>& out) {
    if (keyword == "REALPREC" || keyword == "VDCREALPREC") return realPrecision(out);
    if (keyword == "MFELEMLIST") return elementList(out);
    if (keyword == "CELLARRAY") return cellArray(out);
    if (keyword == "PATTABLE") return patternTable(out);
    return precision(keyword, out);
}

bool CGMBinaryDecoder::precision(const std::string& keyword, std::vector<CGMValue>& out) {
    std::int64_t bits = 0;
    if (!signedBits(state_.integerBits, bits)) return false;
    out.push_back(CGMValue::makeInteger(bits));
    const bool vdcInteger = keyword == "VDCINTEGERPREC";
    if (!(vdcInteger ? oneOf(bits, {16, 24, 32}) : oneOf(bits, {8, 16, 24, 32})))
        return fail(std::to_string(bits) + "-bit precision is not allowed");
    const int b = static_cast<int>(bits);
    if (keyword == "INTEGERPREC") state_.integerBits = b;
    if (keyword == "INDEXPREC") state_.indexBits = b;
    if (keyword == "NAMEPREC") state_.nameBits = b;
    if (keyword == "COLRPREC") state_.colourBits = b;
    if (keyword == "COLRINDEXPREC") state_.colourIndexBits = b;
    if (vdcInteger) state_.vdcIntegerBits = b;
    return true;
}

bool CGMBinaryDecoder::realPrecision(std::vector<CGMValue>& out) {
    std::int64_t form = 0, first = 0, second = 0;
    if (!signedBits(16, form) || !signedBits(state_.integerBits, first) ||
        !signedBits(state_.integerBits, second))
        return false;
    for (std::int64_t v : {form, first, second}) out.push_back(CGMValue::makeInteger(v));
    RealFormat format;
    if (form == 0 && first == 9 && second == 23) {
        format = {false, 32};
    } else if (form == 0 && first == 12 && second == 52) {
        format = {false, 64};
    } else if (form == 1 && (first == 16 || first == 32) && second == first) {
        format = {true, static_cast<int>(2 * first)};
    } else {
        return fail("unsupported real precision " + std::to_string(form) + "," +
                    std::to_string(first) + "," + std::to_string(second));
    }
    (class_ == 1 ? state_.real : state_.vdcRealFormat) = format;
    return true;
}

bool CGMBinaryDecoder::elementList(std::vector<CGMValue>& out) {
    std::int64_t count = 0;
    if (!signedBits(state_.integerBits, count)) return false;
    const std::uint64_t pairBits = 2 * static_cast<std::uint64_t>(state_.indexBits);
    if (count < 0 || static_cast<std::uint64_t>(count) * pairBits != bitsLeft())
        return fail("element count " + std::to_string(count) + " does not match its length");
    for (std::int64_t i = 0; i < 2 * count; ++i)
        if (!value('X', out)) return false;
    return true;
}

bool CGMBinaryDecoder::localPrecision(std::int64_t given, bool direct, int& bits) {
    if (given == 0) {
        bits = direct ? state_.colourBits : state_.colourIndexBits;
        return true;
    }
    if (!oneOf(given, {1, 2, 4, 8, 16, 24, 32}))
        return fail("local colour precision " + std::to_string(given) + " is not allowed");
    bits = static_cast<int>(given);
    return true;
}

bool CGMBinaryDecoder::cells(std::int64_t count, int bits, bool direct,
                             std::vector<CGMValue>& out) {
    for (std::int64_t i = 0; i < count; ++i) {
        CGMValue c;
        if (!colour(direct, bits, c)) return false;
        out.push_back(c);
    }
    return true;
}

bool CGMBinaryDecoder::runLengthRow(std::int64_t columns, int bits, bool direct,
                                    std::vector<CGMValue>& out) {
    for (std::int64_t filled = 0; filled < columns;) {
        std::int64_t run = 0;
        CGMValue c;
        if (!signedBits(state_.integerBits, run) || !colour(direct, bits, c)) return false;
        if (run <= 0 || run > columns - filled)
            return fail("run of " + std::to_string(run) + " cells does not fit the row");
        out.insert(out.end(), static_cast<std::size_t>(run), c);
        filled += run;
    }
    return true;
}

bool CGMBinaryDecoder::alignRow(std::size_t rowStart) {
    const std::size_t used = bit_ - rowStart;
    const std::size_t padded = rowStart + (used + 15) / 16 * 16;
    if (padded > params_.size() * 8) return fail("row padding missing");
    bit_ = padded;
    return true;
}

bool CGMBinaryDecoder::cellArray(std::vector<CGMValue>& out) {
    std::int64_t columns = 0, rows = 0, given = 0, mode = 0;
    for (int i = 0; i < 3; ++i)
        if (!value('P', out)) return false;
    if (!signedBits(state_.integerBits, columns) || !signedBits(state_.integerBits, rows) ||
        !signedBits(state_.integerBits, given) || !signedBits(16, mode))
        return false;
    for (std::int64_t v : {columns, rows, given}) out.push_back(CGMValue::makeInteger(v));
    int bits = 0;
    if (!localPrecision(given, state_.direct, bits)) return false;
    if (columns < 0 || rows < 0 || (columns > 0 && rows > kMaxCells / columns))
        return fail("implausible size " + std::to_string(columns) + "x" + std::to_string(rows));
    if (mode != 0 && mode != 1)
        return fail("unknown cell representation mode " + std::to_string(mode));
    for (std::int64_t row = 0; row < rows; ++row) {
        const std::size_t rowStart = bit_;
        const bool ok = mode == 1 ? cells(columns, bits, state_.direct, out)
                                  : runLengthRow(columns, bits, state_.direct, out);
        if (!ok || !alignRow(rowStart)) return false;
    }
    return true;
}

// The colours of a pattern table are packed like a cell array's; whether each row is padded
// to 16 bits is read from the element's length, since padded and unpadded lists differ in
// length whenever the padding matters.
bool CGMBinaryDecoder::patternTable(std::vector<CGMValue>& out) {
    std::int64_t columns = 0, rows = 0, given = 0;
    if (!value('X', out) || !signedBits(state_.integerBits, columns) ||
        !signedBits(state_.integerBits, rows) || !signedBits(state_.integerBits, given))
        return false;
    for (std::int64_t v : {columns, rows, given}) out.push_back(CGMValue::makeInteger(v));
    int bits = 0;
    if (!localPrecision(given, state_.direct, bits)) return false;
    if (columns < 0 || rows < 0 || (columns > 0 && rows > kMaxCells / columns))
        return fail("implausible size " + std::to_string(columns) + "x" + std::to_string(rows));
    const std::uint64_t rowBits = static_cast<std::uint64_t>(columns) *
                                  static_cast<std::uint64_t>(bits) * (state_.direct ? 3 : 1);
    const std::uint64_t height = static_cast<std::uint64_t>(rows), left = bitsLeft();
    const std::uint64_t paddedRows = height * ((rowBits + 15) / 16 * 16);
    const bool padded = left == paddedRows && left != (height * rowBits + 7) / 8 * 8;
    for (std::int64_t row = 0; row < rows; ++row) {
        const std::size_t rowStart = bit_;
        if (!cells(columns, bits, state_.direct, out)) return false;
        if (padded && !alignRow(rowStart)) return false;
    }
    bit_ = (bit_ + 7) / 8 * 8;  // the list ends on a byte boundary
    if (bit_ > params_.size() * 8) return fail("parameters end early");
    return true;
}
