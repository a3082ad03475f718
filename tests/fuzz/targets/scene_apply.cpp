// A scene read from arbitrary bytes, printed by one of the command's backends into memory,
// and for three inputs in four also exported in 3D as the command exports it: through the
// engine module into U3D, or a 3D PDF, plain or encrypted. The input's size picks the
// backend, the hidden-surface mode, whether a pen table maps the colours and the export, so
// that the fuzzer's mutations reach all of them while the bytes stay a scene file.
// Scenes that expand, through shared nodes, into more nodes than a drawing of this size could need
// are skipped, and a drawing stops at 200,000 primitives, as the command stops at its own
// limit: their cost is the size of the graph, not a fault.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "CommandError.h"
#include "FuzzTarget.h"
#include "output/ActionSettings.h"
#include "output/ModelExport.h"
#include "output/OutputFormat.h"
#include "views/ViewSetup.h"
#include "views/ViewSheet.h"

namespace {

const SoVectorizeAction::HLHSRMode kModes[] = {
    SoVectorizeAction::HLHSR_OFF,     SoVectorizeAction::HLHSR_SIMPLE_PAINTER,
    SoVectorizeAction::HLHSR_PAINTER, SoVectorizeAction::HLHSR_PAINTER_SURFACE_REMOVAL,
    SoVectorizeAction::HLHSR_RASTER,  SoVectorizeAction::HIDDEN_LINES_REMOVAL};
constexpr double kMostNodes = 2000;
constexpr long long kMostPrimitives = 200000;

// Nodes as a traversal meets them: a shared node counts once per use. Saturates early, so
// that graphs of exponential size are counted in time linear in their distinct nodes.
double expandedSize(const SoNode* node, std::unordered_map<const SoNode*, double>& known) {
    if (auto found = known.find(node); found != known.end()) return found->second;
    double size = 1;
    if (const SoNodeList* children = node->getChildren())
        for (int i = 0; i < children->getLength() && size <= kMostNodes; ++i)
            size += expandedSize((*children)[i], known);
    known[node] = size;
    return size;
}

std::vector<const OutputFormat*> drawingFormats() {
    std::vector<const OutputFormat*> formats;
    for (const OutputFormat& format : OutputFormat::all())
        if (format.create) formats.push_back(&format);
    return formats;
}

// The stream is the output's to close: at closeFile, or, for an output that draws elsewhere
// (the metafile's), when it is destroyed with its action.
void printInto(FILE* memory, SoSeparator* scene, const OutputFormat& format,
               SoVectorizeAction::HLHSRMode mode, bool pens) {
    PrintOptions options;
    options.hidden = mode;
    // The other variant adds pens, dashed hidden lines, a title and, if it can, views.
    if (pens) {
        options.pens = {{SbColor(1, 0, 0), 0.3f}, {SbColor(0, 0, 1), {}}};
        options.dashedHidden = true;
        options.title = "Fuzz";
        if (!ViewSetup::hasCamera(scene)) options.views = {"top", "iso"};
    }
    // The coarsest raster: the same paths as a fine one, at a cost that leaves the fuzzer
    // time for many inputs (a fine raster of a page takes seconds under the sanitizers).
    options.rasterQuality = 0.0f;
    std::unique_ptr<SoVectorizeAction> action = format.create(options, nullptr);
    ActionSettings::apply(*action, options);
    SoVectorOutput* output = action->getVectorOutput();
    output->setFilePointer(memory);
    ViewSheet::draw(*action, scene, options);
    output->closeFile();
}

void print(SoSeparator* scene, const OutputFormat& format, SoVectorizeAction::HLHSRMode mode,
           bool pens) {
    char* bytes = nullptr;
    std::size_t length = 0;
    printInto(open_memstream(&bytes, &length), scene, format, mode, pens);
    std::free(bytes);
}

// kind 1: U3D; 2: a 3D PDF; 3: an encrypted one. The file is this process's own.
void exportModel(SoSeparator* scene, std::size_t kind) {
    PrintOptions options;
    options.output =
        "/tmp/plotwerk-fuzz-" + std::to_string(getpid()) + (kind == 1 ? ".u3d" : ".pdf");
    if (kind == 3) options.userPassword = options.ownerPassword = "fuzz";
    try {
        (kind == 1 ? ModelExport::writeU3D : ModelExport::writePdf3D)(options, scene);
    } catch (const CommandError&) {
        // The engine refused the scene and said why, as the command tells a user.
    }
    std::remove(options.output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (SoPlotWerk::init(), silenceDebugMessages(),
                               SoCallbackAction::setDefaultPrimitiveLimit(kMostPrimitives), true);
    static const std::vector<const OutputFormat*> formats = drawingFormats();
    (void)ready;
    SoInput input;
    input.setBuffer(data, size);
    SoSeparator* scene = SoDB::readAll(&input);
    if (!scene) return 0;
    scene->ref();
    std::unordered_map<const SoNode*, double> known;
    if (expandedSize(scene, known) <= kMostNodes) {
        const std::size_t choice = size / formats.size();
        print(scene, *formats[size % formats.size()], kModes[choice % std::size(kModes)],
              choice / std::size(kModes) % 2 == 1);
        if (const std::size_t kind = choice / std::size(kModes) / 2 % 4) exportModel(scene, kind);
    }
    scene->unref();
    return 0;
}
