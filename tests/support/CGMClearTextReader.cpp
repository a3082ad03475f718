#include "support/CGMClearTextReader.h"

#include <fstream>
#include <iterator>
#include <locale>
#include <map>
#include <sstream>
#include <utility>

#include "support/CGMBinaryDecoder.h"

// The element table (keywords, classes, ids, parameter kinds) is the binary decoder's, so
// both readers agree on what an element holds; what differs here is the spelling:
// - numbers: integers "-3" or based "16#FF"; reals "12.", "1.5", ".5", "1e-05", with a
//   trailing '.' tolerated after an exponent ("1e-05."); a real parameter accepts an integer.
// - points are two numbers, optionally in parentheses; commas and parentheses separate.
// - colours are one index or three components, as the colour selection mode says.
// - enumerations are words, each element with its own vocabulary.
// - precisions are the ranges of values (INTEGERPREC -32767 32767), recorded as written,
//   except a cell array's or pattern table's local colour precision, which becomes the bits
//   it needs (255 -> 8) so that it compares equal with the binary encoding's.

namespace {

constexpr std::size_t kMaxErrors = 1000;
// Integers beyond this cannot be exact in a double and are taken for corrupt input.
constexpr std::int64_t kMaxInteger = std::int64_t(1) << 53;

using Words = std::map<std::string, int>;

const Words kOnOff = {{"OFF", 0}, {"ON", 1}};
const Words kWidthMode = {{"ABSTRACT", 0}, {"ABS", 0}, {"SCALED", 1}, {"FRACTIONAL", 2}, {"MM", 3}};
const Words kClipMode = {{"LOCUS", 0}, {"SHAPE", 1}, {"LOCUSTHENSHAPE", 2}};
const Words kFinal = {{"NOTFINAL", 0}, {"FINAL", 1}};
const Words kClose = {{"PIE", 0}, {"CHORD", 1}};

/// The words of an element's enumerations, by their order among its enumerations.
const std::vector<Words>* vocabulary(const std::string& keyword) {
    static const std::map<std::string, std::vector<Words>> table = {
        {"VDCTYPE", {{{"INTEGER", 0}, {"REAL", 1}}}},
        {"CHARSETLIST",
         {{{"STD94", 0},
           {"STD96", 1},
           {"STD94MULTIBYTE", 2},
           {"STD96MULTIBYTE", 3},
           {"COMPLETECODE", 4}}}},
        {"CHARCODING", {{{"BASIC7BIT", 0}, {"BASIC8BIT", 1}, {"EXTD7BIT", 2}, {"EXTD8BIT", 3}}}},
        {"SCALEMODE", {{{"ABSTRACT", 0}, {"METRIC", 1}}}},
        {"COLRMODE", {{{"INDEXED", 0}, {"DIRECT", 1}}}},
        {"LINEWIDTHMODE", {kWidthMode}},
        {"MARKERSIZEMODE", {kWidthMode}},
        {"EDGEWIDTHMODE", {kWidthMode}},
        {"TRANSPARENCY", {kOnOff}},
        {"CLIP", {kOnOff}},
        {"LINECLIPMODE", {kClipMode}},
        {"MARKERCLIPMODE", {kClipMode}},
        {"EDGECLIPMODE", {kClipMode}},
        {"TRANSPCELLCOLR", {kOnOff}},
        {"TEXT", {kFinal}},
        {"RESTRTEXT", {kFinal}},
        {"APNDTEXT", {kFinal}},
        {"POLYGONSET", {{{"INVIS", 0}, {"VIS", 1}, {"CLOSEINVIS", 2}, {"CLOSEVIS", 3}}}},
        {"ARC3PTCLOSE", {kClose}},
        {"ARCCTRCLOSE", {kClose}},
        {"ELLIPARCCLOSE", {kClose}},
        {"TEXTPREC", {{{"STRING", 0}, {"CHAR", 1}, {"STROKE", 2}}}},
        {"TEXTPATH", {{{"RIGHT", 0}, {"LEFT", 1}, {"UP", 2}, {"DOWN", 3}}}},
        {"TEXTALIGN",
         {{{"NORMHORIZ", 0}, {"LEFT", 1}, {"CTR", 2}, {"RIGHT", 3}, {"CONTHORIZ", 4}},
          {{"NORMVERT", 0},
           {"TOP", 1},
           {"CAP", 2},
           {"HALF", 3},
           {"BASE", 4},
           {"BOTTOM", 5},
           {"CONTVERT", 6}}}},
        {"INTSTYLE",
         {{{"HOLLOW", 0},
           {"SOLID", 1},
           {"PAT", 2},
           {"HATCH", 3},
           {"EMPTY", 4},
           {"GEOPAT", 5},
           {"INTERP", 6}}}},
        {"EDGEVIS", {kOnOff}},
        {"MESSAGE", {{{"NOACTION", 0}, {"ACTION", 1}}}},
    };
    const auto it = table.find(keyword);
    return it == table.end() ? nullptr : &it->second;
}

/// The id of a pseudo-element standing for a whole set in an element list (class -1), or -1.
int elementSet(const std::string& name) {
    static const char* const sets[] = {"DRAWINGSET",   "DRAWINGPLUS", "VERSION2", "EXTDPRIM",
                                       "VERSION2GKSM", "VERSION3",    "VERSION4"};
    for (int i = 0; i < 7; ++i)
        if (name == sets[i]) return i;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == ',' ||
           c == '(' || c == ')';
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (isLetter(c)) return upper(c) - 'A' + 10;
    return 99;
}

/// A based integer "radix#digits", e.g. 16#FF or 2#101.
bool parseBased(const std::string& digits, std::int64_t radix, bool negative, std::int64_t& out) {
    if (radix < 2 || radix > 16 || digits.empty()) return false;
    std::int64_t v = 0;
    for (char c : digits) {
        const int d = digitValue(c);
        if (d >= radix || v > kMaxInteger / radix) return false;
        v = v * radix + d;
    }
    out = negative ? -v : v;
    return true;
}

/// Parses a whole numeric token. `isInteger` tells whether it was written as an integer.
bool parseNumber(const std::string& text, double& value, bool& isInteger) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
    std::int64_t whole = 0;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        if (whole <= kMaxInteger) whole = whole * 10 + (text[i] - '0');
    if (digits > 0 && i < text.size() && text[i] == '#') {
        std::int64_t v = 0;
        if (!parseBased(text.substr(i + 1), whole, negative, v)) return false;
        value = static_cast<double>(v);
        isInteger = true;
        return true;
    }
    std::string plain = text.substr(0, i);
    isInteger = true;
    if (i < text.size() && text[i] == '.') {
        isInteger = false;
        for (plain += text[i++]; i < text.size() && isDigit(text[i]); ++i, ++digits)
            plain += text[i];
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        isInteger = false;
        plain += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++exponentDigits) plain += text[i];
        if (exponentDigits == 0) return false;
        if (i < text.size() && text[i] == '.') ++i;  // "1e-05." as some writers end reals
    }
    if (i != text.size() || (isInteger && whole > kMaxInteger)) return false;
    std::istringstream in(plain);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail();
}

/// The bits a local colour precision given as the largest value needs (0 stays 0), or -1.
int bitsForMaximum(std::int64_t maximum) {
    if (maximum == 0) return 0;
    for (int b : {1, 2, 4, 8, 16, 24, 32})
        if (maximum > 0 && maximum <= (std::int64_t(1) << b) - 1) return b;
    return -1;
}

std::string lineOf(const std::string& text, std::size_t at) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i)
        if (text[i] == '\n') ++line;
    return "line " + std::to_string(line);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entry points and statements

CGMMetafile CGMClearTextReader::read(const std::string& text) {
    CGMClearTextReader reader(text);
    reader.run();
    return std::move(reader.mf_);
}

CGMMetafile CGMClearTextReader::readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        CGMMetafile mf;
        mf.errors.push_back("cannot read " + path);
        return mf;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return read(text);
}

void CGMClearTextReader::run() {
    Token t;
    while (!stop_ && token(t)) {
        if (t.kind == Token::Kind::End) continue;  // an empty statement
        if (ended_) {
            error(t.at, "text after ENDMF");
            break;
        }
        if (t.kind != Token::Kind::Word) {
            error(t.at, "expected an element keyword, found '" + t.text + "'");
            while (!stop_ && t.kind != Token::Kind::End && token(t)) {
            }
            continue;
        }
        if (!statement(t)) break;
    }
    if (!started_)
        error(0, "no BEGMF");
    else if (!ended_ && !stop_)
        error(in_.size(), "missing ENDMF");
}

bool CGMClearTextReader::statement(const Token& keyword) {
    params_.clear();
    Token t;
    bool terminated = false;
    while (token(t)) {
        if (t.kind == Token::Kind::End) {
            terminated = true;
            break;
        }
        params_.push_back(t);
    }
    if (stop_) return false;
    if (!terminated) error(keyword.at, keyword.text + ": missing ';' at the end of the input");
    interpret(keyword, keyword.end, terminated ? t.at : in_.size());
    return true;
}

void CGMClearTextReader::interpret(const Token& keyword, std::size_t rawBegin, std::size_t rawEnd) {
    const CGMElementKind* k = CGMBinaryDecoder::kind(keyword.text);
    if (!started_ && keyword.text != "BEGMF")
        error(keyword.at, "metafile does not begin with BEGMF");
    started_ = true;
    if (!k) return error(keyword.at, "unknown element " + keyword.text);
    CGMElement e;
    e.keyword = k->keyword;
    e.elementClass = k->elementClass;
    e.id = k->id;
    e.position = keyword.at;
    keyword_ = e.keyword;
    next_ = 0;
    problem_.clear();
    bool ok = true;
    if (!k->params) {
        const std::size_t b = in_.find_first_not_of(" \t\r\n", rawBegin);
        const std::size_t e2 = in_.find_last_not_of(" \t\r\n", rawEnd - 1);
        e.params.push_back(CGMValue::makeData(
            b < rawEnd && e2 != std::string::npos && e2 >= b ? in_.substr(b, e2 + 1 - b) : ""));
        next_ = params_.size();
    } else if (std::string(k->params) == "#") {
        ok = special(e.keyword, e.params);
    } else {
        ok = signature(k->params, e.params);
    }
    if (ok && next_ < params_.size())
        ok = fail("unexpected parameter '" + params_[next_].text + "'");
    if (!ok) return error(keyword.at, e.keyword + ": " + problem_);
    afterElement(e);
    mf_.elements.push_back(std::move(e));
}

void CGMClearTextReader::afterElement(const CGMElement& e) {
    if (e.keyword == "BEGMF" || e.keyword == "BEGPIC") {
        direct_ = false;  // the colour selection mode belongs to a picture; indexed by default
    } else if (e.keyword == "ENDMF") {
        ended_ = true;
    } else if (e.keyword == "COLRMODE") {
        direct_ = e.params[0].integer == 1;
    }
}

void CGMClearTextReader::error(std::size_t at, const std::string& message) {
    if (mf_.errors.size() < kMaxErrors)
        mf_.errors.push_back(lineOf(in_, at) + ": " + message);
    else if (mf_.errors.size() == kMaxErrors)
        mf_.errors.push_back("too many errors; the rest are not reported");
}

bool CGMClearTextReader::fail(const std::string& why) {
    if (problem_.empty()) problem_ = why;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Lexical level

bool CGMClearTextReader::skipSeparators() {
    while (pos_ < in_.size()) {
        if (isSeparator(in_[pos_])) {
            ++pos_;
        } else if (in_[pos_] == '%') {
            const std::size_t close = in_.find('%', pos_ + 1);
            if (close == std::string::npos) {
                error(pos_, "unterminated comment");
                stop_ = true;
                return false;
            }
            pos_ = close + 1;
        } else {
            return true;
        }
    }
    return false;
}

bool CGMClearTextReader::token(Token& out) {
    while (skipSeparators()) {
        out = Token();
        out.at = pos_;
        const char c = in_[pos_];
        if (c == ';' || c == '/') {
            out.kind = Token::Kind::End;
            out.text = std::string(1, c);
            out.end = ++pos_;
            return true;
        }
        if (c == '\'' || c == '"') return quoted(out);
        if (isLetter(c) || isDigit(c) || c == '+' || c == '-' || c == '.') {
            if (isLetter(c))
                word(out);
            else
                number(out);
            return true;
        }
        error(pos_, std::string("unexpected character '") + c + "'");
        ++pos_;
    }
    return false;
}

bool CGMClearTextReader::quoted(Token& out) {
    const char quote = in_[pos_++];
    out.kind = Token::Kind::String;
    while (pos_ < in_.size()) {
        const char c = in_[pos_++];
        if (c != quote) {
            out.text += c;
        } else if (pos_ < in_.size() && in_[pos_] == quote) {
            out.text += quote;  // a doubled quote stands for itself
            ++pos_;
        } else {
            out.end = pos_;
            return true;
        }
    }
    error(out.at, "unterminated string");
    stop_ = true;
    return false;
}

void CGMClearTextReader::word(Token& out) {
    out.kind = Token::Kind::Word;
    for (; pos_ < in_.size(); ++pos_) {
        const char c = in_[pos_];
        if (c == '_' || c == '$') continue;  // spacing characters inside names mean nothing
        if (!isLetter(c) && !isDigit(c)) break;
        out.text += upper(c);
    }
    out.end = pos_;
}

void CGMClearTextReader::number(Token& out) {
    out.kind = Token::Kind::Number;
    out.text += in_[pos_++];
    for (; pos_ < in_.size(); ++pos_) {
        const char c = in_[pos_];
        const char last = upper(out.text.back());
        const bool exponentSign =
            (c == '+' || c == '-') && last == 'E' && out.text.find('#') == std::string::npos;
        if (!isLetter(c) && !isDigit(c) && c != '.' && c != '#' && !exponentSign) break;
        out.text += c;
    }
    out.end = pos_;
}

// ---------------------------------------------------------------------------------------------
// Parameters

bool CGMClearTextReader::integer(std::int64_t& out) {
    if (next_ >= params_.size()) return fail("parameters end early");
    const Token& t = params_[next_];
    double v = 0;
    bool isInteger = false;
    if (t.kind != Token::Kind::Number || !parseNumber(t.text, v, isInteger) || !isInteger)
        return fail("expected an integer, found '" + t.text + "'");
    out = static_cast<std::int64_t>(v);
    ++next_;
    return true;
}

bool CGMClearTextReader::real(double& out) {
    if (next_ >= params_.size()) return fail("parameters end early");
    const Token& t = params_[next_];
    bool isInteger = false;
    if (t.kind != Token::Kind::Number || !parseNumber(t.text, out, isInteger))
        return fail("expected a number, found '" + t.text + "'");
    ++next_;
    return true;
}

bool CGMClearTextReader::enumeration(int slot, std::int64_t& out) {
    if (next_ >= params_.size()) return fail("parameters end early");
    const Token& t = params_[next_];
    const std::vector<Words>* words = vocabulary(keyword_);
    if (!words || slot >= static_cast<int>(words->size()))
        return fail("no enumeration words known");
    const Words& w = (*words)[static_cast<std::size_t>(slot)];
    const auto it = t.kind == Token::Kind::Word ? w.find(t.text) : w.end();
    if (it == w.end()) return fail("unknown enumeration value '" + t.text + "'");
    out = it->second;
    ++next_;
    return true;
}

bool CGMClearTextReader::colour(bool direct, CGMValue& out) {
    std::int64_t r = 0, g = 0, b = 0;
    if (!direct) {
        if (!integer(r)) return false;
        out = CGMValue::makeIndex(r);
        return true;
    }
    if (!integer(r) || !integer(g) || !integer(b)) return false;
    out = CGMValue::makeColour(r, g, b);
    return true;
}

bool CGMClearTextReader::value(char code, int slot, std::vector<CGMValue>& out) {
    std::int64_t i = 0;
    double x = 0, y = 0;
    CGMValue v;
    bool ok = false;
    switch (code) {
        case 'I':
        case 'X':
        case 'N':
            ok = integer(i);
            v = CGMValue::makeInteger(i);
            break;
        case 'E':
            ok = enumeration(slot, i);
            v = CGMValue::makeInteger(i);
            break;
        case 'P':
            ok = real(x) && real(y);
            v = CGMValue::makePoint(x, y);
            break;
        case 'S':
            if (next_ >= params_.size()) return fail("parameters end early");
            if (params_[next_].kind != Token::Kind::String)
                return fail("expected a string, found '" + params_[next_].text + "'");
            v = CGMValue::makeString(params_[next_++].text);
            ok = true;
            break;
        case 'C':
            ok = colour(direct_, v);
            break;
        case 'D':
            ok = colour(true, v);
            break;
        case 'K':
            ok = colour(false, v);
            break;
        default:  // reals, VDC values, widths and sizes are all plain numbers here
            ok = real(x);
            v = CGMValue::makeReal(x);
    }
    if (ok) out.push_back(v);
    return ok;
}

bool CGMClearTextReader::signature(const char* params, std::vector<CGMValue>& out) {
    const std::string codes(params);
    const std::size_t star = codes.find('*');
    int slot = 0;
    for (std::size_t i = 0; i < codes.size() && i < star; ++i)
        if (!value(codes[i], codes[i] == 'E' ? slot++ : 0, out)) return false;
    if (star == std::string::npos) return true;
    const int groupSlot = slot;
    while (next_ < params_.size()) {
        slot = groupSlot;
        for (std::size_t i = star + 1; i < codes.size(); ++i)
            if (!value(codes[i], codes[i] == 'E' ? slot++ : 0, out)) return false;
    }
    return true;
}

bool CGMClearTextReader::special(const std::string& keyword, std::vector<CGMValue>& out) {
    if (keyword == "MFELEMLIST") return elementList(out);
    if (keyword == "CELLARRAY") return colourArray(true, out);
    if (keyword == "PATTABLE") return colourArray(false, out);
    // precisions, as ranges: smallest and largest value (reals with their digits), or the
    // largest value alone for the colour precisions
    const char* codes = keyword == "COLRPREC" || keyword == "COLRINDEXPREC" ? "I"
                        : keyword == "REALPREC" || keyword == "VDCREALPREC" ? "RRI"
                                                                            : "II";
    return signature(codes, out);
}

bool CGMClearTextReader::elementList(std::vector<CGMValue>& out) {
    if (next_ >= params_.size()) return fail("parameters end early");
    for (; next_ < params_.size(); ++next_) {
        if (params_[next_].kind != Token::Kind::String)
            return fail("expected a string, found '" + params_[next_].text + "'");
        std::istringstream names(params_[next_].text);
        for (std::string name; names >> name;) {
            std::string key;
            for (char c : name)
                if (c != '_' && c != '$') key += upper(c);
            const CGMElementKind* k = CGMBinaryDecoder::kind(key);
            const int setId = k ? 0 : elementSet(key);
            if (setId < 0) return fail("unknown element name " + name);
            out.push_back(CGMValue::makeInteger(k ? k->elementClass : -1));
            out.push_back(CGMValue::makeInteger(k ? k->id : setId));
        }
    }
    return true;
}

bool CGMClearTextReader::localPrecision(std::vector<CGMValue>& out) {
    std::int64_t maximum = 0;
    if (!integer(maximum)) return false;
    const int bits = bitsForMaximum(maximum);
    if (bits < 0)
        return fail("local colour precision " + std::to_string(maximum) + " is not allowed");
    out.push_back(CGMValue::makeInteger(bits));
    return true;
}

bool CGMClearTextReader::colourArray(bool cellArray, std::vector<CGMValue>& out) {
    std::int64_t columns = 0, rows = 0;
    if (cellArray) {
        if (!signature("PPPII", out)) return false;
        columns = out[3].integer;
        rows = out[4].integer;
    } else {
        if (!signature("XII", out)) return false;
        columns = out[1].integer;
        rows = out[2].integer;
    }
    if (!localPrecision(out)) return false;
    const std::size_t before = out.size();
    while (next_ < params_.size()) {
        CGMValue c;
        if (!colour(direct_, c)) return false;
        out.push_back(c);
    }
    const std::size_t given = out.size() - before;
    if (columns < 0 || rows < 0 || static_cast<double>(given) != double(columns) * double(rows))
        return fail(std::to_string(given) + " colours for " + std::to_string(columns) + "x" +
                    std::to_string(rows) + " cells");
    return true;
}
