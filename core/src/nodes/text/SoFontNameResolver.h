#pragma once

#include <map>
#include <string>

/// Maps font names as scene files give them ("Helvetica-Bold", "DejaVu Sans Mono",
/// "/path/to/face.ttf") to font files. Names are compared without case, spaces, dashes or
/// underscores against the file names of one font directory; the classic PostScript family
/// names map to the DejaVu families of their kind found there. A name found there in no
/// form is looked for among the installed families (SoInstalledFonts).
class SoFontNameResolver {
  public:
    /// The file "defaultFont" stands for, inside the font directory.
    static constexpr const char* kDefaultFileName = "DejaVuSans.ttf";

    /// The font file for `name` in `directory`, or "" when nothing matches.
    std::string resolve(const std::string& name, const std::string& directory);
    /// Lower case without spaces, dashes and underscores: "DejaVu Sans-Bold" gives
    /// "dejavusansbold".
    static std::string normalize(const std::string& name);
    /// Forgets the directory listings and the installed faces looked up so far.
    void clear() {
        listings_.clear();
        installed_.clear();
    }

  private:
    using Listing = std::map<std::string, std::string>;  // normalized stem -> path
    const Listing& listingOf(const std::string& directory);
    static std::string lookUpWithStyle(const Listing& listing, const std::string& key);
    static std::string familyAlias(const std::string& family);

    std::map<std::string, Listing> listings_;
    std::map<std::string, std::string> installed_;  // name -> file, "" when none
};
