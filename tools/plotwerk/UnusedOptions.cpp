#include "UnusedOptions.h"

#include <Tessara/base/SoDebugError.h>

#include <cstring>
#include <string>
#include <vector>

#include "CommandError.h"
#include "OutputFormat.h"

namespace {

/// One clause of the warning: the options given that `where` alone uses.
void note(std::vector<std::string>& clauses, const std::vector<const char*>& given,
          const char* where) {
    if (given.empty()) return;
    std::string clause;
    for (const char* option : given) clause += (clause.empty() ? "" : ", ") + std::string(option);
    clauses.push_back(clause + (given.size() > 1 ? " apply" : " applies") + " only to " + where);
}

bool is(const OutputFormat* format, const char* name) {
    return format && std::strcmp(format->name, name) == 0;
}

}  // namespace

void UnusedOptions::check(const PrintOptions& options, const OutputFormat* format) {
    const bool pdf3d = is(format, "pdf3d");
    if ((!options.userPassword.empty() || !options.ownerPassword.empty()) && !pdf3d)
        throw CommandError(
            "--password encrypts a 3D PDF (-f pdf3d): this output would not be "
            "encrypted");
    const PrintOptions defaults;
    std::vector<std::string> clauses;
    std::vector<const char*> given;
    if (options.psLevel) given.push_back("--ps-level");
    if (options.gray) given.push_back("--gray");
    if (options.accuracy) given.push_back("--accuracy");
    if (!is(format, "ps")) note(clauses, given, "PostScript");
    given.clear();
    if (options.cgmBinary) given.push_back("--cgm-binary");
    if (options.cgmVersion) given.push_back("--cgm-version");
    if (options.cgmIndexed) given.push_back("--cgm-indexed");
    if (!is(format, "cgm")) note(clauses, given, "CGM");
    if (!options.text.empty() && !pdf3d) note(clauses, {"--text"}, "-f pdf3d");
    given.clear();
    if (options.rasterQuality) given.push_back("--raster-quality");
    if (options.rasterTile) given.push_back("--raster-tile");
    if (options.hidden != SoVectorizeAction::HLHSR_RASTER) note(clauses, given, "--hidden raster");
    given.clear();
    if (options.featureAngle != defaults.featureAngle) given.push_back("--edges");
    if (options.dashedHidden) given.push_back("--dashed");
    if (options.hidden != SoVectorizeAction::HIDDEN_LINES_REMOVAL)
        note(clauses, given, "--hidden lines");
    if (options.modelUnit != defaults.modelUnit && !options.scale)
        note(clauses, {"--model-unit"}, "a drawing at a --scale");
    if (options.scale && options.orthographic == false)
        note(clauses, {"--projection perspective"}, "a drawing not at a --scale");
    if (clauses.empty()) return;
    std::string said = clauses.front();
    for (size_t i = 1; i < clauses.size(); ++i) said += "; " + clauses[i];
    SoDebugError::postWarning("UnusedOptions::check", "%s: left unused", said.c_str());
}
