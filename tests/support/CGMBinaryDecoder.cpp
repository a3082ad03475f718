#include "support/CGMBinaryDecoder.h"

#include <cstring>
#include <initializer_list>

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
// - Cell colours are bit-packed at the local colour precision, each row filling a whole
//   number of 16-bit words.

namespace {

// A cell array bigger than this is taken for corrupt input rather than expanded.
constexpr std::int64_t kMaxCells = std::int64_t(1) << 24;

// clang-format off
const CGMElementKind kKinds[] = {
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
    if (!ended_ && started_) error(in_.size(), "missing ENDMF");
    if (ended_ && pos_ < in_.size()) error(pos_, "data after ENDMF");
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
    const CGMElementKind* k = kind(class_, id_);
    if (!started_ && !(k && std::string(k->keyword) == "BEGMF"))
        error(start_, "metafile does not begin with BEGMF");
    started_ = true;
    if (!k) {
        error(start_, "unknown element " + element(class_, id_));
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
    bit_ = 0;
    problem_.clear();
    bool ok =
        std::string(k.params) == "#" ? special(e.keyword, e.params) : signature(k.params, e.params);
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
    } else if (e.keyword == "VDCTYPE" || e.keyword == "COLRMODE" || e.keyword == "LINEWIDTHMODE" ||
               e.keyword == "MARKERSIZEMODE") {
        if (!oneOf(first, {0, 1})) return error(start_, e.keyword + ": unknown mode");
        if (e.keyword == "VDCTYPE") state_.vdcReal = first == 1;
        if (e.keyword == "COLRMODE") state_.direct = first == 1;
        if (e.keyword == "LINEWIDTHMODE") state_.lineWidthMode = static_cast<int>(first);
        if (e.keyword == "MARKERSIZEMODE") state_.markerSizeMode = static_cast<int>(first);
    }
}

void CGMBinaryDecoder::error(std::size_t at, const std::string& message) {
    mf_.errors.push_back("byte " + std::to_string(at) + ": " + message);
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
    if (!signedBits(16, v)) return false;
    out = static_cast<double>(v);
    return true;
}

bool CGMBinaryDecoder::string(std::string& out) {
    std::uint64_t length = 0;
    if (!unsignedBits(8, length)) return false;
    if (length == 255) {
        std::uint64_t word = 0;
        if (!unsignedBits(16, word)) return false;
        if (word & 0x8000) return fail("string continued in another part");
        length = word;
    }
    if (length * 8 > bitsLeft()) return fail("string runs past the parameters");
    out.assign(params_, bit_ / 8, length);
    bit_ += length * 8;
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

bool CGMBinaryDecoder::realValue(bool asVdc, const RealFormat& format, CGMValue& out) {
    double x = 0;
    if (!(asVdc ? vdc(x) : real(format, x))) return false;
    out = CGMValue::makeReal(x);
    return true;
}

bool CGMBinaryDecoder::value(char code, std::vector<CGMValue>& out) {
    const State& s = state_;
    CGMValue v;
    std::int64_t i = 0;
    double x = 0, y = 0;
    bool ok = false;
    switch (code) {
        case 'I':
        case 'X':
        case 'E':
            ok = signedBits(code == 'I' ? s.integerBits : code == 'X' ? s.indexBits : 16, i);
            v = CGMValue::makeInteger(i);
            break;
        case 'R':
            ok = realValue(false, s.real, v);
            break;
        case 'F':
            ok = realValue(false, {false, s.real.bits}, v);
            break;
        case 'V':
            ok = realValue(true, s.real, v);
            break;
        case 'P':
            ok = vdc(x) && vdc(y);
            v = CGMValue::makePoint(x, y);
            break;
        case 'S':
            v = CGMValue::makeString("");
            ok = string(v.text);
            break;
        case 'C':
            ok = colour(s.direct, s.direct ? s.colourBits : s.colourIndexBits, v);
            break;
        case 'D':
            ok = colour(true, s.colourBits, v);
            break;
        case 'K':
            ok = colour(false, s.colourIndexBits, v);
            break;
        // widths and sizes: VDC when absolute, reals when scaled
        case 'L':
            ok = realValue(s.lineWidthMode == 0, s.real, v);
            break;
        case 'M':
            ok = realValue(s.markerSizeMode == 0, s.real, v);
            break;
        default:
            return fail(std::string("no reader for parameter code ") + code);
    }
    if (ok) out.push_back(std::move(v));
    return ok;
}

bool CGMBinaryDecoder::signature(const char* params, std::vector<CGMValue>& out) {
    const std::string codes(params);
    const std::size_t star = codes.find('*');
    for (char c : codes.substr(0, star))
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
    if (!oneOf(bits, {8, 16, 24, 32}))
        return fail(std::to_string(bits) + "-bit precision is not allowed");
    const int b = static_cast<int>(bits);
    if (keyword == "INTEGERPREC") state_.integerBits = b;
    if (keyword == "INDEXPREC") state_.indexBits = b;
    if (keyword == "COLRPREC") state_.colourBits = b;
    if (keyword == "COLRINDEXPREC") state_.colourIndexBits = b;
    return true;
}

// Our writers choose IEEE single or double precision; fixed point is only the default.
bool CGMBinaryDecoder::realPrecision(std::vector<CGMValue>& out) {
    std::int64_t form = 0, exponent = 0, fraction = 0;
    if (!signedBits(16, form) || !signedBits(state_.integerBits, exponent) ||
        !signedBits(state_.integerBits, fraction))
        return false;
    for (std::int64_t v : {form, exponent, fraction}) out.push_back(CGMValue::makeInteger(v));
    RealFormat format{false, 32};
    if (form == 0 && exponent == 12 && fraction == 52)
        format.bits = 64;
    else if (!(form == 0 && exponent == 9 && fraction == 23))
        return fail("unsupported real precision " + std::to_string(form) + "," +
                    std::to_string(exponent) + "," + std::to_string(fraction));
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

// Cells row by row at the local colour precision (0: the metafile's), every row padded to a
// whole number of 16-bit words.
bool CGMBinaryDecoder::colourList(std::int64_t columns, std::int64_t rows, std::int64_t given,
                                  std::vector<CGMValue>& out) {
    const bool direct = state_.direct;
    const int bits = given != 0 ? static_cast<int>(given)
                     : direct   ? state_.colourBits
                                : state_.colourIndexBits;
    if (!oneOf(bits, {1, 2, 4, 8, 16, 24, 32}))
        return fail("local colour precision " + std::to_string(given) + " is not allowed");
    if (columns < 0 || rows < 0 || (columns > 0 && rows > kMaxCells / columns))
        return fail("implausible size " + std::to_string(columns) + "x" + std::to_string(rows));
    for (std::int64_t row = 0; row < rows; ++row) {
        const std::size_t rowStart = bit_;
        for (std::int64_t i = 0; i < columns; ++i) {
            CGMValue c;
            if (!colour(direct, bits, c)) return false;
            out.push_back(c);
        }
        const std::size_t padded = rowStart + (bit_ - rowStart + 15) / 16 * 16;
        if (padded > params_.size() * 8) return fail("row padding missing");
        bit_ = padded;
    }
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
    if (mode != 1) return fail("cell representation mode " + std::to_string(mode) + ", not packed");
    return colourList(columns, rows, given, out);
}

bool CGMBinaryDecoder::patternTable(std::vector<CGMValue>& out) {
    std::int64_t columns = 0, rows = 0, given = 0;
    if (!value('X', out) || !signedBits(state_.integerBits, columns) ||
        !signedBits(state_.integerBits, rows) || !signedBits(state_.integerBits, given))
        return false;
    for (std::int64_t v : {columns, rows, given}) out.push_back(CGMValue::makeInteger(v));
    return colourList(columns, rows, given, out);
}
