#include "GDITargets.h"

#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoSeparator.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "ActionSettings.h"
#include "CommandError.h"
#include "ViewSetup.h"

namespace {

/// A file of its own in the temporary directory, removed with the object.
class TemporaryMetafile {
  public:
    TemporaryMetafile() {
        const char* directory = std::getenv("TMPDIR");
        path_ = std::string(directory && *directory ? directory : "/tmp") + "/plotwerk-XXXXXX.emf";
        const int descriptor = mkstemps(path_.data(), 4);
        if (descriptor < 0) throw CommandError("cannot create a temporary metafile in " + path_);
        close(descriptor);
    }
    ~TemporaryMetafile() { unlink(path_.c_str()); }
    TemporaryMetafile(const TemporaryMetafile&) = delete;
    TemporaryMetafile& operator=(const TemporaryMetafile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

/// The metafile's bytes when it is complete: as long as its header says (bytes 48 to 51).
std::string completeMetafile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (bytes.size() < 88) return std::string();
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<unsigned char>(bytes[48 + i]);
    return size == bytes.size() ? bytes : std::string();
}

}  // namespace

void GDITargets::writeMetafile(SoVectorizeGDIAction& action, SoSeparator* scene,
                               SafeOutputFile& output) {
    TemporaryMetafile temporary;
    action.getGDIVectorOutput()->openFile(temporary.path().c_str());
    action.apply(scene);
    const std::string bytes = completeMetafile(temporary.path());
    if (bytes.empty()) throw CommandError("the metafile could not be written (see above)");
    std::fwrite(bytes.data(), 1, bytes.size(), output.stream());
    output.checkWritten();
    output.commit();
}

void GDITargets::print(const PrintOptions& options, SoSeparator* scene) {
    if (!options.printQueue.empty())
        SoPreferences::setValue("VXN_PWGDI_PRINTER", options.printQueue.c_str());
    SoVectorizeGDIAction action;
    ActionSettings::apply(action, options);
    ViewSetup::complete(scene, action.getDrawingDimensions(), options.orthographic);
    action.getGDIVectorOutput()->openFile();
    action.apply(scene);
    if (!action.hasPrinter())
        throw CommandError(options.printQueue.empty()
                               ? "no printer: no PRINTER variable and no default print queue"
                               : "no printer: the print queue '" + options.printQueue +
                                     "' does not exist");
}
