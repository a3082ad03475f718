#pragma once

#include <Tessara/base/SbString.h>

#include <string>

/// A scene's font name as a face and a style: "Face : Style" (either side trimmed, the style
/// in any case), a PostScript name ("Helvetica-BoldOblique", "Times-Roman"), or a name
/// holding "defaultFont", which stands for the font server's default.
struct SoFontName {
    std::string face;
    /// The style in upper case ("BOLD ITALIC"), empty when the name has none.
    std::string style;

    bool isBold() const { return style == "BOLD" || style == "BOLD ITALIC"; }
    bool isItalic() const { return style == "ITALIC" || style == "BOLD ITALIC"; }

    static SoFontName of(const SbString& fontName);

  private:
    static SoFontName ofPostScriptName(const std::string& name);
};
