#include "options/CommandLine.h"

#include <string>

#include "CommandError.h"
#include "options/OptionTable.h"

namespace {

class Parser {
  public:
    Parser(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

    PrintOptions run() {
        for (next_ = 1; next_ < argc_;) {
            const std::string argument = argv_[next_++];
            if (argument == "--") {
                while (next_ < argc_) addInput(argv_[next_++]);
            } else if (argument.size() > 1 && argument[0] == '-') {
                option(argument);
            } else {
                addInput(argument);
            }
        }
        return options_;
    }

  private:
    void addInput(const std::string& input) {
        if (input.empty()) throw CommandError("the input file name is empty");
        if (haveInput_)
            throw CommandError("more than one input: '" + options_.input + "' and '" + input + "'");
        options_.input = input;
        haveInput_ = true;
    }

    // Splits "--name=value" and "-oVALUE"; `attached` tells whether a value came along.
    const OptionTable::Entry* lookUp(const std::string& argument, std::string& value,
                                     bool& attached) {
        attached = false;
        if (argument.compare(0, 2, "--") == 0) {
            const size_t equals = argument.find('=');
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
                attached = true;
                return OptionTable::find(argument.substr(0, equals));
            }
            return OptionTable::find(argument);
        }
        const OptionTable::Entry* entry = OptionTable::find(argument.substr(0, 2));
        if (entry && argument.size() > 2) {
            value = argument.substr(2);
            attached = true;
        }
        return entry;
    }

    void option(const std::string& argument) {
        std::string value;
        bool attached = false;
        const OptionTable::Entry* entry = lookUp(argument, value, attached);
        if (!entry) throw CommandError("unknown option '" + argument + "' (see --help)");
        const std::string name = entry->name;
        const bool optional = entry->valueName && entry->valueName[0] == '[';
        if (!entry->valueName) {
            if (attached) throw CommandError("option " + name + " takes no value");
        } else if (optional) {
            if (attached && value.empty())
                throw CommandError("option " + name + " needs a value after '='");
        } else if (!attached) {
            if (next_ >= argc_) throw CommandError("option " + name + " needs a value");
            value = argv_[next_++];
        }
        entry->apply(options_, name, value);
    }

    int argc_;
    const char* const* argv_;
    int next_ = 1;
    PrintOptions options_;
    bool haveInput_ = false;
};

}  // namespace

PrintOptions CommandLine::parse(int argc, const char* const* argv) {
    return Parser(argc, argv).run();
}
