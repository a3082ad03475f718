#pragma once

#include <string>

/// What in a PLY file would bring the importer's reader down, found before it reads the file:
/// - a header that never ends (no line begins with "end_header"), whose end it seeks for ever;
/// - a header it cannot read (an element declared twice, the format named twice, a line of no
///   PLY keyword, an unknown type), on which the reader writes past its arrays;
/// - a body that does not hold the values its header declares (a word that is no number, or
///   too few values), where it frees memory twice.
class PlySafetyCheck {
  public:
    /// Empty when the file is no PLY file or holds nothing of the above; otherwise what is
    /// wrong, in a few words.
    static std::string problemIn(const std::string& path);
};
