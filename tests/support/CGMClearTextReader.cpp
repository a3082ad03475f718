#include "support/CGMClearTextReader.h"

#include <algorithm>
#include <locale>
#include <map>
#include <sstream>

#include "support/CGMElementReader.h"

// The elements and their parameters are the binary encoding's, so both readers agree on what
// an element holds; what differs here is the spelling:
// - numbers: integers "-3"; reals "12.", "1.5", "1e-05", with a trailing '.' tolerated
//   after an exponent ("1e-05."); a real parameter accepts an integer.
// - points are two numbers; colours one index or three components, as the colour selection
//   mode says; enumerations are words, each element with its own vocabulary.
// - precisions are the ranges of values (INTEGERPREC -32767 32767), recorded as written.

namespace {

/// The words of each element's enumerations, in their order among its parameters; a word
/// stands for its place in the list.
const std::map<std::string, std::vector<std::string>> kWords = {
    {"VDCTYPE", {"INTEGER REAL"}},
    {"SCALEMODE", {"ABSTRACT METRIC"}},
    {"COLRMODE", {"INDEXED DIRECT"}},
    {"LINEWIDTHMODE", {"ABS SCALED"}},
    {"MARKERSIZEMODE", {"ABS SCALED"}},
    {"EDGEWIDTHMODE", {"ABS SCALED"}},
    {"TRANSPCELLCOLR", {"OFF ON"}},
    {"EDGEVIS", {"OFF ON"}},
    {"TEXT", {"NOTFINAL FINAL"}},
    {"TEXTPREC", {"STRING CHAR STROKE"}},
    {"TEXTPATH", {"RIGHT LEFT UP DOWN"}},
    {"TEXTALIGN", {"NORMHORIZ LEFT CTR RIGHT", "NORMVERT TOP CAP HALF BASE BOTTOM"}},
    {"INTSTYLE", {"HOLLOW SOLID PAT HATCH EMPTY"}},
};

/// The names of element sets, each standing as the pair (-1, its place).
const char* const kElementSets =
    "DRAWINGSET DRAWINGPLUS VERSION2 EXTDPRIM VERSION2GKSM VERSION3 VERSION4";

/// The place of `word` among the blank-separated `words`, or -1.
int placeOf(const std::string& word, const std::string& words) {
    std::istringstream in(words);
    int place = 0;
    for (std::string w; in >> w; ++place)
        if (w == word) return place;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
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

class Reader : public CGMElementReader {
  public:
    explicit Reader(const std::string& text) : CGMElementReader("character"), in_(text) {}

    CGMMetafile run() {
        Token t;
        while (token(t)) {
            if (t.kind == Token::Kind::End) continue;  // an empty statement
            if (ended_) {
                error(t.at, "text after ENDMF");
                break;
            }
            statement(t);
        }
        finish(in_.size());
        return std::move(mf_);
    }

  private:
    /// A lexical unit: keyword or enumeration, number, string, or statement terminator.
    struct Token {
        enum class Kind { Word, Number, String, End };
        Kind kind = Kind::End;
        std::string text;  ///< strings unquoted
        std::size_t at = 0;
    };

    // A statement: its first token names the element, the rest up to ';' are parameters.
    void statement(const Token& keyword) {
        params_.clear();
        next_ = 0;
        Token t;
        bool terminated = false;
        while (!terminated && token(t)) {
            terminated = t.kind == Token::Kind::End;
            if (!terminated) params_.push_back(t);
        }
        if (!terminated)
            return error(keyword.at, keyword.text + ": missing ';' at the end of the input");
        if (keyword.kind != Token::Kind::Word)
            return error(keyword.at, "expected an element keyword, found '" + keyword.text + "'");
        const CGMElementKind* k = nullptr;
        for (const CGMElementKind& known : kCGMElementKinds)
            if (keyword.text == known.keyword) k = &known;
        element(k, keyword.text, keyword.at);
    }

    // Lexical level

    // A token is ';', a quoted string, or the characters up to the next separator: a word when
    // it starts with a letter, else a number.
    bool token(Token& out) {
        pos_ = std::min(in_.find_first_not_of(" \t\r\n,", pos_), in_.size());
        if (pos_ == in_.size()) return false;
        out = Token();
        out.at = pos_;
        const char c = in_[pos_];
        if (c == '\'') return quoted(out);
        const std::size_t end =
            c == ';' ? pos_ + 1 : std::min(in_.find_first_of(" \t\r\n,;'", pos_), in_.size());
        out.text = in_.substr(pos_, end - pos_);
        out.kind = c == ';'      ? Token::Kind::End
                   : isLetter(c) ? Token::Kind::Word
                                 : Token::Kind::Number;
        pos_ = end;
        return true;
    }

    bool quoted(Token& out) {
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
        return false;
    }

    // Parameters, through a cursor over the statement's tokens

    bool parametersLeft() const override { return next_ < params_.size(); }

    /// The next parameter, which must be of this kind; nullptr, failing, when it is not.
    const Token* next(Token::Kind kind, const char* what) {
        if (next_ < params_.size() && params_[next_].kind == kind) return &params_[next_++];
        fail(next_ >= params_.size()
                 ? std::string("parameters end early")
                 : std::string("expected ") + what + ", found '" + params_[next_].text + "'");
        return nullptr;
    }

    bool number(double& out, bool& isInteger) {
        const Token* t = next(Token::Kind::Number, "a number");
        return t && (parseNumber(t->text, out, isInteger) || fail("bad number '" + t->text + "'"));
    }

    bool integer(char, std::int64_t& out) override {
        double v = 0;
        bool isInteger = false;
        if (!number(v, isInteger)) return false;
        if (!isInteger) return fail("expected an integer, found '" + params_[next_ - 1].text + "'");
        out = static_cast<std::int64_t>(v);
        return true;
    }

    // Reals, VDC values, widths and sizes are all plain numbers here.
    bool real(char, double& out) override {
        bool isInteger = false;
        return number(out, isInteger);
    }

    bool string(std::string& out) override {
        const Token* t = next(Token::Kind::String, "a string");
        if (t) out = t->text;
        return t != nullptr;
    }

    bool enumeration(int slot, std::int64_t& out) override {
        const Token* t = next(Token::Kind::Word, "a word");
        if (!t) return false;
        const auto words = kWords.find(keyword_);
        out = words == kWords.end() || slot >= static_cast<int>(words->second.size())
                  ? -1
                  : placeOf(t->text, words->second[static_cast<std::size_t>(slot)]);
        return out >= 0 || fail("unknown enumeration value '" + t->text + "'");
    }

    bool colour(char code, CGMValue& out) override {
        std::int64_t r = 0, g = 0, b = 0;
        if (code == 'K' || (code == 'C' && !direct_)) {
            if (!integer('X', r)) return false;
            out = CGMValue::makeIndex(r);
            return true;
        }
        if (!integer('I', r) || !integer('I', g) || !integer('I', b)) return false;
        out = CGMValue::makeColour(r, g, b);
        return true;
    }

    // Elements of their own layout

    bool special(const std::string& keyword, std::vector<CGMValue>& out) override {
        if (keyword == "MFELEMLIST") return elementList(out);
        if (keyword == "CELLARRAY" || keyword == "PATTABLE") return cells(keyword, out);
        // precisions, as ranges: smallest and largest value (reals with their digits), or the
        // largest value alone for the colour precisions
        const char* codes = keyword == "COLRPREC" || keyword == "COLRINDEXPREC" ? "I"
                            : keyword == "REALPREC" || keyword == "VDCREALPREC" ? "RRI"
                                                                                : "II";
        return signature(codes, out);
    }

    bool elementList(std::vector<CGMValue>& out) {
        std::string names;
        if (!string(names)) return false;
        std::istringstream in(names);
        for (std::string set; in >> set;) {
            const int place = placeOf(set, kElementSets);
            if (place < 0) return fail("unknown element set " + set);
            out.push_back(CGMValue::makeInteger(-1));
            out.push_back(CGMValue::makeInteger(place));
        }
        return true;
    }

    // CELLARRAY: corners, size and local colour precision; PATTABLE: index, size and local
    // colour precision. Then as many colours as the size has cells.
    bool cells(const std::string& keyword, std::vector<CGMValue>& out) {
        if (!signature(keyword == "CELLARRAY" ? "PPPIII" : "XIII", out)) return false;
        const std::int64_t columns = out[out.size() - 3].integer,
                           rows = out[out.size() - 2].integer;
        const std::size_t before = out.size();
        if (!signature("*C", out)) return false;
        const std::size_t given = out.size() - before;
        if (columns < 0 || rows < 0 || static_cast<double>(given) != double(columns) * double(rows))
            return fail(std::to_string(given) + " colours for " + std::to_string(columns) + "x" +
                        std::to_string(rows) + " cells");
        return true;
    }

    const std::string& in_;
    std::size_t pos_ = 0;
    std::vector<Token> params_;
    std::size_t next_ = 0;  // cursor into params_
};

}  // namespace

CGMMetafile CGMClearTextReader::read(const std::string& text) {
    return Reader(text).run();
}
