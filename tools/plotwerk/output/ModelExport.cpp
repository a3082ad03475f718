#include "output/ModelExport.h"

#include <PlotWerk/SoToPDFAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoGradientBackground.h>
#include <Tessara/nodes/SoSeparator.h>

#include "CommandError.h"
#include "DebugMessages.h"
#include "output/SafeOutputFile.h"
#include "views/ViewSetup.h"

namespace {

// The page the view is framed for: A4 less margins, as the drawings are.
const SbVec2f kPortraitView(190.0f, 277.0f);

// The export's own log repeats on standard error what the command tells in its one line; it
// stays for whoever asks for it by the setting.
void quietExportLog() {
    const char* setting = "VXN_DEBUG_PDF_EXPORT";
    if (!SoPreferences::hasValue(setting)) SoPreferences::setValue(setting, "0");
}

// The page's colour behind the model, as behind a drawing; a background of the scene's own
// comes later and takes over.
void putBackground(const PrintOptions& options, SoSeparator* scene) {
    auto* background = new SoGradientBackground;
    const SbColor color = options.background ? *options.background : SbColor(1, 1, 1);
    background->color0.setValue(color);
    background->color1.setValue(color);
    scene->insertChild(background, 0);
}

bool exported(SoToU3DAction& action, const std::string& fileName, SoSeparator* scene) {
    if (!action.openFile(fileName.c_str())) return false;
    action.apply(scene);
    return action.closeFile();
}

// The engine writes the file by its name: the output's temporary, so that a failure leaves
// an existing file as it was. What the engine posts meanwhile is kept back, and a failure is
// told in one line with the engine's reason.
void exportWith(SoToU3DAction& action, const PrintOptions& options, SoSeparator* scene,
                const char* what) {
    if (options.output == "-")
        throw CommandError(std::string(what) + " is written to a file: name it with -o");
    const SbVec2f view =
        options.landscape ? SbVec2f(kPortraitView[1], kPortraitView[0]) : kPortraitView;
    ViewSetup::complete(scene, view, options, options.view);
    putBackground(options, scene);
    SafeOutputFile output(options.output);
    quietExportLog();
    DebugMessages messages(stderr);
    messages.hold();
    if (!exported(action, output.handOverName(), scene)) {
        const std::string reason = messages.firstHeldReason();
        output.fail(reason.empty() ? "the export engine failed" : reason);
    }
    messages.release();
    output.commit();
}

}  // namespace

void ModelExport::writeU3D(const PrintOptions& options, SoSeparator* scene) {
    SoToU3DAction action;
    exportWith(action, options, scene, "a U3D file");
}

void ModelExport::writePdf3D(const PrintOptions& options, SoSeparator* scene) {
    SoToPDFAction action;
    action.setTitle(options.title.c_str());
    action.setText(options.text.c_str());
    action.setPassword(options.userPassword.c_str(), options.ownerPassword.c_str());
    action.setLandscape(options.landscape ? 1 : 0);
    exportWith(action, options, scene, "a 3D PDF");
}
