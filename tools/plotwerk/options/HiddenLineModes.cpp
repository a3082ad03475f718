#include "options/HiddenLineModes.h"

#include "options/OptionValue.h"

namespace {

struct ModeName {
    const char* name;
    SoVectorizeAction::HLHSRMode mode;
};

const ModeName kModes[] = {
    {"off", SoVectorizeAction::HLHSR_OFF},
    {"sort", SoVectorizeAction::HLHSR_SIMPLE_PAINTER},
    {"painter", SoVectorizeAction::HLHSR_PAINTER},
    {"visible", SoVectorizeAction::HLHSR_PAINTER_SURFACE_REMOVAL},
    {"raster", SoVectorizeAction::HLHSR_RASTER},
    {"lines", SoVectorizeAction::HIDDEN_LINES_REMOVAL},
};

}  // namespace

SoVectorizeAction::HLHSRMode HiddenLineModes::parse(const std::string& option,
                                                    const std::string& name) {
    for (const ModeName& entry : kModes)
        if (name == entry.name) return entry.mode;
    OptionValue::fail(option, name, std::string("expected one of ") + names());
}

const char* HiddenLineModes::nameOf(SoVectorizeAction::HLHSRMode mode) {
    for (const ModeName& entry : kModes)
        if (mode == entry.mode) return entry.name;
    return "?";
}

std::string HiddenLineModes::names() {
    std::string text;
    for (const ModeName& entry : kModes) {
        if (!text.empty()) text += '|';
        text += entry.name;
    }
    return text;
}
