#include "SoInstalledFonts.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <utility>
#include <vector>

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

/// The words of a name, split at blanks, dashes and underscores.
std::vector<std::string> wordsOf(const std::string& name) {
    std::vector<std::string> words(1);
    for (char c : name) {
        if (c != ' ' && c != '-' && c != '_')
            words.back() += c;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

std::string joined(const std::vector<std::string>& words, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) text += (i == from ? "" : " ") + words[i];
    return text;
}

}  // namespace

std::string SoInstalledFonts::fileOf(const std::string& name) {
    std::string file = match(name, nullptr);
    const std::vector<std::string> words = wordsOf(name);
    // "Bold Italic" ends a name in two words, the other styles in one.
    for (std::size_t styleWords = 1; file.empty() && styleWords <= 2; ++styleWords) {
        if (styleWords >= words.size()) break;
        const std::size_t split = words.size() - styleWords;
        const std::string style = SoFontNameResolver::normalize(joined(words, split, words.size()));
        for (const auto& [word, weightAndSlant] : kStyles)
            if (style == word) file = match(joined(words, 0, split), &weightAndSlant);
    }
    return file;
}

std::string SoInstalledFonts::standInFor(const std::string& family, const std::string& styleWord) {
    for (const auto& [word, weightAndSlant] : kStyles)
        if (styleWord == word) return match(family, &weightAndSlant, true);
    return match(family, nullptr, true);
}
