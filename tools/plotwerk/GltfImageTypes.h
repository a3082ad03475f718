#pragma once

#include <string>

/// The media types of the images a glTF file embeds, checked before the importer reads it.
/// The importer names an embedded image's file type by what follows the "/" of its media
/// type and crashes when a type has none ("data:png;base64,...", "mimeType": "png"), so such
/// a file is refused here instead, with the type it names.
class GltfImageTypes {
  public:
    /// Empty when the file is no glTF (neither JSON nor a binary glTF) or no image's media
    /// type lacks its subtype; otherwise what is wrong, in a few words.
    static std::string problemIn(const std::string& path);
};
