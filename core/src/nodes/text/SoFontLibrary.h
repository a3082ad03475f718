#pragma once

#include <Tessara/base/SbString.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "SoFontNameResolver.h"
#include "SoGlyph.h"
#include "SoGlyphCache.h"

/// The process-wide FreeType state: the library, the opened faces and the glyph cache.
/// Fonts are looked up in the directory named by the TESSARA_FONT_DIR setting (see
/// SoPreferences), by default the one holding the DejaVu fonts. Everything is released by
/// the last SoDB::finish() and at process exit. Thread-safe.
class SoFontLibrary {
  public:
    /// One glyph of a laid-out line: the glyph (null for characters the font lacks) and its
    /// pen position in em units.
    struct PlacedGlyph {
        std::shared_ptr<const SoGlyph> glyph;
        float x = 0.0f;
        int charIndex = 0;  // among all characters of the text, lines included
    };
    /// One line of text shaped with one face, in em units.
    struct ShapedLine {
        std::vector<PlacedGlyph> glyphs;
        float advance = 0.0f;
    };

    static SoFontLibrary& instance();

    /// Shapes each line of UTF-32 text with the face `fontName` resolves to. False, with
    /// `lines` empty, when no face can be opened (reported once per file).
    bool shapeLines(const std::string& fontName, const std::vector<std::u32string>& text,
                    int segmentsPerCurve, std::vector<ShapedLine>& lines);
    /// The family name of the default face, "" when it cannot be opened.
    SbString getDefaultFamilyName();
    /// Closes every face and the FreeType library; later calls reopen what they need.
    void releaseAll();
    /// The directory fonts are looked up in now.
    static std::string getFontDirectory();

    ~SoFontLibrary();
    SoFontLibrary(const SoFontLibrary&) = delete;
    SoFontLibrary& operator=(const SoFontLibrary&) = delete;

  private:
    struct Face;
    SoFontLibrary();
    Face* faceFor(const std::string& fontName);
    Face* openFace(const std::string& path);
    void evictFaces();
    std::shared_ptr<const SoGlyph> glyphOf(Face& face, unsigned glyphIndex, int segments);

    std::mutex mutex_;
    void* library_ = nullptr;  // FT_Library, kept opaque so this header needs no FreeType
    std::map<std::string, std::unique_ptr<Face>> faces_;  // by file path
    uint64_t nextSerial_ = 1;
    uint64_t useClock_ = 0;
    SoGlyphCache glyphs_;
    SoFontNameResolver resolver_;
    std::set<std::string> warnedNames_;
    std::set<std::string> failedFiles_;
};
