#include "output/OutputFormat.h"

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <strings.h>

#include <filesystem>

#include "CommandError.h"
#include "output/ModelExport.h"
#include "output/WithProgress.h"

namespace {

// The backend itself, or the backend wrapped to report progress: both are a Backend, so the
// format's own settings apply to either.
template <class Backend>
std::unique_ptr<Backend> makeBackend(ProgressMeter* meter) {
    if (meter) return std::make_unique<WithProgress<Backend>>(*meter);
    return std::make_unique<Backend>();
}

std::unique_ptr<SoVectorizeAction> createPostScript(const PrintOptions& options,
                                                    ProgressMeter* meter) {
    std::unique_ptr<SoVectorizePSAction> action = makeBackend<SoVectorizePSAction>(meter);
    SoPSVectorOutput* output = action->getPSVectorOutput();
    // Smooth shading takes level 3: asked for without a level, it is the level.
    if (options.psLevel || options.smooth) output->setLevel(options.psLevel.value_or(3));
    if (options.gray) output->setColored(0);
    if (options.accuracy) output->setNumericAccuracyFactor(*options.accuracy);
    return action;
}

std::unique_ptr<SoVectorizeAction> createHPGL(const PrintOptions&, ProgressMeter* meter) {
    return makeBackend<SoVectorizeHPGLAction>(meter);
}

std::unique_ptr<SoVectorizeAction> createCGM(const PrintOptions& options, ProgressMeter* meter) {
    std::unique_ptr<SoVectorizeCGMAction> action = makeBackend<SoVectorizeCGMAction>(meter);
    SoCGMVectorOutput* output = action->getCGMVectorOutput();
    output->setBinary(options.cgmBinary ? 1 : 0);
    if (options.cgmVersion) output->setVersion(*options.cgmVersion);
    output->setIndexed(options.cgmIndexed ? 1 : 0);
    return action;
}

std::unique_ptr<SoVectorizeAction> createMetafile(const PrintOptions&, ProgressMeter* meter) {
    return makeBackend<SoVectorizeGDIAction>(meter);
}

std::unique_ptr<SoVectorizeAction> createPDF(const PrintOptions& options, ProgressMeter* meter) {
    std::unique_ptr<SoVectorizePDFAction> action = makeBackend<SoVectorizePDFAction>(meter);
    action->setTitle(SbString(options.title));
    return action;
}

std::unique_ptr<SoVectorizeAction> createSVG(const PrintOptions& options, ProgressMeter* meter) {
    std::unique_ptr<SoVectorizeSVGAction> action = makeBackend<SoVectorizeSVGAction>(meter);
    action->setTitle(SbString(options.title));
    return action;
}

// Level 3 shades triangles; a plotter's pens are colours of their own, which it does not blend.
bool postScriptShadesSmoothly(const PrintOptions& options) {
    return options.psLevel.value_or(3) >= 3 && options.pens.empty();
}

bool alwaysSmooth(const PrintOptions&) {
    return true;
}

std::string knownNames() {
    std::string names;
    for (const OutputFormat& format : OutputFormat::all())
        names += (names.empty() ? "" : ", ") + std::string(format.name);
    return names;
}

// The text after the last dot of the file name, or empty (a leading dot starts a hidden
// file's name, not an extension).
std::string extensionOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) return std::string();
    return path.substr(dot + 1);
}

}  // namespace

const std::vector<OutputFormat>& OutputFormat::all() {
    static const std::vector<OutputFormat> formats = {
        {"ps", {"ps", "eps"}, createPostScript, nullptr, nullptr, postScriptShadesSmoothly},
        {"hpgl", {"plt", "hpgl", "hpg"}, createHPGL},
        {"cgm", {"cgm"}, createCGM},
        {"emf", {"emf"}, createMetafile},
        {"pdf", {"pdf"}, createPDF, nullptr, nullptr, alwaysSmooth},
        {"svg", {"svg"}, createSVG, nullptr, nullptr, alwaysSmooth},
        // Not a drawing: the picture the screen shows, for comparing prints with it.
        {"png", {"png"}, nullptr, nullptr, nullptr, alwaysSmooth},
        // Not drawings either: the scene in 3D.
        {"u3d", {"u3d"}, nullptr, ModelExport::writeU3D, nullptr, alwaysSmooth},
        // A PDF all the same; the extension would choose a drawing.
        {"pdf3d", {}, nullptr, ModelExport::writePdf3D, "pdf", alwaysSmooth},
    };
    return formats;
}

PrintOptions OutputFormat::drawnWith(const PrintOptions& options) const {
    PrintOptions drawn = options;
    drawn.smooth = options.smooth && shadesSmoothly && shadesSmoothly(options);
    return drawn;
}

const OutputFormat& OutputFormat::choose(const std::string& name, const std::string& output) {
    if (!name.empty()) {
        for (const OutputFormat& format : all())
            if (name == format.name) return format;
        throw CommandError("unknown output format '" + name + "' (known: " + knownNames() + ")");
    }
    const std::string extension = output == "-" ? std::string() : extensionOf(output);
    if (extension.empty()) return all().front();
    for (const OutputFormat& format : all())
        for (const std::string& known : format.extensions)
            if (strcasecmp(extension.c_str(), known.c_str()) == 0) return format;
    throw CommandError("unknown output format for '" + output + "': no format writes ." +
                       extension + " files (known: " + knownNames() + "; choose one with -f)");
}

std::string OutputFormat::fileNameFor(const std::string& input) const {
    const std::string stem = input.empty()  ? std::string("demo")
                             : input == "-" ? std::string("plotwerk")
                                            : std::filesystem::path(input).stem().string();
    return (stem.empty() ? std::string("plotwerk") : stem) + "." +
           (namingExtension ? namingExtension : extensions.front());
}

bool OutputFormat::isEncapsulated(const PrintOptions& options) {
    return choose(options.format, options.output).create == createPostScript &&
           strcasecmp(extensionOf(options.output).c_str(), "eps") == 0;
}
