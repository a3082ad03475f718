#pragma once

#include "SoCGMBinaryElements.h"
#include "SoCGMBinaryWriter.h"
#include "SoCGMEncoder.h"

class SoVectorOutput;

/// The binary encoding: the elements through SoCGMBinaryElements, buffered by the writer.
class SoCGMBinaryEncoder : public SoCGMEncoder {
  public:
    /// `bufferSize` as SoCGMBinaryWriter takes it.
    SoCGMBinaryEncoder(SoVectorOutput* output, int bufferSize);

    void setPointOffset(float x, float y) override;
    bool clipsOnTheSheet() const override { return false; }
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
    SoCGMBinaryWriter writer_;
    SoCGMBinaryElements elements_;
};
