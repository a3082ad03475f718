#include "SoInstalledFonts.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <memory>
#include <utility>

#include "SoFontNameResolver.h"

namespace {

using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

/// A weight and a slant as fontconfig measures them.
struct Style {
    int weight, slant;
};

// Style words a name may end with ("Bold Italic" is two), normalized. Slanted faces are
// asked for as italic: a family has one or the other, and fontconfig takes the nearer.
const std::pair<const char*, Style> kStyles[] = {{"bolditalic", {FC_WEIGHT_BOLD, FC_SLANT_ITALIC}},
                                                 {"boldoblique", {FC_WEIGHT_BOLD, FC_SLANT_ITALIC}},
                                                 {"italic", {FC_WEIGHT_REGULAR, FC_SLANT_ITALIC}},
                                                 {"oblique", {FC_WEIGHT_REGULAR, FC_SLANT_ITALIC}},
                                                 {"bold", {FC_WEIGHT_BOLD, FC_SLANT_ROMAN}},
                                                 {"regular", {FC_WEIGHT_REGULAR, FC_SLANT_ROMAN}},
                                                 {"roman", {FC_WEIGHT_REGULAR, FC_SLANT_ROMAN}}};

const FcChar8* bytes(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

/// The file of fontconfig's best face for `family` in `style` (null: any); unless
/// `anyFamily`, only when that face is of the family.
std::string match(const std::string& family, const Style* style, bool anyFamily = false) {
    Pattern wanted(FcPatternCreate(), FcPatternDestroy);
    if (!wanted) return "";
    FcPatternAddString(wanted.get(), FC_FAMILY, bytes(family));
    if (style) {
        FcPatternAddInteger(wanted.get(), FC_WEIGHT, style->weight);
        FcPatternAddInteger(wanted.get(), FC_SLANT, style->slant);
    }
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    Pattern found(FcFontMatch(nullptr, wanted.get(), &result), FcPatternDestroy);
    if (!found) return "";
    const std::string key = SoFontNameResolver::normalize(family);
    FcChar8* value = nullptr;
    bool sameFamily = anyFamily;
    for (int i = 0;
         !sameFamily && FcPatternGetString(found.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i)
        sameFamily = SoFontNameResolver::normalize(reinterpret_cast<char*>(value)) == key;
    if (!sameFamily || FcPatternGetString(found.get(), FC_FILE, 0, &value) != FcResultMatch)
        return "";
    return reinterpret_cast<char*>(value);
}

}  // namespace

// fontconfig compares families without case or blanks, so the normalized name serves.
std::string SoInstalledFonts::fileOf(const std::string& name) {
    std::string file = match(name, nullptr);
    const std::string key = SoFontNameResolver::normalize(name);
    for (const auto& [word, weightAndSlant] : kStyles) {
        const std::size_t length = std::strlen(word);
        if (!file.empty()) break;
        if (key.size() > length && key.compare(key.size() - length, length, word) == 0)
            file = match(key.substr(0, key.size() - length), &weightAndSlant);
    }
    return file;
}

std::string SoInstalledFonts::standInFor(const std::string& family, const std::string& styleWord) {
    for (const auto& [word, weightAndSlant] : kStyles)
        if (styleWord == word) return match(family, &weightAndSlant, true);
    return match(family, nullptr, true);
}
