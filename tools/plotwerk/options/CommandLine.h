#pragma once

#include "options/PrintOptions.h"

/// Reads the command line into PrintOptions: options in any order, "--name=value" or
/// "--name value" (and "-oFILE"), "--" before an input whose name starts with '-', at most one
/// input. Anything it cannot read is a CommandError naming the argument.
class CommandLine {
  public:
    static PrintOptions parse(int argc, const char* const* argv);
};
