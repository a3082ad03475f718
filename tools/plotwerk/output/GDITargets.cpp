#include "output/GDITargets.h"

#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoSeparator.h>
#include <strings.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "CommandError.h"
#include "DebugMessages.h"
#include "output/ActionSettings.h"
#include "output/OutputFormat.h"
#include "views/ViewSheet.h"

namespace {

/// A directory of its own in the temporary directory, removed with what it holds.
class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        const char* directory = std::getenv("TMPDIR");
        path_ = std::string(directory && *directory ? directory : "/tmp") + "/plotwerk-XXXXXX";
        if (!mkdtemp(path_.data())) throw CommandError("cannot create a directory in " + path_);
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path_); }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

/// Works in another directory while it exists.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& path)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

/// Whether the metafile is complete: as long as its header says (bytes 48 to 51). Leaves the
/// file at its start.
bool isComplete(std::ifstream& file) {
    char header[88];
    if (!file.read(header, sizeof header)) return false;
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<unsigned char>(header[48 + i]);
    file.seekg(0, std::ios::end);
    const bool complete = file.tellg() == std::streamoff(size);
    file.seekg(0);
    return complete;
}

/// The file's bytes to the output, a piece at a time: a metafile of a big mesh is hundreds of
/// megabytes.
void copyTo(SafeOutputFile& output, std::ifstream& file) {
    std::string piece(1 << 20, '\0');
    while (file.read(piece.data(), static_cast<std::streamsize>(piece.size())) || file.gcount() > 0)
        output.writeAll(std::string_view(piece.data(), static_cast<size_t>(file.gcount())));
}

}  // namespace

// The metafile names itself in its description: it is written under the output's own name,
// in a private directory, so that the name is neither a temporary's nor a path.
void GDITargets::writeMetafile(SoVectorizeGDIAction& action, SoSeparator* scene,
                               SafeOutputFile& output, const PrintOptions& options) {
    const std::string& outputName = options.output;
    const std::string base = std::filesystem::path(outputName).filename();
    std::string name = base.empty() || outputName == "-" ? "drawing.emf" : base;
    const std::string extension = std::filesystem::path(name).extension();
    if (strcasecmp(extension.c_str(), ".emf") != 0) name += ".emf";
    TemporaryDirectory directory;
    // What the backend posts meanwhile is kept back: a failure is told in one line, with the
    // backend's reason.
    DebugMessages messages(stderr);
    messages.hold();
    {
        const WorkingDirectory inside(directory.path());
        action.getGDIVectorOutput()->openFile(name.c_str());
        ViewSheet::draw(action, scene, options);
    }
    std::ifstream file(directory.path() + "/" + name, std::ios::binary);
    if (!isComplete(file)) {
        const std::string reason = messages.firstHeldReason();
        output.fail(reason.empty() ? "the metafile came out incomplete" : reason);
    }
    messages.release();
    copyTo(output, file);
    output.commit();
}

void GDITargets::print(const PrintOptions& options, SoSeparator* scene) {
    if (!options.printQueue.empty())
        SoPreferences::setValue("VXN_PWGDI_PRINTER", options.printQueue.c_str());
    SoVectorizeGDIAction action;
    // Through GDI, as a metafile: one colour a face.
    ActionSettings::apply(action, OutputFormat::choose("emf", "").drawnWith(options));
    action.getGDIVectorOutput()->openFile();
    ViewSheet::draw(action, scene, options);
    if (!action.hasPrinter())
        throw CommandError(options.printQueue.empty()
                               ? "no printer: no PRINTER variable and no default print queue"
                               : "no printer: the print queue '" + options.printQueue +
                                     "' does not exist");
}
