// A scene read from arbitrary bytes, printed by one of the command's backends into memory.
// The input's size picks the backend, the hidden-surface mode and whether a pen table maps the
// colours, so that the fuzzer's mutations reach all of them while the bytes stay a scene file.

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ActionSettings.h"
#include "FuzzScene.h"
#include "OutputFormat.h"
#include "ViewSetup.h"

namespace {

const SoVectorizeAction::HLHSRMode kModes[] = {
    SoVectorizeAction::HLHSR_OFF,     SoVectorizeAction::HLHSR_SIMPLE_PAINTER,
    SoVectorizeAction::HLHSR_PAINTER, SoVectorizeAction::HLHSR_PAINTER_SURFACE_REMOVAL,
    SoVectorizeAction::HLHSR_RASTER,  SoVectorizeAction::HIDDEN_LINES_REMOVAL};

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
    if (pens) options.pens = {{SbColor(1, 0, 0), 0.3f}, {SbColor(0, 0, 1), {}}};
    // The coarsest raster: the same paths as a fine one, at a cost that leaves the fuzzer
    // time for many inputs (a fine raster of a page takes seconds under the sanitizers).
    options.rasterQuality = 0.0f;
    std::unique_ptr<SoVectorizeAction> action = format.create(options, nullptr);
    ActionSettings::apply(*action, options);
    ViewSetup::complete(scene, action->getDrawingDimensions(), false);
    SoVectorOutput* output = action->getVectorOutput();
    output->setFilePointer(memory);
    action->apply(scene);
    output->closeFile();
}

void print(SoSeparator* scene, const OutputFormat& format, SoVectorizeAction::HLHSRMode mode,
           bool pens) {
    char* bytes = nullptr;
    std::size_t length = 0;
    printInto(open_memstream(&bytes, &length), scene, format, mode, pens);
    std::free(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SoSeparator* scene = readFuzzScene(data, size);
    if (!scene) return 0;
    static const std::vector<const OutputFormat*> formats = drawingFormats();
    const std::size_t choice = size / formats.size();
    print(scene, *formats[size % formats.size()], kModes[choice % std::size(kModes)],
          choice / std::size(kModes) % 2 == 1);
    scene->unref();
    return 0;
}
