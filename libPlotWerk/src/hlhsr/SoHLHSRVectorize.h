#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec4f.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoImage.h>

#include <cstdint>
#include <memory>
#include <vector>

class SoGraphicPrimitive;
class SoGraphicPrimitiveList;
class SoFlatFaceJoiner;
class SoHiddenLines;
class SoMarkerSet;
class SoPointMarkers;
class SoVectorizeAction;

/// The hidden-line and hidden-surface stage between the action's clipping and the backend:
/// it stores every clipped primitive of a viewport (normalised coordinates, colours final)
/// and, at flush, orders or filters the records by its mode and prints them through the
/// action. Modes: 0 depth sort, 1 painter's ordering with splitting, 2 the same after an
/// offscreen pass that drops hidden polygons, 3 raster visibility, 4 hidden-line removal.
/// The engine lives for one apply; the action creates it, feeds it and destroys it.
class SoHLHSRVectorize {
  public:
    /// mode is the engine mode (0 to 4), one less than the action's public mode.
    SoHLHSRVectorize(SoVectorizeAction* action, int mode);
    ~SoHLHSRVectorize();
    SoHLHSRVectorize(const SoHLHSRVectorize&) = delete;
    SoHLHSRVectorize& operator=(const SoHLHSRVectorize&) = delete;

    /// Depth added to stored filled polygons, to lines and outlines, and to marks.
    void setPolygonOffset(float offset) { polygonOffset_ = offset; }
    void setLineOffset(float offset) { lineOffset_ = offset; }
    void setMarkerOffset(float offset) { markerOffset_ = offset; }

    /// Starts the records of a new viewport (the action flushes the previous one first).
    void beginViewport();
    /// A clipped polygon; style 0 filled, 1 outline, 2 points. One colour per point, and
    /// where given the shape's unit normal at each point (hidden lines tell smooth surfaces
    /// by them).
    void addPolygon(const SbVec4f* points, int numPoints, const SbColor* colors, int multicolor,
                    float lineWidth, float markerSize, unsigned short linePattern,
                    int linePatternScaleFactor, int style, const SbString& string1,
                    const SbString& string2, const unsigned char* pattern, float offsetFactor,
                    float offsetUnits, const SbVec3f* normals = nullptr);
    void addPolyLine(const SbVec4f* points, int numPoints, const SbColor* colors, int multicolor,
                     float lineWidth, unsigned short linePattern, int linePatternScaleFactor);
    /// Dots of markerSize, or, when markerSet is not null, its markers from its first index
    /// on: point i takes its list's entry i, the list starting again past its end.
    void addPolyMark(const SbVec4f* points, int numPoints, const SbColor* colors, int multicolor,
                     float markerSize, SoMarkerSet* markerSet);
    void addText(const SbVec4f& point, const SbColor& color, const SbString& fontName, float size,
                 int numStrings, const SbString* strings, float spacing, int justification,
                 float angle);
    /// data is not copied: it must live until the flush that prints it.
    void addImage(const SbVec4f& point, const unsigned char* data, const SbVec2s& size,
                  const SbVec2s& size2, int numComponents, int horAlignment, int vertAlignment);
    /// Orders the records of the current viewport by the mode, prints them and drops them.
    void flush();

    int getMode() const { return mode_; }
    SoVectorizeAction* getAction() const { return action_; }
    /// The records of the current viewport; null before beginViewport and after flush.
    SoGraphicPrimitiveList* getPrimitives() const { return primitives_; }
    float getPolygonOffset() const { return polygonOffset_; }
    float getLineOffset() const { return lineOffset_; }
    float getMarkerOffset() const { return markerOffset_; }
    /// The number the next stored record takes.
    static int getSequence() { return sequence; }

    // The action's services the records print through (records are not its friends).
    void projectPoints(SbVec4f* points, int n) const;
    /// Where projectPoints puts things: the viewport on the drawing and the box of
    /// coordinates mapped onto it (by default the normalised square).
    void setViewportRegion(const SbViewportRegion& region);
    const SbViewportRegion& getViewportRegion() const;
    void setProjectionSource(const SbBox2f& source);
    void setDefaultProjectionSource();
    /// The action's nominal width in millimetres.
    float getNominalWidth() const;
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& string1, const SbString& string2,
                      const unsigned char* pattern);
    /// patternPhase: how far (millimetres) the pattern ran before the first point.
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern, int linePatternScaleFactor,
                       float patternPhase = 0.0f);
    /// The printed length (millimetres) of each of the n - 1 segments of a polyline of
    /// normalised points, and of the closing one too when closed.
    std::vector<float> printedLengths(const SbVec4f* points, int n, bool closed) const;
    /// The same where the lines mode prints some piece of the polyline in a pattern, else
    /// nothing.
    std::vector<float> patternLengths(const SbVec4f* points, int n, bool closed,
                                      unsigned short linePattern) const;
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet);
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float markerSize);
    /// Marks that take markers[i] at point i.
    void printMarkers(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const std::int32_t* markers);
    void printText2(const SbVec4f& origin, const SbColor& color, const SbString& fontName,
                    float size, const SbString& string, int justification, float angle);
    void printImage(const SbVec4f& origin, const unsigned char* data, SbVec2s& size, SbVec2s& size2,
                    int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment);

  private:
    /// The list records go to; one is started (with a warning) when no viewport was begun.
    SoGraphicPrimitiveList* currentList(const char* operation);
    /// Whether the record is still the list's last: taking out hidden copies may take it.
    bool store(SoGraphicPrimitiveList* list, SoGraphicPrimitive* record);
    /// Prints the visible lines of mode 4 and drops the eliminator.
    void printVisibleLines();
    /// Takes out of the marks stored the points that the hidden-line eliminator's faces hide.
    void leaveOutHiddenMarks();
    /// The raster mode's outline polygons and point polygons become segments and dots.
    /// Stores the segments of a polyline (closed: and the closing one) as records of
    /// their own, each continuing the pattern where the one before left it.
    void storeSegments(SoGraphicPrimitiveList* list, const SbVec4f* points, int numPoints,
                       bool closed, const SbColor* colors, int multicolor, float lineWidth,
                       unsigned short linePattern, int linePatternScaleFactor);
    void storeDots(SoGraphicPrimitiveList* list, const SbVec4f* points, int numPoints,
                   const SbColor* colors, int multicolor, float markerSize);

    SoVectorizeAction* action_;
    /// The hidden-line eliminator of mode 4, one per viewport.
    SoHiddenLines* hiddenLines_ = nullptr;
    SoGraphicPrimitiveList* primitives_ = nullptr;
    /// The length of the record list at which the copies that later ones hide are taken out
    /// next: a shape used many times then never holds more than the copies since the last
    /// time in memory.
    int copyCheckAt_ = kFirstCopyCheck;
    static constexpr int kFirstCopyCheck = 1 << 20;
    int mode_;
    float polygonOffset_ = 0.0f;
    float lineOffset_ = 0.0f;
    float markerOffset_ = 0.0f;
    /// The node marks print their markers through.
    std::unique_ptr<SoPointMarkers> pointMarkers_;
    std::unique_ptr<SoFlatFaceJoiner> faceJoiner_;

    /// Numbers the stored records of the current viewport, process-wide.
    static int sequence;
};
