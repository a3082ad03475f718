#pragma once

#include <string>

/// The faces fontconfig knows, found by family name: every font installed on the system,
/// beyond the one font directory that names are looked for in first.
class SoInstalledFonts {
  public:
    /// The file of the face of the family `name` names ("Liberation Serif", "Nimbus Sans
    /// Bold", "NimbusSans-BoldItalic": a trailing style word picks the style), or "" when no
    /// installed family has that name. fontconfig always offers some face; one of another
    /// family, put in the asked one's place, does not count.
    static std::string fileOf(const std::string& name);
    /// The file of the face fontconfig puts in place of `family` in the style `styleWord`
    /// ("bold", "bolditalic", "" for the regular face), whatever its family; "" when it
    /// has none.
    static std::string standInFor(const std::string& family, const std::string& styleWord);
};
