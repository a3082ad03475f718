#pragma once

#include <map>
#include <string>

/// Maps font names as scene files give them ("Helvetica-Bold", "DejaVu Sans Mono",
/// "/path/to/face.ttf") to font files. Names are compared without case, spaces, dashes or
/// underscores against the file names of one font directory. The classic family names
/// (Helvetica, Times, Courier, Arial) stand for the face fontconfig puts in their place,
/// which is the face the printed drawings show, or else for the DejaVu family of their kind
/// in the directory. A name found in no form there is looked for among the installed
/// families (SoInstalledFonts).
class SoFontNameResolver {
  public:
    /// The file "defaultFont" stands for, inside the font directory.
    static constexpr const char* kDefaultFileName = "DejaVuSans.ttf";

    /// The font file for `name` in `directory`, or "" when nothing matches.
    std::string resolve(const std::string& name, const std::string& directory);
    /// Lower case without spaces, dashes and underscores: "DejaVu Sans-Bold" gives
    /// "dejavusansbold".
    static std::string normalize(const std::string& name);
    /// Forgets the directory listings and the names resolved so far.
    void clear() {
        listings_.clear();
        resolved_.clear();
    }

  private:
    using Listing = std::map<std::string, std::string>;  // normalized stem -> path
    const Listing& listingOf(const std::string& directory);
    std::string lookUp(const std::string& name, const std::string& directory);
    static bool isClassicFamily(const std::string& family);
    static std::string lookUpWithStyle(const Listing& listing, const std::string& key);
    static std::string familyAlias(const std::string& family);

    std::map<std::string, Listing> listings_;
    std::map<std::string, std::string> resolved_;  // directory, line feed, name -> file
};
