#include "SoFontLibrary.h"

#include <Tessara/base/SoClassRegistry.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPreferences.h>

#include <filesystem>

#include "SoGlyphBuilder.h"

#ifndef TESSARA_DEFAULT_FONT_DIR
#define TESSARA_DEFAULT_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

// Enough faces for the fonts of a drawing and glyphs for a few alphabets; beyond that the
// least recently used ones are dropped and rebuilt on demand.
constexpr size_t kMaxFaces = 16;
constexpr size_t kMaxGlyphs = 4096;

void noClassToInit() {}
void releaseFonts() {
    SoFontLibrary::instance().releaseAll();
}

// Ties the font cache to SoDB::finish() like the core classes.
const SoClassRegistrar fontLibraryRegistrar("SoFontLibrary", &noClassToInit, &releaseFonts,
                                            SoClassRegistry::NODE);

}  // namespace

struct SoFontLibrary::Face {
    FT_Face face = nullptr;
    uint64_t serial = 0;
    uint64_t lastUse = 0;
};

SoFontLibrary& SoFontLibrary::instance() {
    static SoFontLibrary library;
    return library;
}

SoFontLibrary::SoFontLibrary() : glyphs_(kMaxGlyphs) {}

SoFontLibrary::~SoFontLibrary() {
    releaseAll();
}

std::string SoFontLibrary::getFontDirectory() {
    return SoPreferences::getValue("TESSARA_FONT_DIR", TESSARA_DEFAULT_FONT_DIR).getStdString();
}

void SoFontLibrary::releaseAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    glyphs_.clear();
    for (auto& entry : faces_) FT_Done_Face(entry.second->face);
    faces_.clear();
    resolver_.clear();
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
    library_ = nullptr;
}

SoFontLibrary::Face* SoFontLibrary::openFace(const std::string& path) {
    auto found = faces_.find(path);
    if (found != faces_.end()) {
        found->second->lastUse = ++useClock_;
        return found->second.get();
    }
    if (failedFiles_.count(path)) return nullptr;
    if (!library_) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            SoDebugError::post("SoFontLibrary", "FreeType could not be initialised");
            return nullptr;
        }
        library_ = library;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(library_), path.c_str(), 0, &face) != 0 ||
        !FT_IS_SCALABLE(face)) {
        if (face) FT_Done_Face(face);
        failedFiles_.insert(path);
        SoDebugError::post("SoFontLibrary",
                           "Cannot open the font file \"%s\"; no text drawn "
                           "with it",
                           path.c_str());
        return nullptr;
    }
    evictFaces();
    auto entry = std::make_unique<Face>();
    entry->face = face;
    entry->serial = nextSerial_++;
    entry->lastUse = ++useClock_;
    return (faces_[path] = std::move(entry)).get();
}

void SoFontLibrary::evictFaces() {
    while (faces_.size() >= kMaxFaces) {
        auto oldest = faces_.begin();
        for (auto it = faces_.begin(); it != faces_.end(); ++it)
            if (it->second->lastUse < oldest->second->lastUse) oldest = it;
        // Its cached glyphs can no longer be hit (serials are never reused) and age out.
        FT_Done_Face(oldest->second->face);
        faces_.erase(oldest);
    }
}

SoFontLibrary::Face* SoFontLibrary::faceFor(const std::string& fontName) {
    const std::string directory = getFontDirectory();
    const std::string defaultPath =
        (std::filesystem::path(directory) / SoFontNameResolver::kDefaultFileName).string();
    std::string path = resolver_.resolve(fontName, directory);
    if (path.empty()) {
        if (warnedNames_.insert(directory + '\n' + fontName).second)
            SoDebugError::postWarning("SoFontLibrary", "Font \"%s\" not found, using DejaVu Sans",
                                      fontName.c_str());
        path = defaultPath;
    }
    Face* face = openFace(path);
    if (!face && path != defaultPath) face = openFace(defaultPath);
    return face;
}

std::shared_ptr<const SoGlyph> SoFontLibrary::glyphOf(Face& face, unsigned glyphIndex,
                                                      int segments) {
    const SoGlyphCache::Key key{face.serial, glyphIndex, segments};
    std::shared_ptr<const SoGlyph> glyph = glyphs_.find(key);
    if (glyph) return glyph;
    glyph = SoGlyphBuilder::build(face.face, glyphIndex, segments);
    glyphs_.insert(key, glyph);
    return glyph;
}

bool SoFontLibrary::shapeLines(const std::string& fontName, const std::vector<std::u32string>& text,
                               int segmentsPerCurve, std::vector<ShapedLine>& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.clear();
    Face* face = faceFor(fontName);
    if (!face) return false;
    // Characters the font lacks take the width of its missing-glyph box, but draw nothing.
    const float missingAdvance = glyphOf(*face, 0, segmentsPerCurve)->advance;
    int charIndex = 0;
    for (const std::u32string& chars : text) {
        ShapedLine line;
        for (char32_t c : chars) {
            PlacedGlyph placed;
            placed.x = line.advance;
            placed.charIndex = charIndex++;
            const FT_UInt index = FT_Get_Char_Index(face->face, c);
            if (index != 0) placed.glyph = glyphOf(*face, index, segmentsPerCurve);
            line.advance += placed.glyph ? placed.glyph->advance : missingAdvance;
            line.glyphs.push_back(std::move(placed));
        }
        lines.push_back(std::move(line));
    }
    return true;
}

SbString SoFontLibrary::getDefaultFamilyName() {
    std::lock_guard<std::mutex> lock(mutex_);
    Face* face = faceFor("defaultFont");
    if (!face || !face->face->family_name) return SbString();
    return SbString(face->face->family_name);
}
