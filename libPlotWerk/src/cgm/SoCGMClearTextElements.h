#pragma once

#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SbString.h>

#include <string>
#include <vector>

#include "SoCGMEncoder.h"

class SoVectorOutput;

/// The clear-text encoding: one statement per element, written to the stream the output
/// holds at each write. Reals are written by RSHORT, so every number has its decimal point.
class SoCGMClearTextElements : public SoCGMEncoder {
  public:
    explicit SoCGMClearTextElements(SoVectorOutput* output);

    /// A real as "%g" writes it, with a point appended when it has none.
    static std::string RSHORT(float value);

    void setPointOffset(float x, float y) override;
    bool clipsOnTheSheet() const override { return true; }
    void header(const SoCGMPictureSetup& setup) override;
    void footer() override;
    void viewportClip(const SbBox2f& limits) override;
    void clipRectangle(float x0, float y0, float x1, float y1) override;
    void colour(ColourKind kind, bool indexed, int index, const SbColor& colour) override;
    void lineTypeDefinition(int type, float dashSize, const std::vector<int>& runs) override;
    void lineType(int type) override;
    void lineCapJoinAndMitre(int cap, int join, float miterLimit) override;
    void lineWidth(float width) override;
    void polyline(const SbVec4f* points, int n) override;
    void fillStyle(bool patterned, float patternSize, bool transparency, bool indexed,
                   const SbColor& background) override;
    void patternTable(int index, const std::vector<int>& indices,
                      const std::vector<SbColor>& colours, bool indexed) override;
    void polygon(const SbVec4f* points, int n, int patternIndex, bool transparency, bool indexed,
                 const SbColor& background) override;
    void markerTypeAndSize(float size) override;
    void markers(const SbVec4f* points, int n) override;
    void markerRun(const SbVec4f* points, int n) override;
    void markerTransparency(bool on, bool indexed, const SbColor& transparent) override;
    void cellArray(const SbVec4f corners[3], int columns, int rows, const std::vector<int>& indices,
                   const std::vector<SbColor>& colours, bool indexed, int cellsPerLine) override;
    void textSize(float height, float angle, bool sizeChanged) override;
    void fontIndex(int index) override;
    void textAttributes() override;
    void textAlignment(int justification) override;
    void text(const SbVec4f& origin, const SbString& string, float angle,
              bool angleChanged) override;

  private:
    template <class... T>
    void write(const char* format, const T&... arguments) {
        writeText(SbNumberFormat::format(format, arguments...));
    }
    void writeText(const std::string& text);
    static void appendReal(std::string& text, float value);
    void writePoints(const char* keyword, const SbVec4f* points, int n, const char* separator,
                     int breakAfter);
    void colourStatement(const char* keyword, bool indexed, int index, const SbColor& colour);
    /// `indexSeparator` sits between the state and the index in indexed colour.
    void transparentCells(bool on, bool indexed, const SbColor& colour, const char* indexSeparator);
    /// Cell values as the colour mode reads them: indices, or r, g, b (0..255) per cell.
    static std::vector<int> cellValues(const std::vector<int>& indices,
                                       const std::vector<SbColor>& colours, bool indexed);
    std::string x(float value) const;
    std::string y(float value) const;

    SoVectorOutput* output_;
    float offsetX_ = 0.0f;
    float offsetY_ = 0.0f;
};
