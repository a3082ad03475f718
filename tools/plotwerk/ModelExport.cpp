#include "ModelExport.h"

#include <PlotWerk/SoToPDFAction.h>
#include <Tessara/nodes/SoGradientBackground.h>
#include <Tessara/nodes/SoSeparator.h>

#include "CommandError.h"
#include "ViewSetup.h"

namespace {

// The page the view is framed for: A4 less margins, as the drawings are.
const SbVec2f kPortraitView(190.0f, 277.0f);

void exportWith(SoToU3DAction& action, const PrintOptions& options, SoSeparator* scene,
                const char* what) {
    if (options.output == "-")
        throw CommandError(std::string(what) + " is written to a file: name it with -o");
    const SbVec2f view =
        options.landscape ? SbVec2f(kPortraitView[1], kPortraitView[0]) : kPortraitView;
    ViewSetup::complete(scene, view, options.orthographic);
    // The page's colour behind the model, as behind a drawing; a background of the scene's own
    // comes later and takes over.
    auto* background = new SoGradientBackground;
    const SbColor color = options.background ? *options.background : SbColor(1, 1, 1);
    background->color0.setValue(color);
    background->color1.setValue(color);
    scene->insertChild(background, 0);
    if (!action.openFile(options.output.c_str()))
        throw CommandError("cannot write " + options.output + " (see the messages above)");
    action.apply(scene);
    if (!action.closeFile())
        throw CommandError("cannot write " + options.output + " (see the messages above)");
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
