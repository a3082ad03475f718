// The command's option parser on arbitrary argument vectors: the input's bytes, split at each
// NUL, are the arguments after the program name. Parsing writes nothing; anything it cannot
// read must be a CommandError, never a crash.

#include <string>
#include <vector>

#include "CommandError.h"
#include "FuzzTarget.h"
#include "options/CommandLine.h"

namespace {

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"plotwerk"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i]) {
            current.push_back(static_cast<char>(data[i]));
            continue;
        }
        arguments.push_back(current);
        current.clear();
    }
    if (!current.empty()) arguments.push_back(current);
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = argumentsOf(data, size);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    try {
        CommandLine::parse(static_cast<int>(arguments.size()), argv.data());
    } catch (const CommandError&) {
        // The parser's answer to an argument it cannot read.
    }
    return 0;
}
