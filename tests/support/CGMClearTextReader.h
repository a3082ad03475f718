#pragma once

// Reads a clear-text encoded Computer Graphics Metafile into the same CGMMetafile that
// CGMBinaryDecoder produces:
//
//     CGMMetafile mf = CGMClearTextReader::read("BEGMF 'x'; LINE 0,0 10,10; ENDMF;");
//
// Written from the encoding's own rules, independently of any writer, for the spelling our
// backend uses: upper-case keywords and enumerations, parameters separated by blanks and/or
// commas, statements ended by ';', strings between apostrophes with an apostrophe inside
// doubled. Precisions are ranges in this encoding and are kept as written. Bad input is
// reported in `errors`, never a crash; a statement that cannot be read is skipped up to its
// terminator.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/CGMMetafile.h"

/// Reads a clear-text CGM into a CGMMetafile.
class CGMClearTextReader {
  public:
    static CGMMetafile read(const std::string& text);

  private:
    /// A lexical unit: keyword or enumeration, number, string, or statement terminator.
    struct Token {
        enum class Kind { Word, Number, String, End };
        Kind kind = Kind::End;
        std::string text;  ///< strings unquoted
        std::size_t at = 0;
    };

    explicit CGMClearTextReader(const std::string& text) : in_(text) {}
    void run();
    void statement(const Token& keyword);
    void afterElement(const CGMElement& e);
    void error(std::size_t at, const std::string& message);
    bool fail(const std::string& why);

    // lexical level
    bool token(Token& out);
    bool quoted(Token& out);

    // parameters, through a cursor over params_
    bool number(double& out, bool& isInteger);
    bool integer(std::int64_t& out);
    bool real(double& out);
    bool enumeration(int slot, std::int64_t& out);
    bool colour(bool direct, CGMValue& out);
    bool value(char code, int slot, std::vector<CGMValue>& out);
    bool signature(const char* params, std::vector<CGMValue>& out);
    bool special(const std::string& keyword, std::vector<CGMValue>& out);
    bool elementList(std::vector<CGMValue>& out);
    bool colourArray(bool cellArray, std::vector<CGMValue>& out);

    const std::string& in_;
    std::size_t pos_ = 0;
    bool stop_ = false;  // the rest of the input cannot be tokenised
    std::string keyword_;
    std::vector<Token> params_;
    std::size_t next_ = 0;  // cursor into params_
    std::string problem_;
    bool direct_ = false;  // colour selection mode
    bool started_ = false, ended_ = false;
    CGMMetafile mf_;
};
