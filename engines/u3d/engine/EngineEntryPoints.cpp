// The engine module's entry points, as the library's loader looks them up.

#include <PlotWerk/SoToU3DActionPrivate.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/nodes/SoFont.h>

#include "U3DDocumentViews.h"
#include "U3DEngine.h"
#include "pdf/U3DPdfWriter.h"

namespace {

// The view of a U3D file this module did not write: from the front, at the given distance.
u3d::U3DViewpoint viewOfForeignFile(float centerOfOrbit) {
    u3d::U3DViewpoint view;
    view.cameraToWorld.setTranslate(SbVec3f(0, 0, centerOfOrbit));
    view.focalDistance = centerOfOrbit;
    return view;
}

}  // namespace

extern "C" {

SoToU3DActionPrivate* m_so_init_u3d() {
    return new U3DEngine;
}

void m_so_finish_u3d(SoToU3DActionPrivate* engine) {
    delete engine;
}

bool m_so_write_pdf(const SbString& pdfFile, const SbString& password1, const SbString& password2,
                    const SbString& title, const SbString& text, const SbString& u3dFile,
                    const SbString& mainViewName, bool flagA, float valueB, float valueC,
                    bool flagD, const SbColor& backgroundColor, bool landscape) {
    std::optional<u3d::U3DDocumentViews::Entry> scene =
        u3d::U3DDocumentViews::take(u3dFile.getStdString());
    const u3d::U3DViewpoint view = scene ? scene->view : viewOfForeignFile(valueC);
    u3d::U3DPdfRequest request;
    request.pdfFile = pdfFile.getStdString();
    request.u3dFile = u3dFile.getStdString();
    request.userPassword = password1.getStdString();
    request.ownerPassword = password2.getStdString();
    request.title = title.getStdString();
    request.text = text.getStdString();
    request.landscape = landscape;
    // The core's faces for the standard fonts' names have the standard fonts' widths.
    request.lineWidth = [](const std::string& utf8, const char* font, double size) {
        return SoFont::getLineWidth(SbName(font), static_cast<float>(size), SbString(utf8.c_str()));
    };
    request.view.name = mainViewName.getStdString();
    request.view.cameraToWorld = view.pdfCameraToWorld();
    request.view.centerOfOrbit = valueC;
    request.view.orthographic = flagA;
    request.view.fieldOfView = valueB;
    request.view.orthoScale = valueB;
    request.view.background = {backgroundColor[0], backgroundColor[1], backgroundColor[2]};
    request.view.lighting = flagD ? "Artwork" : "Headlamp";
    if (scene) request.poster = std::move(scene->poster);
    std::string error;
    if (u3d::U3DPdfWriter().write(request, &error)) return true;
    SoDebugError::post("m_so_write_pdf", "%s", error.c_str());
    return false;
}

}  // extern "C"
