#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoToPDFAction.h>
#include <PlotWerk/SoToU3DAction.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeCairoAction.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/misc/SoModule.h>

int SoPlotWerk::s_initRefCount = 0;

namespace {

// Tells the core, from the moment the library is loaded, which module and version it is.
const SoModule moduleRecord("zor_plotWerkD.dll", "10.17.2.0", "", "64 bits", true, true);

// Identification strings for file-inspection tools, which look for the "@(#)" marker. The
// build identifier is the source revision the library was configured from.
[[gnu::used]] const char libraryWhat[] = "@(#)PlotWerk vector printing library (64 bits)";
[[gnu::used]] const char versionWhat[] = "@(#)10.17.2.0.Release." PLOTWERK_BUILD_ID;

}  // namespace

void SoPlotWerk::init() {
    SoDB::init();
    if (s_initRefCount == 0) {
        // Each backend joins this list, in this order, as it is added to the library.
        SoVectorizeAction::initClass();
        SoVectorizeCGMAction::initClass();
        SoVectorizeGDIAction::initClass();
        SoVectorizeHPGLAction::initClass();
        SoVectorizePSAction::initClass();
        SoToU3DAction::initClass();
        SoToPDFAction::initClass();
        SoVectorizeCairoAction::initClass();
        SoVectorizePDFAction::initClass();
        SoVectorizeSVGAction::initClass();
    }
    ++s_initRefCount;
}

void SoPlotWerk::finish() {
    if (s_initRefCount == 0) return;
    if (--s_initRefCount == 0) {
        SoVectorizeSVGAction::exitClass();
        SoVectorizePDFAction::exitClass();
        SoVectorizeCairoAction::exitClass();
        SoToPDFAction::exitClass();
        SoToU3DAction::exitClass();
        SoVectorizePSAction::exitClass();
        SoVectorizeHPGLAction::exitClass();
        SoVectorizeGDIAction::exitClass();
        SoVectorizeCGMAction::exitClass();
        SoVectorizeAction::exitClass();
        // No export engine is left: the module can go.
        SoLibPdf::release();
    }
    SoDB::finish();
}

const char* SoPlotWerk::getProductName() {
    return "PlotWerk";
}

const char* SoPlotWerk::getVersion() {
    return "10.17.2.0";
}
