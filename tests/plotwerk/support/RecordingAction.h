#pragma once

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec4f.h>
#include <Tessara/math/SbViewportRegion.h>

#include <cstddef>
#include <string>
#include <vector>

class SoMarkerSet;

/// One call the traversal made on the backend, with copies of everything it was given.
struct RecordedCall {
    /// The document frame and clips first, then the kinds that draw, from POLYGON on.
    enum Kind {
        HEADER,
        FOOTER,
        HARDWARE_CLIP,
        BACKGROUND,
        BORDER,
        POLYGON,
        POLYLINE,
        POLYMARK_DOTS,     ///< printPolyMark with a point size
        POLYMARK_MARKERS,  ///< printPolyMark with a marker set
        TEXT2,
        IMAGE
    };

    Kind kind = HEADER;

    // Polygons, polylines and marks: n points, and n colours when multicolor else one.
    std::vector<SbVec4f> points;
    std::vector<SbColor> colors;
    int multicolor = 0;
    float lineWidth = 0.0f;
    unsigned short linePattern = 0;
    int linePatternScaleFactor = 0;
    float pointSize = 0.0f;
    /// The marker each point is printed with: the set's list walked from its first entry.
    std::vector<int> markers;
    std::string patternString1;
    std::string patternString2;
    /// The 128 bytes of the fill mask; empty for a solid fill (null mask).
    std::vector<unsigned char> pattern;

    // Text (origin is shared with images).
    SbVec4f origin;
    SbColor color{0, 0, 0};
    std::string fontName;
    float fontSize = 0.0f;
    std::string string;
    int justification = 0;
    float angle = 0.0f;

    // Images.
    std::vector<unsigned char> pixels;
    SbVec2s sourceSize{0, 0};
    SbVec2s requestedSize{0, 0};
    int numComponents = 0;
    int horAlignment = 0;
    int vertAlignment = 0;

    /// For HARDWARE_CLIP: the clipping limits and viewport in force when it was called.
    SbBox2f clippingLimits;
    SbViewportRegion viewport;
};

/// A backend that draws nothing and records, in order, every call the traversal makes on
/// it, so tests above the output formats can compare calls instead of parsing a file.
class RecordingAction : public SoVectorizeAction {
  public:
    /// Ends a page still open, as a backend must: the base class can no longer reach this
    /// class's writeFooter from its own destructor.
    ~RecordingAction() override;

    const std::vector<RecordedCall>& getCalls() const { return calls_; }
    std::size_t count(RecordedCall::Kind kind) const;
    /// The calls of one kind, in order (copies).
    std::vector<RecordedCall> ofKind(RecordedCall::Kind kind) const;
    /// The kinds of all calls, in order: handy to check sequences.
    std::vector<RecordedCall::Kind> kinds() const;
    void clear() { calls_.clear(); }

  protected:
    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
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
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    void printBackground() override;

  private:
    RecordedCall& record(RecordedCall::Kind kind);
    static void copyPoints(RecordedCall& call, const SbVec4f* points, int n, const SbColor* colors,
                           int multicolor);

    std::vector<RecordedCall> calls_;
};
