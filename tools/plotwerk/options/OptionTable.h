#pragma once

#include <string>
#include <vector>

#include "options/PrintOptions.h"

class SoVectorizePSAction;

/// Every option of the command: its spelling, what it does, its default and how its value is
/// stored. The parser and the help text both read this table, so neither can miss an option.
class OptionTable {
  public:
    struct Entry {
        const char* name;
        /// What the value looks like in the help, or null for an option without a value; a
        /// value that may be left out is given as "[=VALUE]" and only attached to the name.
        const char* valueName;
        const char* description;
        /// The default as the help shows it, read from a freshly made backend where it has one.
        std::string (*defaultText)(const SoVectorizePSAction& fresh);
        /// Stores the value (empty for a flag); a bad value is a CommandError.
        void (*apply)(PrintOptions& options, const std::string& name, const std::string& value);
    };

    static const std::vector<Entry>& entries();
    /// The entry spelt `name` (a long name or an alias such as -o), or null.
    static const Entry* find(const std::string& name);
};
