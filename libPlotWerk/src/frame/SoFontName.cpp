#include "SoFontName.h"

#include <Tessara/elements/SoFontNameElement.h>

namespace {

// The styles that end PostScript font names ("Helvetica-BoldOblique"), as styles of ours.
const std::pair<const char*, const char*> postScriptStyles[] = {
    {"Bold", "BOLD"},
    {"Italic", "ITALIC"},
    {"Oblique", "ITALIC"},
    {"BoldItalic", "BOLD ITALIC"},
    {"BoldOblique", "BOLD ITALIC"},
    {"Roman", ""},
    {"Regular", ""},
};

}  // namespace

SoFontName SoFontName::ofPostScriptName(const std::string& name) {
    const std::size_t dash = name.rfind('-');
    if (dash == std::string::npos || dash == 0) return {name, ""};
    const std::string suffix = name.substr(dash + 1);
    for (const auto& [written, style] : postScriptStyles)
        if (suffix == written) return {name.substr(0, dash), style};
    return {name, ""};
}

SoFontName SoFontName::of(const SbString& fontName) {
    const SbString name =
        fontName.find("defaultFont") >= 0 ? SoFontNameElement::getFontServerFontName() : fontName;
    const std::string text = name.toLatin1();
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return ofPostScriptName(text);
    std::string face = text.substr(0, colon), style = text.substr(colon + 1);
    if (!face.empty() && face.back() == ' ') face.pop_back();
    if (!style.empty() && style.front() == ' ') style.erase(0, 1);
    return {face, SbString(style.c_str()).toUpper().getStdString()};
}
