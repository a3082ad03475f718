#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec4f.h>

#include <vector>

/// What the metafile descriptor and the picture descriptor say: the same in both encodings.
struct SoCGMPictureSetup {
    int version = 1;
    bool indexed = false;
    /// The background colour, translated; none when the drawing has no background.
    const SbColor* background = nullptr;
    SbVec2f extentOrigin;
    SbVec2f extentSize;
    /// r, g, b (0..255) per colour table entry; empty in direct colour.
    std::vector<int> colourTable;
};

/// The metafile elements the CGM action writes, one operation per element or per fixed run of
/// elements, implemented once per encoding; the action decides what to write and never asks
/// how. Points get the drawing's offset on the page added (setPointOffset). Where the two
/// encodings write a different run of elements for one decision (text geometry, fills),
/// the operation takes the decision and each encoding writes its own run.
class SoCGMEncoder {
  public:
    /// The primitive kinds that have a colour element of their own.
    enum ColourKind { MARKER_COLOUR, LINE_COLOUR, FILL_COLOUR, TEXT_COLOUR };

    virtual ~SoCGMEncoder() = default;

    virtual void setPointOffset(float x, float y) = 0;
    /// Whether the viewport clip limits are taken on the sheet (with the offset) instead of
    /// on the drawing.
    virtual bool clipsOnTheSheet() const = 0;

    /// The metafile and picture descriptors up to the picture body and its colour table.
    virtual void header(const SoCGMPictureSetup& setup) = 0;
    virtual void footer() = 0;
    /// The viewport clip, `limits` as clipsOnTheSheet() says.
    virtual void viewportClip(const SbBox2f& limits) = 0;
    /// A clip rectangle on the drawing.
    virtual void clipRectangle(float x0, float y0, float x1, float y1) = 0;
    /// The index in indexed colour, the colour in direct colour.
    virtual void colour(ColourKind kind, bool indexed, int index, const SbColor& colour) = 0;

    virtual void lineTypeDefinition(int type, float dashSize, const std::vector<int>& runs) = 0;
    virtual void lineType(int type) = 0;
    virtual void lineCapJoinAndMitre(int cap, int join, float miterLimit) = 0;
    virtual void lineWidth(float width) = 0;
    virtual void polyline(const SbVec4f* points, int n) = 0;

    /// The interior style of the next polygon; `transparency`: patterns get transparent cells
    /// in the `background` colour.
    virtual void fillStyle(bool patterned, float patternSize, bool transparency, bool indexed,
                           const SbColor& background) = 0;
    /// A pattern table entry: 32 x 32 cells read as `indexed` says, from `indices` or `colours`.
    virtual void patternTable(int index, const std::vector<int>& indices,
                              const std::vector<SbColor>& colours, bool indexed) = 0;
    /// A polygon in the fill style set before; `patternIndex` 0 for a solid fill.
    virtual void polygon(const SbVec4f* points, int n, int patternIndex, bool transparency,
                         bool indexed, const SbColor& background) = 0;

    virtual void markerTypeAndSize(float size) = 0;
    /// The marks of one colour.
    virtual void markers(const SbVec4f* points, int n) = 0;
    /// One run of a multicoloured mark list.
    virtual void markerRun(const SbVec4f* points, int n) = 0;
    /// Transparent cells around bitmap markers, on or off.
    virtual void markerTransparency(bool on, bool indexed, const SbColor& transparent) = 0;
    /// Corners P, Q, R, then the cells as `indexed` says, `cellsPerLine` to a line of text.
    virtual void cellArray(const SbVec4f corners[3], int columns, int rows,
                           const std::vector<int>& indices, const std::vector<SbColor>& colours,
                           bool indexed, int cellsPerLine) = 0;

    /// Character height and orientation before a text's attributes; `sizeChanged` when the
    /// font size differs from the last text's.
    virtual void textSize(float height, float angle, bool sizeChanged) = 0;
    virtual void fontIndex(int index) = 0;
    /// Precision, path, spacing and expansion.
    virtual void textAttributes() = 0;
    /// 1 left, 2 right, 3 centre.
    virtual void textAlignment(int justification) = 0;
    /// The text itself; `angleChanged` when its angle differs from the last text's.
    virtual void text(const SbVec4f& origin, const SbString& string, float angle,
                      bool angleChanged) = 0;
};
