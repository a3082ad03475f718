#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec4f.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

class SoVectorOutput;

/// The statements of clear-text metafiles, one per element, written to the stream the output
/// holds at each write. Points get the drawing's offset on the page added; reals are written
/// by RSHORT, so every number has its decimal point.
class SoCGMClearTextElements {
  public:
    explicit SoCGMClearTextElements(SoVectorOutput* output);

    /// A real in number slot `slot` (0 to 3): "%g" under the C locale, with a point appended
    /// when it has none. The text stays valid until the slot is used again.
    static char* RSHORT(int slot, float value);

    void setPointOffset(float x, float y);
    /// printf under the C locale, written as it is.
    void write(const char* format, ...) __attribute__((format(printf, 2, 3)));

    /// The metafile and picture descriptors up to the picture body and its colour table
    /// (`table`: r, g, b per entry; empty in direct colour).
    void header(int version, bool indexed, const SbColor* background, const SbVec2f& origin,
                const SbVec2f& size, const std::vector<int>& table);
    void footer();

    void cliprect(float x0, float y0, float x1, float y1);
    /// "KEYWORD r g b;" in direct colour, "KEYWORD index;" in indexed colour.
    void colour(const char* keyword, bool indexed, int index, const SbColor& colour);
    /// Transparent cells in the background colour, or at index 0 (`indexSeparator` sits
    /// between the state and the index: polygons have written two blanks there).
    void transparentCells(bool on, bool indexed, const SbColor& colour, const char* indexSeparator);

    void lineEdgeTypeDefinition(int type, float dashSize, const std::vector<int>& runs);
    void lineType(int type);
    void lineCapJoinAndMitre(int cap, int join, float miterLimit);
    void lineWidth(float width);
    /// "KEYWORD" and the points, x and y apart by `separator`, six to a line.
    void pointList(const char* keyword, const SbVec4f* points, int n, const char* separator);
    /// A marker list whose line breaks follow the 5th, 11th, 17th ... point.
    void markerRun(const SbVec4f* points, int n);

    void interiorStyle(bool patterned);
    void patternSize(float size);
    /// The 1024 cells of a pattern table entry: indices or colours (0..255 components).
    void patternTable(int index, const std::vector<int>& cells);
    void patternIndex(int index);

    void markerTypeAndSize(float size);
    void charHeight(float height);
    void fontIndex(int index);
    void textAttributes();
    void textAlignment(const char* horizontal);
    void charOrientation(float angle);
    void text(const SbVec4f& position, const SbString& string);

    /// Corners P, Q, R, then the cells (indices or r, g, b), `cellsPerLine` to a line.
    void cellArray(const SbVec4f corners[3], int columns, int rows, bool indexed,
                   const std::vector<int>& cells, int cellsPerLine);

  private:
    /// The digits of RSHORT, unterminated; returns their count (at most 18).
    static std::size_t formatReal(char* text, float value);
    static void appendReal(std::string& text, float value);
    void writePoints(const char* keyword, const SbVec4f* points, int n, const char* separator,
                     int breakAfter);
    FILE* out() const;
    const char* x(int slot, float value) const;
    const char* y(int slot, float value) const;

    SoVectorOutput* output;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
};
