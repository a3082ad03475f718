#pragma once

#include <string>

/// The text of --help: usage, what the command does, and every option of the OptionTable
/// with its default. Needs the library initialised, since defaults come from a backend.
class HelpText {
  public:
    static std::string build();
};
