#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoCairoVectorOutput.h>
#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>

#include <memory>

// cairo's own declaration: the header stays free of cairo's include path.
typedef struct _cairo_surface cairo_surface_t;

class SoCairoPage;

/// The backends that draw through cairo's document surfaces: one sheet per header and footer,
/// written whole to the stream of their SoCairoVectorOutput when the footer ends it. The page
/// is the drawing with its start position as margin on every side (the page and its position
/// between beginPage() and endPage()). In landscape the sheet is as wide as the drawing, which
/// stands upright on it: not turned a quarter on an upright sheet as in PostScript.
///
/// Adjacent fills show no seams in viewers that anti-alias: consecutive flat fills of one
/// colour go into one path, filled at once, and every fill is grown by half of
/// getSeamWidth() on every side, so that it overlaps the fills it meets. Smooth polygons are
/// shaded by each format's best means: the subclass says which.
///
/// Fill rule: nonzero, with every polygon turned counter-clockwise, so that fills of one
/// colour merge and a polygon that crosses itself fills both its loops.
class SoVectorizeCairoAction : public SoVectorizeAction {
    PW_ACTION_HEADER(SoVectorizeCairoAction);

  public:
    ~SoVectorizeCairoAction() override;

    /// The output object, owned by this action.
    SoCairoVectorOutput* getCairoVectorOutput() const;
    /// How much two fills that meet overlap, to close the seams between them (0.2 mm by
    /// default, what closes them at 72 dpi in poppler and Chromium); 0 leaves fills as they
    /// are.
    void setSeamWidth(float width, DimensionUnit unit = MILLIMETER);
    float getSeamWidth(DimensionUnit unit = MILLIMETER) const;

  protected:
    SoVectorizeCairoAction();
    /// The copy has the same settings and its own output object, on standard output; it
    /// starts outside any sheet.
    SoVectorizeCairoAction(const SoVectorizeCairoAction& other);
    SoVectorizeCairoAction& operator=(const SoVectorizeCairoAction& other);

    /// A document surface of one sheet of the given size in points that writes to the
    /// output object through SoCairoStream.
    virtual cairo_surface_t* createSurface(double widthPoints, double heightPoints) = 0;
    /// Sizes the next page of a document surface that holds several; formats of one sheet
    /// never get a second.
    virtual void setNextSheetSize(cairo_surface_t*, double /*widthPoints*/,
                                  double /*heightPoints*/) {}
    /// True when the format takes cairo's triangle meshes as they are; otherwise a smooth
    /// triangle is drawn with the linear gradient nearest to its colours.
    virtual bool drawsMeshesNatively() const = 0;
    /// True when the format's readers smooth every image they scale, so that an image is
    /// written with blocks of pixels for its pixels.
    virtual bool readersSmoothImages() const = 0;

    /// From here, the sheets are the pages of one document, which endDocument() writes; without
    /// it each sheet is a document of its own.
    void beginDocument();
    /// Ends a sheet still open, and writes the document; no effect outside a document.
    void endDocument();

    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
    /// Square dots of the point size, as the PostScript backend draws them.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override;
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override;
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override;
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override;
    /// Text in a face found through fontconfig, embedded in the document as a subset.
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    void printBackground() override;

  private:
    /// What a stream about to close still needs: an open page ended and the document written.
    /// cairo writes a document only as it lets the surface go.
    static void endEverything(SoVectorizeAction* action);
    void setLineStyle(float width, unsigned short pattern, int factor);
    /// The dashes of pattern, starting `phase` millimetres into it.
    void setDash(unsigned short pattern, int factor, float phase);
    /// Draws what waits and ends the open sheet, if any: its document too outside a document.
    void endSheet();
    /// The surface for a sheet of the given size in points: the document's next page or a
    /// document of its own.
    cairo_surface_t* sheetSurface(double widthPoints, double heightPoints);

    SoOwnedOutput<SoCairoVectorOutput> output_;
    /// The sheet between its header and its footer.
    std::unique_ptr<SoCairoPage> page_;
    /// Between beginDocument() and endDocument(): whether one is open, and its surface once
    /// its first sheet has begun.
    bool inDocument_ = false;
    cairo_surface_t* document_ = nullptr;
    float seamWidth_ = 0.2f;
};
