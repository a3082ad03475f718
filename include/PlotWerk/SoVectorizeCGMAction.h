#pragma once

#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SbPList.h>
#include <Tessara/base/SbString.h>

#include <cstdio>
#include <memory>
#include <vector>

class SoCGMBinaryElements;
class SoCGMBinaryWriter;
class SoCGMClearTextElements;
class SoCGMVectorOutput;

/// The Computer Graphics Metafile backend: one metafile with one picture per apply (or per
/// page), in the clear-text or the binary encoding that SoCGMVectorOutput selects. Positions
/// are page millimetres (the metafile's VDC, metric scaling); attributes are written only
/// when they change.
///
/// Clear-text texts that Latin-1 cannot hold are written in UTF-8 between their quotes.
class SoVectorizeCGMAction : public SoVectorizeAction {
  public:
    static void initClass();
    static void exitClass();
    static SoType getClassTypeId();
    static void addMethod(SoType nodeType, SoActionMethod method);
    static void enableElement(SoType elementType, int stackIndex);

    SoVectorizeCGMAction();
    /// One action owns its output, write buffer and pattern records: it is not copied.
    SoVectorizeCGMAction(const SoVectorizeCGMAction&) = delete;
    SoVectorizeCGMAction& operator=(const SoVectorizeCGMAction&) = delete;
    ~SoVectorizeCGMAction() override;

    SoType getTypeId() const override;
    const SoEnabledElementsList& getEnabledElements() const override;
    SoActionMethodList* getActionMethods() override;

    /// The output object, owned by this action.
    SoCGMVectorOutput* getCGMVectorOutput() const;

  protected:
    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    /// The viewport's part of the drawing in millimetres; in clear text on the sheet (with
    /// the offset), in binary on the drawing (the writer adds the offset to every point).
    SbBox2f getClippingLimits() const override;
    /// Bitmap markers as cell arrays in the marker's colour over transparent cells.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
    /// Dot markers of `pointSize` nominal widths.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override;
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override;
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override;
    /// A solid fill, or a pattern table entry in the fill colour over the background.
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override;
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    /// Nothing: the background is the metafile's background colour or colour table entry 0.
    void printBackground() override;

  private:
    static SoType classTypeId;
    static SoEnabledElementsList* enabledElements;
    static SoActionMethodList* methods;

    void checkRegistration();
    void assignColor(SbColor colour, float width, int* index, SbColor* colourOut);

    // The metafile frame.
    bool binary() const;
    bool indexed() const;
    int version() const;
    void writeBinaryHeader();
    std::vector<int> colourTable() const;
    void resetAttributeCache();
    void clearPatternRecords();
    SbVec2f extentOrigin() const;
    SbVec2f extentSize() const;
    /// The encoders, with the drawing's offset on the page brought up to date.
    SoCGMBinaryElements& binaryOut();
    SoCGMClearTextElements& textOut();

    /// The primitive kinds that keep a colour index of their own in the cache.
    enum ColourKind { MARKER_COLOUR, LINE_COLOUR, FILL_COLOUR, TEXT_COLOUR };
    /// Whether a colour differs from the kind's last index or the shared last colour; both
    /// take the new values.
    bool colourChanged(ColourKind kind, int index, const SbColor& colour);
    void writeColourElement(ColourKind kind, int index, const SbColor& colour);

    // Parts of the print operations.
    void writeLineStyle(unsigned short pattern, int factor);
    int patternIndexOf(const SbString& name1, const SbString& name2, bool* isNew);
    void writePatternTable(const unsigned char* pattern, int index, const SbColor& colour);
    void writeMarkerRuns(const SbVec4f* points, int n, const SbColor* colors);
    /// Cells as the colour mode reads them: `indices` in indexed colour, else `colours`.
    void writeCellArray(const SbVec4f corners[3], int columns, int rows,
                        const std::vector<int>& indices, const std::vector<SbColor>& colours,
                        int cellsPerLine);
    void writeMarkerBitmap(const SbVec4f& point, int markerIndex, const SbColor& colour,
                           const SbColor& transparent);
    void writeTextAttributes(const SbString& fontName, int justification);

    SoOwnedOutput<SoCGMVectorOutput> cgmOutput;
    std::unique_ptr<SoCGMBinaryWriter> writer;
    std::unique_ptr<SoCGMBinaryElements> binaryElements;
    std::unique_ptr<SoCGMClearTextElements> clearText;

    // The attribute cache of the current metafile.
    float lastLineWidth = 0.0f;
    unsigned short lastLinePattern = 0xFFFF;
    int lastPatternFactor = 1;
    int lineEndStyle = 0;
    int lineJoinStyle = 0;
    float miterLimit = 1.5f;
    float lastFontSize = -1.0f;
    SbString lastFontName;
    int lastJustification = -1;
    float lastTextAngle = 0.0f;
    int lastColourIndex[4] = {0, 0, 0, 0};
    SbColor lastColour{0.0f, 0.0f, 0.0f};
    int currentPatternIndex = 1;
    int patternCount = 0;
    /// Owned records of the pattern names seen in this metafile.
    SbPList patternRecords;
};
