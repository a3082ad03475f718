#include "options/UnusedOptions.h"

#include <Tessara/base/SoDebugError.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "CommandError.h"
#include "output/OutputFormat.h"

namespace {

/// Options that one output or mode alone uses: each whether it was given, and its name.
struct Family {
    std::vector<std::pair<bool, const char*>> options;
    const char* usedBy;
    bool chosen;  ///< whether the output or mode that uses them is the one chosen
};

bool is(const OutputFormat* format, const char* name) {
    return format && std::strcmp(format->name, name) == 0;
}

std::vector<Family> familiesOf(const PrintOptions& o, const OutputFormat* format) {
    const PrintOptions defaults;
    const bool scene3D = is(format, "u3d") || is(format, "pdf3d");
    return {
        {{{o.psLevel.has_value(), "--ps-level"},
          {o.gray, "--gray"},
          {o.accuracy.has_value(), "--accuracy"}},
         "PostScript",
         is(format, "ps")},
        {{{o.cgmBinary, "--cgm-binary"},
          {o.cgmVersion.has_value(), "--cgm-version"},
          {o.cgmIndexed, "--cgm-indexed"}},
         "CGM",
         is(format, "cgm")},
        {{{!o.text.empty(), "--text"}}, "-f pdf3d", is(format, "pdf3d")},
        {{{!o.pens.empty(), "--pens"},
          {o.lineWidth.has_value(), "--line-width"},
          {o.borderWidth || o.borderColor, "--border"},
          {o.size.has_value(), "--size"},
          {o.position.has_value(), "--position"},
          {o.blackAndWhite, "--bw"}},
         "drawings",
         !scene3D},
        {{{!o.title.empty(), "--title"}, {o.landscape, "--landscape"}},
         "drawings and 3D PDFs",
         !is(format, "u3d")},
        {{{o.smooth, "--smooth"}},
         "outputs that blend colours: PostScript level 3 without --pens, PDF, SVG, PNG and 3D",
         format && format->shadesSmoothly && format->shadesSmoothly(o)},
        {{{o.rasterQuality.has_value(), "--raster-quality"},
          {o.rasterTile.has_value(), "--raster-tile"}},
         "--hidden raster",
         o.hidden == SoVectorizeAction::HLHSR_RASTER},
        {{{o.featureAngle != defaults.featureAngle, "--edges"}, {o.dashedHidden, "--dashed"}},
         "--hidden lines",
         o.hidden == SoVectorizeAction::HIDDEN_LINES_REMOVAL},
        {{{o.modelUnit != defaults.modelUnit, "--model-unit"}},
         "a drawing at a --scale",
         o.scale.has_value()},
        {{{o.orthographic == false, "--projection perspective"}},
         "a drawing not at a --scale",
         !o.scale},
    };
}

/// "--a, --b apply only to WHERE" for the options of a family not chosen that were given.
std::string clauseOf(const Family& family) {
    if (family.chosen) return std::string();
    std::string named;
    int count = 0;
    for (const auto& [given, option] : family.options)
        if (given) named += (count++ ? ", " : "") + std::string(option);
    if (!count) return named;
    return named + (count > 1 ? " apply" : " applies") + " only to " + family.usedBy;
}

}  // namespace

void UnusedOptions::check(const PrintOptions& options, const OutputFormat* format) {
    if ((!options.userPassword.empty() || !options.ownerPassword.empty()) && !is(format, "pdf3d"))
        throw CommandError(
            "--password encrypts a 3D PDF (-f pdf3d): this output would not be "
            "encrypted");
    std::string said;
    for (const Family& family : familiesOf(options, format)) {
        const std::string clause = clauseOf(family);
        if (!clause.empty()) said += (said.empty() ? "" : "; ") + clause;
    }
    if (!said.empty())
        SoDebugError::postWarning("UnusedOptions::check", "%s: left unused", said.c_str());
}
