#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoVectorizeCairoAction.h>

#include <memory>

class SoSvgTitleStream;

/// The SVG backend: each sheet an SVG 1.1 document that browsers show as it is, with the text
/// as outlines of the glyphs it uses, so that it looks the same without the fonts. SVG has no
/// triangle meshes: a smooth triangle is drawn with the linear gradient nearest to it.
class SoVectorizeSVGAction : public SoVectorizeCairoAction {
    PW_ACTION_HEADER(SoVectorizeSVGAction);

  public:
    SoVectorizeSVGAction();
    SoVectorizeSVGAction(const SoVectorizeSVGAction& other);
    SoVectorizeSVGAction& operator=(const SoVectorizeSVGAction& other);
    ~SoVectorizeSVGAction() override;

    /// The title that browsers show for the documents written from now on; none by default.
    void setTitle(const SbString& title) { title_ = title; }
    const SbString& getTitle() const { return title_; }

  protected:
    cairo_surface_t* createSurface(double widthPoints, double heightPoints) override;
    bool drawsMeshesNatively() const override { return false; }
    bool readersSmoothImages() const override { return true; }

  private:
    SbString title_;
    /// What cairo writes through, each action its own, as long as the action lives.
    std::shared_ptr<SoSvgTitleStream> stream_;
};
