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

#include <string>

#include "support/CGMMetafile.h"

/// Reads a clear-text CGM into a CGMMetafile.
struct CGMClearTextReader {
    static CGMMetafile read(const std::string& text);
};
