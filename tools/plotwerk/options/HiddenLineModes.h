#pragma once

#include <PlotWerk/SoVectorizeAction.h>

#include <string>

/// The command's names for the hidden-line and hidden-surface modes.
class HiddenLineModes {
  public:
    /// "off", "sort", "painter", "visible", "raster" or "lines"; anything else is a
    /// CommandError naming `option`.
    static SoVectorizeAction::HLHSRMode parse(const std::string& option, const std::string& name);
    static const char* nameOf(SoVectorizeAction::HLHSRMode mode);
    /// The names separated by '|', for the help text.
    static std::string names();
};
