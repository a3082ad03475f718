#pragma once

#include <string>

/// Standard input, or a named pipe (a shell's `<(...)`), as a file that readers can open by
/// name, measure and read again: itself when it is a file, else a copy in a temporary file
/// that no directory lists, which goes when the command ends, however it ends.
class StandardInputFile {
  public:
    /// The name; a CommandError when standard input cannot be read or copied.
    static std::string path();
    /// Whether `path` names a pipe, which readers can read only once.
    static bool isPipe(const std::string& path);
    /// The name of a copy of what the pipe `path` gives; a CommandError when it cannot be read
    /// or copied.
    static std::string copyOfPipe(const std::string& path);
    /// Whether `path` names a copy of piped input, which has no files beside it.
    static bool isCopy(const std::string& path);
    /// `message` with the copy's name `path` replaced by words a user knows: "standard
    /// input", or the name the user gave the pipe.
    static std::string described(std::string message, const std::string& path);
};
