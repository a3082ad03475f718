#include <PlotWerk/SoVectorizeSVGAction.h>
#include <cairo-svg.h>

#include "SoCairoStream.h"
#include "frame/SoBackendActionSource.h"

PW_ACTION_SOURCE(SoVectorizeSVGAction, SoVectorizeCairoAction)

SoVectorizeSVGAction::SoVectorizeSVGAction() {
    checkRegistration();
}

SoVectorizeSVGAction::SoVectorizeSVGAction(const SoVectorizeSVGAction& other) = default;

SoVectorizeSVGAction& SoVectorizeSVGAction::operator=(const SoVectorizeSVGAction& other) = default;

SoVectorizeSVGAction::~SoVectorizeSVGAction() = default;

cairo_surface_t* SoVectorizeSVGAction::createSurface(double widthPoints, double heightPoints) {
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(
        SoCairoStream::write, getCairoVectorOutput(), widthPoints, heightPoints);
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    return surface;
}
