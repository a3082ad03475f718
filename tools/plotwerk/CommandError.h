#pragma once

#include <stdexcept>
#include <string>

/// A failure the command reports as one "plotwerk: ..." line on standard error before it
/// exits with status 2.
class CommandError : public std::runtime_error {
  public:
    explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};
