#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SbString.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec4f.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoImage.h>

#include <memory>
#include <vector>

class SoHLHSRVectorize;
class SoMarkerSet;
class SoNode;
class SoPrimitiveVertex;
class SoVectorOutput;
class SoVectorCapture;
class SoVectorClipper;
class SoVectorLighting;

/// The abstract 2D printing action. Applied to a scene, it delivers every shape, line,
/// marker, text and image, transformed, clipped, lit and colour-translated, in page
/// millimetres, to the print operations that each backend overrides.
///
/// Lifecycle of one apply (the backend's hooks in brackets):
///  1. [prepareAction] registers the traversal callbacks on an internal callback action;
///  2. [beginTraversal()] starts the apply; a hidden-line engine is created when a mode is set;
///  3. [writeHeader] unless inside a page whose header was written; then [printBackground];
///  4. the traversal: [setHardwareClip] at every viewport change, the print operations for
///     every primitive (page millimetres, z the normalised depth, w = 1; colours final;
///     every coordinate finite: a primitive, text or image with a NaN or infinite
///     coordinate is left out whole, with an error posted, before any backend sees it);
///  5. annotations, drawn last; [printBorder]; [writeFooter] unless inside a page;
///  6. [endTraversal()] frees what the apply built.
/// Between beginPage() and endPage() several applies share one page and one header. The
/// footer is the backend's, so a backend's destructor ends a page left open (endPage()).
class SoVectorizeAction : public SoAction {
    PW_ACTION_HEADER(SoVectorizeAction);

  public:
    enum DimensionUnit { INCH = 0, MILLIMETER = 1, METER = 2 };
    enum Orientation { PORTRAIT = 0, LANDSCAPE = 1 };
    enum ColorTranslationMethod { SWAP_BLACK_AND_WHITE = 0, KEEP_COLORS = 1, INVERT_COLORS = 2 };
    /// Hidden-line and hidden-surface removal: off, or one of five engine kinds.
    enum HLHSRMode {
        HLHSR_OFF = 0,
        HLHSR_SIMPLE_PAINTER = 1,
        HLHSR_PAINTER = 2,
        HLHSR_PAINTER_SURFACE_REMOVAL = 3,
        HLHSR_RASTER = 4,
        HIDDEN_LINES_REMOVAL = 5
    };
    /// Any value other than FLAT shades smoothly.
    enum ShadeModel { FLAT = 0, SMOOTH = 1 };
    /// Line ends, named after what HP-GL/2 and CGM draw; PostScript, which has no
    /// triangular cap, draws TRIANGULAR_END round.
    enum EndLineStyle { BUTT_END = 0, SQUARE_END = 1, TRIANGULAR_END = 2, ROUND_END = 3 };
    /// Line joins, named after what HP-GL/2 draws. PostScript and CGM, which have neither
    /// "no join" nor triangular joins, draw NO_JOIN bevelled and TRIANGULAR_JOIN round, and
    /// MITERED_BEVELED_JOIN (a mitre bevelled beyond the limit) as a mitre.
    enum JoinLineStyle {
        NO_JOIN = 0,
        MITERED_JOIN = 1,
        MITERED_BEVELED_JOIN = 2,
        BEVELED_JOIN = 3,
        TRIANGULAR_JOIN = 4,
        ROUND_JOIN = 5
    };

    /// The longest length on a sheet, in millimetres (1 km): no sheet is larger, and every
    /// backend's coordinates must fit its integers. A size, position or width beyond it is
    /// refused like a value that is not a number: the setting keeps its value, with an error
    /// posted.
    static constexpr float kLongestLength = 1.0e6f;

    static float unitsToMillimeters(float value, DimensionUnit unit);
    static float millimetersToUnits(float value, DimensionUnit unit);

    // clang-format off: the slot numbers line up as a table
    // Virtual operations, in this order after the base action's slots 0 to 19; slots 0, 10
    // and 19 are declared by PW_ACTION_HEADER.
    ~SoVectorizeAction() override;                                        // 1
    void apply(const SoPathList& pathList, int obeysRules = 0) override;  // 2
    void apply(SoPath* path) override;                                    // 3
    void apply(SoNode* node) override;                                    // 4
    void beginTraversal(SoNode* node) override;                           // 16
    void endTraversal(SoNode* node) override;                             // 17
    /// The output object; owned by the action.
    virtual SoVectorOutput* getVectorOutput() const;  // 20
    /// Starts a page that several applies share: the page's origin and size on the sheet.
    virtual void beginPage(const SbVec2f& startPosition, const SbVec2f& pageSize,
                           DimensionUnit unit = MILLIMETER);  // 21
    /// Ends the page: writes the footer.
    virtual void endPage();                                                             // 22
    virtual void setDrawingDimensions(const SbVec2f& d, DimensionUnit u = MILLIMETER);  // 23
    virtual void setDrawingDimensions(float w, float h, DimensionUnit u = MILLIMETER);  // 24
    virtual SbVec2f getDrawingDimensions(DimensionUnit u = MILLIMETER) const;           // 25
    virtual void setStartPosition(const SbVec2f& p, DimensionUnit u = MILLIMETER);      // 26
    virtual void setStartPosition(float x, float y, DimensionUnit u = MILLIMETER);      // 27
    virtual SbVec2f getStartPosition(DimensionUnit u = MILLIMETER) const;               // 28
    virtual void setOrientation(Orientation orientation);                               // 29
    virtual Orientation getOrientation() const;                                         // 30
    virtual void setBorder(float width, SbColor color);                                 // 31
    virtual void setBorder(float width);                                                // 32
    virtual void getBorder(float* width, SbColor* color) const;                         // 33
    virtual void setBackgroundColor(int enable, SbColor color);                         // 34
    virtual void setBackgroundColor(int enable);                                        // 35
    /// The colour out; the enable flag returned.
    virtual int getBackgroundColor(SbColor* color) const;                       // 36
    virtual void setNominalWidth(float width, DimensionUnit u = MILLIMETER);    // 37
    virtual float getNominalWidth(DimensionUnit u = MILLIMETER) const;          // 38
    virtual void setLinePatternSize(float size, DimensionUnit u = MILLIMETER);  // 39
    virtual float getLinePatternSize(DimensionUnit u = MILLIMETER) const;       // 40
    /// The printed size of one image pixel.
    virtual void setPixelImageSize(float size, DimensionUnit u = MILLIMETER);  // 41
    virtual float getPixelImageSize(DimensionUnit u = MILLIMETER) const;       // 42
    virtual void setColorTranslationMethod(ColorTranslationMethod method);     // 43
    virtual ColorTranslationMethod getColorTranslationMethod() const;          // 44
    virtual void setLineEndStyle(EndLineStyle style);                          // 45
    virtual EndLineStyle getLineEndStyle() const;                              // 46
    virtual void setLineJoinsStyle(JoinLineStyle style);                       // 47
    virtual JoinLineStyle getLineJoinsStyle() const;                           // 48
    /// Values below 1 are stored as 1.
    virtual void setMiterLimit(float limit);  // 49
    virtual float getMiterLimit() const;      // 50
    /// The pen table: `num` pens (at most 256); null colours give a default palette.
    virtual void setPenDescription(int num, const SbColor* colors = nullptr,
                                   const float* widths = nullptr,
                                   DimensionUnit u = MILLIMETER);  // 51
    /// Copies the pens into arrays of getPenNum() entries.
    virtual void getPenDescription(SbColor* colors, float* widths,
                                   DimensionUnit u = MILLIMETER) const;  // 52
    virtual int getPenNum() const;                                       // 53
    /// 1: the colour chooses the pen first; 0: the width does.
    virtual void setColorPriority(int priority);  // 54
    virtual int getColorPriority() const;         // 55
    virtual void setHLHSRMode(HLHSRMode mode);    // 56
    virtual void enableLighting(int enable);      // 57

    HLHSRMode getHLHSRMode() const;
    void setHLHSRRasterQuality(float quality);
    float getHLHSRRasterQuality() const;
    void setHLHSRRasterCaching(int caching);
    int getHLHSRRasterCaching() const;
    void setHLHSRRasterTileSize(unsigned short size);
    unsigned short getHLHSRRasterTileSize() const;
    /// Hidden-line drawings as a drafter draws them (off by default): an edge shared by two
    /// polygons whose planes differ by less than angle (degrees) is left out, and so is one
    /// across which the shape's normals differ by less than angle (a smooth surface); an edge
    /// several primitives share is drawn once. Outlines of curved surfaces stay, and a line
    /// is drawn where faces pass through one another. Marks that a face hides are left out.
    /// At angle 0 no edge is left out.
    void setHiddenLineFeatureEdges(int enable, float angle = 1.0f);
    int getHiddenLineFeatureEdges() const { return featureEdges_; }
    float getHiddenLineFeatureAngle() const { return featureAngle_; }
    /// Hidden-line drawings with the hidden parts of edges as well, drawn in this line
    /// pattern beneath the visible ones, as drafters draw them dashed; 0 (the default) leaves
    /// them out.
    void setHiddenLineHiddenPattern(unsigned short pattern) { hiddenPattern_ = pattern; }
    unsigned short getHiddenLineHiddenPattern() const { return hiddenPattern_; }
    /// Hidden-line drawings in the order a pen plotter draws them fastest (off by default:
    /// primitive by primitive): the lines of one colour, width and pattern together, each
    /// drawn from the end nearest to where the pen stopped.
    void setHiddenLinePenTravelOrder(int enable) { penTravelOrder_ = enable ? 1 : 0; }
    int getHiddenLinePenTravelOrder() const { return penTravelOrder_; }
    int isLightingEnabled() const;
    void setShadeModel(ShadeModel model);
    ShadeModel getShadeModel() const;
    void setPolygonOffset(float offset);
    float getPolygonOffset() const;
    void setLineOffset(float offset);
    float getLineOffset() const;
    void setMarkerOffset(float offset);
    float getMarkerOffset() const;

  protected:
    SoVectorizeAction();
    /// Copies every setting; the copy starts outside any page and apply.
    SoVectorizeAction(const SoVectorizeAction& other);
    SoVectorizeAction& operator=(const SoVectorizeAction& other);

    virtual void beginTraversal();  // 58
    virtual void endTraversal();    // 59
    /// Start of the output (or of the page).
    virtual void writeHeader() = 0;  // 60
    /// End of the output (or of the page).
    virtual void writeFooter() = 0;  // 61
    /// Called at every viewport change: the backend sets its device clip.
    virtual void setHardwareClip() = 0;  // 62
    /// The viewport's part of the drawing area, in millimetres.
    virtual SbBox2f getClippingLimits() const;  // 63
    /// The points of a marker set; the backend draws the node's markers.
    virtual void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                               SoMarkerSet* markerSet);  // 64
    /// Dots of `pointSize`.
    virtual void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                               float pointSize);  // 65
    virtual void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                            SbVec2s& requestedSize, int numComponents,
                            SoImage::HorAlignment horAlignment,
                            SoImage::VertAlignment vertAlignment);  // 66
    /// An open polyline; a closed outline repeats its first point at the end.
    virtual void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                               float lineWidth, unsigned short linePattern,
                               int linePatternScaleFactor);  // 67
    /// A filled polygon; `pattern` is a 32 × 32 bit mask, or null for a solid fill.
    virtual void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                              const SbString& patternString1, const SbString& patternString2,
                              const unsigned char* pattern);  // 68
    /// One line of text at `origin`; fontSize in nominal widths; angle in radians.
    virtual void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                            const SbString& string, int justification,
                            float angle);  // 69
    virtual void printBorder() = 0;        // 70
    virtual void printBackground() = 0;    // 71
    /// Chooses the pen for a colour and a width (mm): its index and its width out.
    virtual void penAssignment(SbColor color, float width, int* penIndex,
                               float* penWidth);  // 72
    /// Registers the traversal callbacks; annotations are delayed when withAnnotations is 1.
    virtual void prepareAction(SoCallbackAction& cba, int withAnnotations);  // 73
    // clang-format on

    /// Colour translation of the current method and the black-and-white preference.
    SbColor translateColor(SbColor color) const;
    /// The colour a primitive of `color` and `width` (mm) prints in: with a pen table, the
    /// colour of the pen penAssignment() chooses.
    SbColor getPenColor(SbColor color, float width);
    /// A line width or point size in millimetres: the scene gives it in nominal widths, and
    /// 0 (the scene's "thinnest") prints as one nominal width so that it stays visible. A width
    /// that is no width (negative, not a number) prints the same, and one wider than any sheet
    /// as wide as the longest sheet, each with a warning: as they are, they would reach the
    /// files as "nan", negative widths or numbers no reader takes.
    float getPrintedWidth(float nominalWidths) const;
    /// Fills the drawing area with the background colour through printPolygon, when a
    /// background is set.
    void fillBackground();
    /// Outlines the drawing area in the border's colour and width through printPolyLine, when
    /// the border has a width.
    void outlineBorder();

    // Page layout for the backends (millimetres).
    float getWidth() const { return drawingWidth_; }
    float getHeight() const { return drawingHeight_; }
    float getShiftX() const { return startPosition_[0]; }
    float getShiftY() const { return startPosition_[1]; }
    float getOffsetX() const;
    float getOffsetY() const;
    float getViewportWidth() const;
    float getViewportHeight() const;
    float getNormalizedWidth() const { return 1.0f; }
    float getNormalizedHeight() const { return 1.0f; }
    const SbViewportRegion& getViewportRegion() const { return viewportRegion_; }
    SbVec2f getPageSize() const { return pageSize_; }
    SbVec2f getPagePosition() const { return pagePosition_; }
    int isInPage() const { return inPage_; }
    /// True once this apply has set a device clip (a backend closes it before the next one).
    int isHardwareClipSet() const { return viewportKnown_; }
    /// For the polyline being printed: how far, in millimetres on the drawing, its line
    /// pattern has already run before its first point. The hidden-surface modes print a
    /// line in pieces, and a backend that starts every piece's pattern afresh loses the
    /// dashes of a line made of pieces shorter than one dash. 0 outside such pieces.
    float getLinePatternPhase() const { return linePatternPhase_; }

    /// Set by the backend's constructor through adoptOutput(); the backend owns the object.
    SoVectorOutput* vectorOutput_ = nullptr;
    /// Makes `output` this action's output. Closing or replacing its stream first ends a page
    /// left open, through `settle` (by default endPage()), into that stream.
    void adoptOutput(SoVectorOutput* output, void (*settle)(SoVectorizeAction*) = nullptr);

  private:
    static void endOpenPage(SoVectorizeAction* action);
    void (*settleOutput_)(SoVectorizeAction*) = nullptr;

    friend class SoHLHSRVectorize;
    friend class SoVectorCapture;
    friend class SoVectorClipper;
    friend class SoVectorLighting;
    friend class SoVectorizeCallbacks;

    void copySettings(const SoVectorizeAction& other);
    void applyTraversal(SoNode* node, SoPath* path, const SoPathList* pathList, int obeysRules);
    void renderDelayedAnnotations();
    SoHLHSRVectorize* getHLHSRVectorize() const { return hlhsr_; }
    /// Page projection: normalised coordinates to millimetres on the drawing area.
    void projectPoints(SbVec4f* points, int n) const;
    void setViewportRegion(const SbViewportRegion& region);
    void setProjectionSource(const SbBox2f& source) { projectionSource_ = source; }
    void setDefaultProjectionSource();
    /// Reads the viewport region element; on a change, flushes and sets the device clip.
    void updateViewport(SoCallbackAction* cba);
    /// The translated diffuse colour of a material index; fullyTransparent out.
    SbColor getColor(SoCallbackAction* cba, int materialIndex, int& fullyTransparent) const;
    SbColor getLightingColor(SoCallbackAction* cba, const SoPrimitiveVertex* vertex,
                             const SbVec4f& point, int& fullyTransparent);

    // Settings, with their defaults.
    float borderWidth_ = 2.0f;
    SbColor borderColor_{1, 1, 1};
    int backgroundEnabled_ = 0;
    SbColor backgroundColor_{0, 0, 0};
    float nominalWidth_ = 25.4f / 72.0f;
    float linePatternSize_ = 16.0f * 25.4f / 72.0f;
    float pixelImageSize_ = 25.4f / 72.0f;
    int penCount_ = 0;
    std::vector<SbColor> penColors_;
    int lineEndStyle_ = 0;
    int lineJoinsStyle_ = 0;
    float miterLimit_ = 1.5f;
    int viewportKnown_ = 0;
    SbVec2f pageSize_{190, 277};
    SbVec2f pagePosition_{10, 10};
    int inPage_ = 0;
    int headerPending_ = 1;
    SoHLHSRVectorize* hlhsr_ = nullptr;
    SbVec2f startPosition_{10, 10};
    int orientation_ = PORTRAIT;
    float drawingWidth_ = 190.0f;
    float drawingHeight_ = 277.0f;
    SbViewportRegion viewportRegion_;
    int colorTranslationMethod_ = SWAP_BLACK_AND_WHITE;
    std::vector<float> penWidths_;
    int colorPriority_ = 1;
    std::unique_ptr<SoVectorCapture> capture_;
    int hlhsrMode_ = HLHSR_OFF;
    float hlhsrRasterQuality_ = 0.5f;
    int hlhsrRasterCaching_ = 1;
    unsigned short hlhsrRasterTileSize_ = 2048;
    int featureEdges_ = 0;
    float featureAngle_ = 1.0f;
    unsigned short hiddenPattern_ = 0;
    int penTravelOrder_ = 0;
    int skipShapes_ = 0;
    std::unique_ptr<SoVectorLighting> lighting_;
    int lightingEnabled_ = 0;
    int shadeModel_ = FLAT;
    float polygonOffset_ = 0.0f;
    float lineOffset_ = 0.0f;
    float markerOffset_ = 0.0f;
    SbBox2f projectionSource_{-1, -1, 1, 1};
    float linePatternPhase_ = 0.0f;
    SoPathList delayedPaths_;
    std::unique_ptr<SoVectorClipper> clipper_;
};
