#pragma once

#include "SoPrimitiveMultiPoints.h"

class SoPolygon;

/// A stored open polyline; in the painter's modes each one is a single two-point segment.
class SoPolyLine : public SoPrimitiveMultiPoints {
  public:
    void print(SoHLHSRVectorize* engine) override;
    void render(std::uint32_t idColor) override;
    int getType() const override;
    /// Also copies the line width and pattern.
    void copyAttributes(const SoPrimitiveMultiPoints& other) override;
    /// Cuts this two-point segment where it meets cutter's plane into the part on the viewer's
    /// side (front) and the part behind (back), each running the segment's way; 1 when both
    /// were made, 0 otherwise (a segment parallel to the plane, or a record that is not a
    /// single segment).
    virtual int split(const SoPolygon& cutter, SoPolyLine*& front, SoPolyLine*& back) const;
    bool cutBy(const SoPolygon& cutter, SoGraphicPrimitive*& front,
               SoGraphicPrimitive*& back) const override;

    /// Copies points and colours, shifts the depths by depthOffset, computes the extents.
    void set(int numPoints, const SbVec4f* points, const SbColor* colors, int multicolor,
             float lineWidth, unsigned short linePattern, int linePatternScaleFactor,
             float depthOffset);

    float lineWidth = 0.0f;
    unsigned short linePattern = 0xFFFF;
    int linePatternScaleFactor = 1;
    /// Where on the drawing (millimetres along the whole line) this segment's pattern starts,
    /// and its own printed length: the segments of a dashed line, each a record of its own,
    /// continue one another's dashes. Pieces cut from a segment keep its direction.
    float patternPhase = 0.0f;
    float patternLength = 0.0f;
};
