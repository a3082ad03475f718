#include <PlotWerk/SoVectorizeSVGAction.h>
#include <cairo-svg.h>

#include "SoSvgTitleStream.h"
#include "frame/SoBackendActionSource.h"

PW_ACTION_SOURCE(SoVectorizeSVGAction, SoVectorizeCairoAction)

SoVectorizeSVGAction::SoVectorizeSVGAction() : stream_(std::make_shared<SoSvgTitleStream>()) {
    checkRegistration();
}

SoVectorizeSVGAction::SoVectorizeSVGAction(const SoVectorizeSVGAction& other)
    : SoVectorizeCairoAction(other),
      title_(other.title_),
      stream_(std::make_shared<SoSvgTitleStream>()) {}

SoVectorizeSVGAction& SoVectorizeSVGAction::operator=(const SoVectorizeSVGAction& other) {
    SoVectorizeCairoAction::operator=(other);
    title_ = other.title_;
    return *this;
}

SoVectorizeSVGAction::~SoVectorizeSVGAction() {
    // cairo writes the end of a sheet left open through the stream, which goes before the
    // base could end it.
    if (isInPage()) endPage();
    endDocument();
}

cairo_surface_t* SoVectorizeSVGAction::createSurface(double widthPoints, double heightPoints) {
    stream_->start(getCairoVectorOutput(), title_);
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(
        SoSvgTitleStream::write, stream_.get(), widthPoints, heightPoints);
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    return surface;
}
