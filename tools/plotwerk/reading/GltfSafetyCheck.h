#pragma once

#include <string>

/// What in a glTF file would bring the importer down, found before it reads the file:
/// - JSON nested deeper than `kMaxDepth`: the importer's parser recurses once per level and
///   runs out of stack at some depth beyond;
/// - an embedded image whose media type has no "/" ("data:png;base64,...", "mimeType": "png"):
///   the importer names the image's file type by what follows the "/" and crashes when there
///   is none;
/// - a binary glTF whose header gives its JSON more bytes than the file holds: the importer
///   makes room for as many and fills it.
class GltfSafetyCheck {
  public:
    /// Levels of arrays and objects a glTF's JSON may nest; real files use about ten.
    static constexpr int kMaxDepth = 1000;

    /// Empty when the file is no glTF (neither JSON nor a binary glTF) or holds nothing of the
    /// above; otherwise what is wrong, in a few words.
    static std::string problemIn(const std::string& path);
};
