#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoDeviceValue.h>
#include <PlotWerk/SoGDIPlatform.h>
#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>

#include <tuple>

class SoGDIVectorOutput;

/// The GDI backend: draws each apply (or page) through the Windows GDI onto an enhanced
/// metafile, a printed page or an application's device context, as its SoGDIVectorOutput
/// chooses. Metafiles and printers are mapped in 0.01 mm with y upwards; an application's
/// display context keeps its own mapping and gets millimetres as logical units. Pens and
/// brushes are created only when the colour, width or style changes.
class SoVectorizeGDIAction : public SoVectorizeAction {
    PW_ACTION_HEADER(SoVectorizeGDIAction);

  public:
    SoVectorizeGDIAction();
    /// A copy has the same settings and its own output object, choosing the same target.
    SoVectorizeGDIAction(const SoVectorizeGDIAction& other);
    SoVectorizeGDIAction& operator=(const SoVectorizeGDIAction& other);
    ~SoVectorizeGDIAction() override;

    /// The output object, owned by this action.
    SoGDIVectorOutput* getGDIVectorOutput() const;
    /// 1 when the last document went to a printer context; 0 also when the print dialog
    /// was cancelled.
    int hasPrinter() const { return hasPrinter_; }

  protected:
    /// The print dialog's device context; null when it was cancelled or there is no printer.
    HDC getPrinterDC();

    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    /// Each set bit of the marker's bitmap is a small filled square.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
    /// Square dots of the given size.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override;
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override;
    /// Solid lines with geometric pens; patterned lines dashed in software.
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override;
    /// Filled in the first colour; fill patterns are not drawn.
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override;
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    void printBackground() override;

  private:
    /// A pen as the device context has it: style, width, colour, created by ExtCreatePen.
    using PenKey = std::tuple<unsigned long, unsigned long, unsigned long, int>;

    void readSettings();
    bool openMetafile();
    void openApplicationContext();
    bool openPrinter();
    void setUpBrush();
    void assignColor(SbColor color, float width);
    void selectPen(unsigned long style, unsigned long width, unsigned long color, int extended);
    int isPenUsedAgain(unsigned long style, unsigned long width, unsigned long color, int extended);
    /// Pen and brush of `color` for a filled mark.
    void useMarkColor(const SbColor& color);
    /// The set bits of marker `index` as squares of `pixel` logical units about `at`.
    void printMarkerBits(int index, const SbVec2s& size, POINT at, int pixel);
    /// Selects `pen` in place of the current pen, which is deleted.
    void replacePen(HPEN pen);
    /// Creates, selects and keeps a solid brush of `color` unless it is the current one.
    void useBrush(COLORREF color);
    void pointsToLandscape(POINT* points, int n) const;
    /// Drawing millimetres to logical points, placed on the page and turned for landscape.
    void toLogical(const SbVec4f* points, int n, POINT* out) const;
    /// The size of what the document holds: the page, or the drawing outside a page.
    SbVec2f documentSize() const;
    /// Where this apply's drawing lies on the page, from its corner (none outside a page).
    SbVec2f placeOnPage() const;
    COLORREF colorRef() const;

    SoOwnedOutput<SoGDIVectorOutput> gdiOutput_;

    // Process-wide settings, read at construction.
    bool polygonCompatible_ = false;
    float edgeWidth_ = 0.0f;

    // The document under way.
    HDC dc_ = nullptr;
    int units_ = 100;
    int originX_ = 0, originY_ = 0, pageHeight_ = 0;
    SbString outputName_;
    int hasPrinter_ = 0;
    int documentStarted_ = 0;
    bool clipSet_ = false;
    SbColor currentColor_{0.0f, 0.0f, 0.0f};
    SoDeviceValue<PenKey> pen_;
    HPEN penHandle_ = nullptr;
    SoDeviceValue<COLORREF> brushColor_;
    HBRUSH brushHandle_ = nullptr;
    HFONT fontHandle_ = nullptr;
    SoDeviceValue<float> miterLimit_;
};
