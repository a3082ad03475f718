#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoDeviceValue.h>
#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SbString.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class SoCGMBinaryEncoder;
class SoCGMClearTextElements;
class SoCGMEncoder;
class SoCGMVectorOutput;

/// The Computer Graphics Metafile backend: one metafile with one picture per apply (or per
/// page), in the clear-text or the binary encoding that SoCGMVectorOutput selects. Positions
/// are page millimetres (the metafile's VDC, metric scaling); attributes are written only
/// when they change.
///
/// Clear-text texts that Latin-1 cannot hold are written in UTF-8 between their quotes.
class SoVectorizeCGMAction : public SoVectorizeAction {
    PW_ACTION_HEADER(SoVectorizeCGMAction);

  public:
    SoVectorizeCGMAction();
    /// A copy has the same settings and metafile state and its own output object and
    /// encoders, which write to standard output until given a stream.
    SoVectorizeCGMAction(const SoVectorizeCGMAction& other);
    SoVectorizeCGMAction& operator=(const SoVectorizeCGMAction& other);
    ~SoVectorizeCGMAction() override;

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
    void assignColor(SbColor colour, float width, int* index, SbColor* colourOut);

    // The metafile frame.
    bool indexed() const;
    int version() const;
    std::vector<int> colourTable() const;
    /// The encoder of the output's encoding, with the drawing's offset on the page brought
    /// up to date: the one place that looks at the encoding.
    SoCGMEncoder& out() const;

    /// The primitive kinds that keep a colour index of their own in the cache (the
    /// encoder's colour kinds).
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
    void writeMarkerBitmap(const SbVec4f& point, int markerIndex, const SbColor& colour,
                           const SbColor& transparent);
    void writeTextAttributes(const SbString& fontName, int justification);

    SoOwnedOutput<SoCGMVectorOutput> cgmOutput_;
    std::unique_ptr<SoCGMBinaryEncoder> binaryEncoder_;
    std::unique_ptr<SoCGMClearTextElements> clearTextEncoder_;

    /// The last value of every attribute written to the current metafile, so that an
    /// attribute element is written only when its value changes, and what the metafile has
    /// defined; each header starts afresh.
    struct AttributeCache {
        SoDeviceValue<float> lineWidth;
        /// The pattern and its factor; the factor of a solid line does not count.
        SoDeviceValue<std::pair<unsigned short, int>> lineType;
        SoDeviceValue<float> fontSize;
        SoDeviceValue<SbString> fontName;
        SoDeviceValue<int> justification;
        SoDeviceValue<float> textAngle;
        /// An index per colour kind, and one colour that all kinds share.
        std::array<SoDeviceValue<int>, 4> colourIndex;
        SoDeviceValue<SbColor> colour;
        int currentPatternIndex = 1;
        /// The two names of each patterned polygon's pattern table entry, in entry order.
        std::vector<std::array<SbString, 2>> patternNames;
        /// The number the next user-defined line type of this metafile takes: -1, -2, ...
        int nextUserLineType = -1;
        /// Forgets everything, then takes what BEGIN METAFILE sets up.
        void invalidate();
    };
    AttributeCache cache_;
};
