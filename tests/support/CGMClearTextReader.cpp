#include "support/CGMClearTextReader.h"

#include <locale>
#include <map>
#include <sstream>
#include <utility>

#include "support/CGMBinaryDecoder.h"

// The element table (keywords, classes, ids, parameter kinds) is the binary decoder's, so
// both readers agree on what an element holds; what differs here is the spelling:
// - numbers: integers "-3"; reals "12.", "1.5", "1e-05", with a trailing '.' tolerated
//   after an exponent ("1e-05."); a real parameter accepts an integer.
// - points are two numbers; colours one index or three components, as the colour selection
//   mode says; enumerations are words, each element with its own vocabulary.
// - precisions are the ranges of values (INTEGERPREC -32767 32767), recorded as written.

namespace {

using Words = std::map<std::string, int>;

const Words kOnOff = {{"OFF", 0}, {"ON", 1}};
const Words kWidthMode = {{"ABS", 0}, {"SCALED", 1}};

/// The words of an element's enumerations, by their order among its enumerations.
const std::vector<Words>* vocabulary(const std::string& keyword) {
    static const std::map<std::string, std::vector<Words>> table = {
        {"VDCTYPE", {{{"INTEGER", 0}, {"REAL", 1}}}},
        {"SCALEMODE", {{{"ABSTRACT", 0}, {"METRIC", 1}}}},
        {"COLRMODE", {{{"INDEXED", 0}, {"DIRECT", 1}}}},
        {"LINEWIDTHMODE", {kWidthMode}},
        {"MARKERSIZEMODE", {kWidthMode}},
        {"EDGEWIDTHMODE", {kWidthMode}},
        {"TRANSPCELLCOLR", {kOnOff}},
        {"EDGEVIS", {kOnOff}},
        {"TEXT", {{{"NOTFINAL", 0}, {"FINAL", 1}}}},
        {"TEXTPREC", {{{"STRING", 0}, {"CHAR", 1}, {"STROKE", 2}}}},
        {"TEXTPATH", {{{"RIGHT", 0}, {"LEFT", 1}, {"UP", 2}, {"DOWN", 3}}}},
        {"TEXTALIGN",
         {{{"NORMHORIZ", 0}, {"LEFT", 1}, {"CTR", 2}, {"RIGHT", 3}},
          {{"NORMVERT", 0}, {"TOP", 1}, {"CAP", 2}, {"HALF", 3}, {"BASE", 4}, {"BOTTOM", 5}}}},
        {"INTSTYLE", {{{"HOLLOW", 0}, {"SOLID", 1}, {"PAT", 2}, {"HATCH", 3}, {"EMPTY", 4}}}},
    };
    const auto it = table.find(keyword);
    return it == table.end() ? nullptr : &it->second;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

/// Parses a whole numeric token. `isInteger` tells whether it was written as an integer.
bool parseNumber(std::string text, double& value, bool& isInteger) {
    const bool exponent = text.find_first_of("eE") != std::string::npos;
    if (exponent && text.back() == '.') text.pop_back();  // "1e-05." as some writers end reals
    isInteger = text.find_first_of(".eE") == std::string::npos;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entry point and statements

CGMMetafile CGMClearTextReader::read(const std::string& text) {
    CGMClearTextReader reader(text);
    reader.run();
    return std::move(reader.mf_);
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
        statement(t);
    }
    if (!started_)
        error(0, "no BEGMF");
    else if (!ended_ && !stop_)
        error(in_.size(), "missing ENDMF");
}

void CGMClearTextReader::statement(const Token& keyword) {
    params_.clear();
    Token t;
    bool terminated = false;
    while (!terminated && token(t)) {
        terminated = t.kind == Token::Kind::End;
        if (!terminated) params_.push_back(t);
    }
    if (stop_) return;
    if (!terminated) {
        error(keyword.at, keyword.text + ": missing ';' at the end of the input");
        stop_ = true;
        return;
    }
    const CGMElementKind* k = CGMBinaryDecoder::kind(keyword.text);
    if (!started_ && keyword.text != "BEGMF")
        error(keyword.at, "metafile does not begin with BEGMF");
    started_ = true;
    if (!k) return error(keyword.at, "unknown element " + keyword.text);
    CGMElement e;
    e.keyword = k->keyword;
    e.elementClass = k->elementClass;
    e.id = k->id;
    keyword_ = e.keyword;
    next_ = 0;
    problem_.clear();
    bool ok = std::string(k->params) == "#" ? special(e.keyword, e.params)
                                            : signature(k->params, e.params);
    if (ok && next_ < params_.size())
        ok = fail("unexpected parameter '" + params_[next_].text + "'");
    if (!ok) return error(keyword.at, e.keyword + ": " + problem_);
    afterElement(e);
    mf_.elements.push_back(std::move(e));
}

void CGMClearTextReader::afterElement(const CGMElement& e) {
    if (e.keyword == "BEGMF") {
        direct_ = false;  // indexed until the picture says otherwise
    } else if (e.keyword == "ENDMF") {
        ended_ = true;
    } else if (e.keyword == "COLRMODE") {
        direct_ = e.params[0].integer == 1;
    }
}

void CGMClearTextReader::error(std::size_t at, const std::string& message) {
    mf_.errors.push_back("character " + std::to_string(at) + ": " + message);
}

bool CGMClearTextReader::fail(const std::string& why) {
    if (problem_.empty()) problem_ = why;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Lexical level

bool CGMClearTextReader::token(Token& out) {
    while (pos_ < in_.size()) {
        const char c = in_[pos_];
        if (isSeparator(c)) {
            ++pos_;
            continue;
        }
        out = Token();
        out.at = pos_;
        if (c == ';') {
            out.kind = Token::Kind::End;
            out.text = ";";
            ++pos_;
            return true;
        }
        if (c == '\'') return quoted(out);
        if (isLetter(c)) {
            out.kind = Token::Kind::Word;
            for (; pos_ < in_.size() && (isLetter(in_[pos_]) || isDigit(in_[pos_])); ++pos_)
                out.text += in_[pos_];
            return true;
        }
        if (isDigit(c) || c == '+' || c == '-' || c == '.') {
            out.kind = Token::Kind::Number;
            for (out.text += in_[pos_++]; pos_ < in_.size(); out.text += in_[pos_++]) {
                const char d = in_[pos_];
                const char last = out.text.back();
                const bool exponentSign = (d == '+' || d == '-') && (last == 'e' || last == 'E');
                if (!isDigit(d) && d != '.' && d != 'e' && d != 'E' && !exponentSign) break;
            }
            return true;
        }
        error(pos_, std::string("unexpected character '") + c + "'");
        ++pos_;
    }
    return false;
}

bool CGMClearTextReader::quoted(Token& out) {
    out.kind = Token::Kind::String;
    for (++pos_; pos_ < in_.size();) {
        const char c = in_[pos_++];
        if (c != '\'') {
            out.text += c;
        } else if (pos_ < in_.size() && in_[pos_] == '\'') {
            out.text += c;  // a doubled apostrophe stands for itself
            ++pos_;
        } else {
            return true;
        }
    }
    error(out.at, "unterminated string");
    stop_ = true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Parameters

bool CGMClearTextReader::number(double& out, bool& isInteger) {
    if (next_ >= params_.size()) return fail("parameters end early");
    const Token& t = params_[next_];
    if (t.kind != Token::Kind::Number || !parseNumber(t.text, out, isInteger))
        return fail("expected a number, found '" + t.text + "'");
    ++next_;
    return true;
}

bool CGMClearTextReader::integer(std::int64_t& out) {
    double v = 0;
    bool isInteger = false;
    if (!number(v, isInteger)) return false;
    if (!isInteger) return fail("expected an integer, found '" + params_[next_ - 1].text + "'");
    out = static_cast<std::int64_t>(v);
    return true;
}

bool CGMClearTextReader::real(double& out) {
    bool isInteger = false;
    return number(out, isInteger);
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
        case 'D':
        case 'K':
            ok = colour(code == 'D' || (code == 'C' && direct_), v);
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
    while (next_ < params_.size())
        for (std::size_t i = star + 1; i < codes.size(); ++i)
            if (!value(codes[i], 0, out)) return false;
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

// Names of element sets, each standing as the pair (-1, its number).
bool CGMClearTextReader::elementList(std::vector<CGMValue>& out) {
    static const std::vector<std::string> sets = {"DRAWINGSET", "DRAWINGPLUS",  "VERSION2",
                                                  "EXTDPRIM",   "VERSION2GKSM", "VERSION3",
                                                  "VERSION4"};
    std::vector<CGMValue> name;
    if (!value('S', 0, name)) return false;
    std::istringstream names(name[0].text);
    for (std::string set; names >> set;) {
        std::size_t id = 0;
        while (id < sets.size() && sets[id] != set) ++id;
        if (id == sets.size()) return fail("unknown element set " + set);
        out.push_back(CGMValue::makeInteger(-1));
        out.push_back(CGMValue::makeInteger(static_cast<std::int64_t>(id)));
    }
    return true;
}

bool CGMClearTextReader::colourArray(bool cellArray, std::vector<CGMValue>& out) {
    if (!signature(cellArray ? "PPPIII" : "XIII", out)) return false;
    const std::int64_t columns = out[out.size() - 3].integer, rows = out[out.size() - 2].integer;
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
