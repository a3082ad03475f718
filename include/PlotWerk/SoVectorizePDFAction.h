#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoVectorizeCairoAction.h>

/// The PDF backend: each sheet a one-page PDF document with compressed streams, its fonts
/// embedded as subsets, smooth polygons shaded as Gouraud triangles (a free-form triangle
/// shading) and fill patterns as tiling images. Between beginDocument() and endDocument() the
/// sheets are the pages of one document, each of its own size, written when it ends; the
/// output's stream must stay open until then.
class SoVectorizePDFAction : public SoVectorizeCairoAction {
    PW_ACTION_HEADER(SoVectorizePDFAction);

  public:
    SoVectorizePDFAction();
    SoVectorizePDFAction(const SoVectorizePDFAction& other);
    SoVectorizePDFAction& operator=(const SoVectorizePDFAction& other);
    ~SoVectorizePDFAction() override;

    using SoVectorizeCairoAction::beginDocument;
    using SoVectorizeCairoAction::endDocument;

    /// The title that readers show for the documents written from now on; none by default.
    void setTitle(const SbString& title) { title_ = title; }
    const SbString& getTitle() const { return title_; }

  protected:
    cairo_surface_t* createSurface(double widthPoints, double heightPoints) override;
    void setNextSheetSize(cairo_surface_t* surface, double widthPoints,
                          double heightPoints) override;
    bool drawsMeshesNatively() const override { return true; }
    bool readersSmoothImages() const override { return false; }

  private:
    SbString title_;
};
