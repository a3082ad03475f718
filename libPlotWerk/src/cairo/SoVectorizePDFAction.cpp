#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <cairo-pdf.h>

#include "SoPdfDocumentBuffer.h"
#include "frame/SoBackendActionSource.h"

PW_ACTION_SOURCE(SoVectorizePDFAction, SoVectorizeCairoAction)

SoVectorizePDFAction::SoVectorizePDFAction() {
    checkRegistration();
}

SoVectorizePDFAction::SoVectorizePDFAction(const SoVectorizePDFAction& other) = default;

SoVectorizePDFAction& SoVectorizePDFAction::operator=(const SoVectorizePDFAction& other) = default;

SoVectorizePDFAction::~SoVectorizePDFAction() = default;

cairo_surface_t* SoVectorizePDFAction::createSurface(double widthPoints, double heightPoints) {
    cairo_surface_t* surface =
        SoPdfDocumentBuffer::createSurface(getCairoVectorOutput(), widthPoints, heightPoints);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR,
                                   SoPlotWerk::getProductName());
    if (title_.getLength() > 0)
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title_.getString());
    return surface;
}

void SoVectorizePDFAction::setNextSheetSize(cairo_surface_t* surface, double widthPoints,
                                            double heightPoints) {
    cairo_pdf_surface_set_size(surface, widthPoints, heightPoints);
}
