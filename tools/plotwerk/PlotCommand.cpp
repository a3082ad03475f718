#include "PlotCommand.h"

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoSeparator.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

#include "CommandError.h"
#include "DebugMessages.h"
#include "DrawingStyle.h"
#include "NodeRef.h"
#include "SceneLoader.h"
#include "options/CommandLine.h"
#include "options/HelpText.h"
#include "options/UnusedOptions.h"
#include "output/ActionSettings.h"
#include "output/GDITargets.h"
#include "output/OutputFormat.h"
#include "output/PostScriptHeader.h"
#include "output/ProgressMeter.h"
#include "output/SafeOutputFile.h"
#include "output/SceneSummary.h"
#include "output/ScreenPicture.h"
#include "reading/StandardInputFile.h"
#include "views/ViewSetup.h"
#include "views/ViewSheet.h"

namespace {

constexpr int kFailure = 2;

/// The library, initialised for as long as the object lives.
class LibrarySession {
  public:
    LibrarySession() { SoPlotWerk::init(); }
    ~LibrarySession() { SoPlotWerk::finish(); }
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;
};

/// The limit of primitives for the traversals of one run, the library's default again after.
class PrimitiveLimit {
  public:
    /// inputBytes: what the scene was read from.
    PrimitiveLimit(const PrintOptions& options, unsigned long long inputBytes)
        : previous_(SoCallbackAction::getDefaultPrimitiveLimit()) {
        SoCallbackAction::setDefaultPrimitiveLimit(options.primitiveLimit(inputBytes));
    }
    ~PrimitiveLimit() { SoCallbackAction::setDefaultPrimitiveLimit(previous_); }
    PrimitiveLimit(const PrimitiveLimit&) = delete;
    PrimitiveLimit& operator=(const PrimitiveLimit&) = delete;

  private:
    long long previous_;
};

void printHelp() {
    LibrarySession library;
    std::fputs(HelpText::build().c_str(), stdout);
}

void printVersion() {
    std::printf("plotwerk (%s) %s\n", SoPlotWerk::getProductName(), SoPlotWerk::getVersion());
}

long countPrimitives(SoSeparator* scene) {
    const SceneSummary summary = SceneSummary::of(scene);
    return summary.triangles + summary.segments + summary.points;
}

// A blank drawing is most often a camera that looks past the scene: worth a word, since the
// file alone does not say why.
void warnIfBlank(const ProgressMeter& meter, SoSeparator* scene) {
    if (meter.done() > 0) return;
    const SceneSummary summary = SceneSummary::of(scene);
    const bool nothing =
        summary.triangles + summary.segments + summary.points + summary.anchored == 0;
    SoDebugError::postWarning("plotwerk", nothing ? "The scene holds nothing to draw: the drawing "
                                                    "is blank"
                                                  : "Nothing of the scene is in the camera's "
                                                    "view: the drawing is blank");
}

void writeDrawing(SoVectorizeAction& action, SoSeparator* scene, SafeOutputFile& output,
                  const PrintOptions& options) {
    if (auto* metafile = dynamic_cast<SoVectorizeGDIAction*>(&action)) {
        GDITargets::writeMetafile(*metafile, scene, output, options);
        return;
    }
    SoVectorOutput* stream = action.getVectorOutput();
    FILE* file = output.handOver();
    if (dynamic_cast<SoVectorizePSAction*>(&action)) {
        std::optional<PostScriptHeader::Box> figure;
        if (OutputFormat::isEncapsulated(options)) figure = PostScriptHeader::inkBox(action);
        file = PostScriptHeader::wrap(file, figure, options.title);
    }
    stream->setFilePointer(file);
    ViewSheet::draw(action, scene, options);
    stream->closeFile();
    output.check(stream->getWriteError());
    output.commit();
}

// The drawing's size as the options make it, as it is seen.
SbVec2f drawingSize(const PrintOptions& options) {
    SoVectorizePSAction sizing;
    ActionSettings::apply(sizing, options);
    return sizing.getDrawingDimensions();
}

// The picture takes the drawing's size as the options make it for a drawing.
void writePicture(const PrintOptions& options, SoSeparator* scene, const SbVec2f& size) {
    SafeOutputFile output(options.output);
    output.writeAll(ScreenPicture::encode(scene, options, size));
    output.commit();
}

// An unnamed output is standard output, unless that is a terminal: a drawing poured into one
// helps nobody, so it goes to a file named after the input, in the current directory.
PrintOptions withOutput(const PrintOptions& options) {
    PrintOptions resolved = options;
    if (!options.output.empty() || options.print) return resolved;
    resolved.output = "-";
    if (!isatty(STDOUT_FILENO)) return resolved;
    resolved.output = OutputFormat::choose(options.format, "-").fileNameFor(options.input);
    std::error_code error;
    if (std::filesystem::equivalent(options.input, resolved.output, error))
        throw CommandError(
            "standard output is a terminal, and the file named after the input "
            "is the input itself: name the output with -o");
    std::fprintf(stderr, "plotwerk: standard output is a terminal, so the output goes to %s\n",
                 resolved.output.c_str());
    return resolved;
}

void printInput(const PrintOptions& options) {
    if (options.print && (!options.output.empty() || !options.format.empty()))
        throw CommandError("--print sends the drawing to a printer: it takes neither -o nor -f");
    const OutputFormat& format = OutputFormat::choose(options.format, options.output);
    if (!options.views.empty() && format.writeScene)
        throw CommandError(std::string("--views lays out a drawing, which ") + format.name +
                           " is not");
    // Read by the action's constructor, so it must be in place before the backend exists.
    if (options.blackAndWhite) SoPreferences::setBool("VXN_PW_BLACK_AND_WHITE", true);
    LibrarySession library;
    DebugMessages messages(stderr);
    UnusedOptions::check(options, options.print ? nullptr : &format);
    unsigned long long inputBytes = 0;
    const SbVec2f size = drawingSize(options);
    NodeRef<SoSeparator> scene(SceneLoader::load(
        options.input, messages, options.hidden != SoVectorizeAction::HIDDEN_LINES_REMOVAL,
        &inputBytes, size));
    DrawingStyle::apply(options, format, scene.get());
    const PrimitiveLimit limit(options, inputBytes);
    if (options.print) {
        GDITargets::print(options, scene.get());
        return;
    }
    if (format.writeScene) {
        format.writeScene(options, scene.get());
        return;
    }
    if (!format.create) {
        writePicture(options, scene.get(), size);
        return;
    }
    // Progress is shown only where someone watches it, a terminal on standard error.
    ProgressMeter meter(isatty(STDERR_FILENO) ? stderr : nullptr);
    std::unique_ptr<SoVectorizeAction> action = format.create(options, &meter);
    ActionSettings::apply(*action, format.drawnWith(options));
    SafeOutputFile output(options.output);
    const long views = std::max<long>(1, static_cast<long>(options.views.size()));
    if (meter.shown()) meter.start(views * countPrimitives(scene.get()));
    writeDrawing(*action, scene.get(), output, options);
    meter.finish();
    warnIfBlank(meter, scene.get());
}

// "-" reads standard input, a scene or a mesh, whatever pipes it in; so does a named pipe.
void print(const PrintOptions& given) {
    // Nobody types a model: a terminal there is a slip, which would wait for input for ever.
    if (given.input == "-" && isatty(STDIN_FILENO))
        throw CommandError(
            "standard input is a terminal: pipe a scene or a mesh in, or name "
            "the file");
    const PrintOptions options = withOutput(given);
    const bool standard = options.input == "-";
    if (!standard && !StandardInputFile::isPipe(options.input)) return printInput(options);
    PrintOptions piped = options;
    piped.input =
        standard ? StandardInputFile::path() : StandardInputFile::copyOfPipe(options.input);
    try {
        printInput(piped);
    } catch (const CommandError& error) {
        throw CommandError(StandardInputFile::described(error.what(), piped.input));
    }
}

}  // namespace

int PlotCommand::run(int argc, const char* const* argv) {
    try {
        const PrintOptions options = CommandLine::parse(argc, argv);
        if (options.help) {
            printHelp();
        } else if (options.version) {
            printVersion();
        } else {
            print(options);
        }
        return 0;
    } catch (const CommandError& error) {
        std::fprintf(stderr, "plotwerk: %s\n", error.what());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "plotwerk: unexpected failure: %s\n", error.what());
    }
    return kFailure;
}
