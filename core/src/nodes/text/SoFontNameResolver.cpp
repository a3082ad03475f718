#include "SoFontNameResolver.h"

#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "SoInstalledFonts.h"

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isFontExtension(std::string extension) {
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".ttf" || extension == ".otf" || extension == ".ttc" ||
           extension == ".pfb" || extension == ".pfa";
}

// Style words in the order they are stripped: the longer ones first so that "bolditalic"
// is not read as "bold" + a family ending in "italic". Each lists the file-name spellings
// to try, since DejaVu calls the slanted Sans faces "Oblique" and the Serif ones "Italic".
struct StyleSuffix {
    const char* word;
    std::vector<const char*> fileStyles;
};

const std::vector<StyleSuffix>& styleSuffixes() {
    static const std::vector<StyleSuffix> suffixes = {
        {"bolditalic", {"bolditalic", "boldoblique"}},
        {"boldoblique", {"boldoblique", "bolditalic"}},
        {"italic", {"italic", "oblique"}},
        {"oblique", {"oblique", "italic"}},
        {"bold", {"bold"}},
        {"regular", {""}},
        {"roman", {""}},
        {"", {"", "book"}},
    };
    return suffixes;
}

}  // namespace

std::string SoFontNameResolver::normalize(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_') continue;
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

std::string SoFontNameResolver::resolve(const std::string& name, const std::string& directory) {
    if (name.empty() || name == "defaultFont") {
        return (std::filesystem::path(directory) / kDefaultFileName).string();
    }
    if (name[0] == '/') {
        std::error_code error;
        return std::filesystem::is_regular_file(name, error) ? name : std::string();
    }
    // Kept: an answer may cost a search of every installed face.
    const std::string known = directory + '\n' + name;
    auto found = resolved_.find(known);
    if (found == resolved_.end()) found = resolved_.emplace(known, lookUp(name, directory)).first;
    return found->second;
}

std::string SoFontNameResolver::lookUp(const std::string& name, const std::string& directory) {
    const Listing& listing = listingOf(directory);
    const std::string key = normalize(name);
    auto exact = listing.find(key);
    if (exact != listing.end()) return exact->second;
    std::string styled = lookUpWithStyle(listing, key);
    return styled.empty() ? SoInstalledFonts::fileOf(name) : styled;
}

std::string SoFontNameResolver::lookUpWithStyle(const Listing& listing, const std::string& key) {
    for (const StyleSuffix& suffix : styleSuffixes()) {
        if (!endsWith(key, suffix.word)) continue;
        const std::string family = key.substr(0, key.size() - std::string(suffix.word).size());
        if (family.empty()) continue;
        if (isClassicFamily(family)) {
            // The face the printed drawings show for the name, where fontconfig has one.
            std::string standIn = SoInstalledFonts::standInFor(family, suffix.word);
            if (!standIn.empty()) return standIn;
        }
        const std::string alias = familyAlias(family);
        for (const char* style : suffix.fileStyles) {
            auto found = listing.find(alias + style);
            if (found != listing.end()) return found->second;
        }
    }
    return std::string();
}

bool SoFontNameResolver::isClassicFamily(const std::string& family) {
    static const std::set<std::string> classic = {
        "helvetica", "arial", "times", "timesroman", "timesnewroman", "courier", "couriernew"};
    return classic.count(family) > 0;
}

std::string SoFontNameResolver::familyAlias(const std::string& family) {
    static const std::map<std::string, std::string> aliases = {
        {"helvetica", "dejavusans"},      {"arial", "dejavusans"},
        {"sans", "dejavusans"},           {"sansserif", "dejavusans"},
        {"times", "dejavuserif"},         {"timesroman", "dejavuserif"},
        {"timesnewroman", "dejavuserif"}, {"serif", "dejavuserif"},
        {"courier", "dejavusansmono"},    {"couriernew", "dejavusansmono"},
        {"mono", "dejavusansmono"},       {"monospace", "dejavusansmono"},
    };
    auto found = aliases.find(family);
    return found == aliases.end() ? family : found->second;
}

const SoFontNameResolver::Listing& SoFontNameResolver::listingOf(const std::string& directory) {
    auto cached = listings_.find(directory);
    if (cached != listings_.end()) return cached->second;
    Listing listing;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (!isFontExtension(path.extension().string())) continue;
        listing.emplace(normalize(path.stem().string()), path.string());
    }
    return listings_[directory] = std::move(listing);
}
