#pragma once

#include <string>

/// Standard input as a file that readers can open by name, measure and read again: itself
/// when it is a file, else a copy in a temporary file that no directory lists, which goes
/// when the command ends, however it ends.
class StandardInputFile {
  public:
    /// The name; a CommandError when standard input cannot be read or copied.
    static std::string path();
    /// Whether `path` names a copy of piped input, which has no files beside it.
    static bool isCopy(const std::string& path);
    /// `message` with the name replaced by words a user knows.
    static std::string described(std::string message, const std::string& path);
};
