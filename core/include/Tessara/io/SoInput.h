#pragma once

#include <Tessara/base/SbName.h>
#include <Tessara/base/SbString.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

class SoBase;

/// The source of a scene file: a named file or a memory buffer, read as tokens.
/// Every read skips white space and '#' comments first. Errors name file, line and column.
class SoInput {
  public:
    SoInput();
    ~SoInput();
    SoInput(const SoInput&) = delete;
    SoInput& operator=(const SoInput&) = delete;

    /// Opens a file; false, with a message unless `okIfNotFound`, when it cannot be read.
    bool openFile(const char* fileName, bool okIfNotFound = false);
    bool openFile(const SbString& fileName, bool okIfNotFound = false);
    /// Reads from a caller's buffer, which must live until closeFile() or the next open.
    void setBuffer(const void* buffer, size_t size);
    /// Forgets the source and the DEF table (releasing the nodes it kept alive).
    void closeFile();
    /// True when the input starts with the "#Tessara V1.0 ascii" header.
    bool isValidFile();
    /// The header line, or empty.
    SbString getHeader();
    /// Checks the header once per opened source, posting an error naming the file when it
    /// is missing; later calls return the first answer without posting again.
    bool checkHeader();
    /// The file name, or "<buffer>" for memory input.
    SbString getFileName() const;
    /// Where the last token read started (or where reading stopped): what errors report.
    int getLineNumber() const;
    int getColumnNumber() const;
    /// True when nothing but white space and comments is left.
    bool eof();

    /// The next character that is not white space or comment.
    bool read(char& c);
    /// A quoted string (escapes \" \\ \n \t; others stay as written) or, unquoted, a word up
    /// to white space or one of {}[],"#.
    bool read(SbString& s);
    /// A name: identifier characters only when `validIdent`, else base-name characters.
    bool read(SbName& n, bool validIdent = false);
    bool read(int32_t& i);  // decimal, 0x hexadecimal or 0 octal, with a sign
    bool read(uint32_t& i);
    bool read(short& i);
    bool read(unsigned short& i);
    bool read(float& f);  // C locale, whatever the process locale
    bool read(double& d);
    /// The run of characters that can make up a number or a keyword (letters, digits, '.',
    /// '_', a leading sign, a sign after an exponent 'e'); empty when none starts here.
    bool readToken(std::string& token);
    /// Puts back one character, or a word, to be read again.
    void putBack(char c);
    void putBack(const char* string);

    /// Posts through SoDebugError with "file:line:column: " before the message.
    void postError(const char* source, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    /// The DEF table: nodes by name for later USE. The input holds a reference on each
    /// node it remembers, so a USE can never reach a node that was released meanwhile.
    void addReference(const SbName& name, SoBase* base);
    SoBase* findReference(const SbName& name) const;

  private:
    class Source;
    void clearReferences();
    bool readQuoted(std::string& text);

    Source* source_ = nullptr;
    std::map<std::string, SoBase*> references_;
    int headerState_ = 0;  // 0: not checked yet, 1: valid, -1: invalid
};
