// Exports a cube through the engine module named on the command line, loaded as the library
// loads any engine, and prints the engine's log of the calls it got.
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoToU3DAction.h>
#include <Tessara/misc/SoLibPdf.h>

#include <cstdio>

#include "CubeScene.h"
#include "engine/RecordingEngine.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    SoPlotWerk::init();
    SoPreferences::setValue("VXN_U3D_ENGINE", argv[1]);
    SoSeparator* root = readCubeScene();
    bool exported = false;
    if (root) {
        SoToU3DAction action;
        exported = action.openFile("cube.u3d");
        action.apply(root);
        exported = action.closeFile() && exported;
        root->unref();
    }
    for (const std::string& line : recording_engine::log()) std::puts(line.c_str());
    SoPlotWerk::finish();
    return exported ? 0 : 1;
}
