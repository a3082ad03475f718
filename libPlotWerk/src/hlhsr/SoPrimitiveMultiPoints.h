#pragma once

#include "SoGraphicPrimitive.h"
#include "SoRecordArray.h"

/// A stored primitive made of points, each with its own colour: polygons, polylines, marks.
class SoPrimitiveMultiPoints : public SoGraphicPrimitive {
  public:
    float getZMax() const override { return zMax; }
    float getZMin() const override { return zMin; }
    /// The address of point i; null when i is out of range.
    SbVec4f* getPoint(int i) override;
    int getNumPoints() const override { return numPoints; }
    SbColor* getColor(int i) override;
    int getType() const override;
    /// Copies the printing attributes of other (not its points, colours or geometry).
    virtual void copyAttributes(const SoPrimitiveMultiPoints& other);

    float zMax = 0.0f;
    float zMin = 0.0f;
    int numPoints = 0;
    /// A triangle's points, a segment's or a dot's fit in the record itself.
    SoRecordArray<SbVec4f, 3> points;
    /// One colour per point.
    SoRecordArray<SbColor, 3> colors;
    /// Passed through to the print operation: 0 when one colour serves the whole primitive.
    int multicolor = 0;

  protected:
    /// Replaces the point and colour arrays with copies (every colour copied), shifts the
    /// depths by depthOffset and recomputes the extents. Null arrays store no points.
    void setPoints(int n, const SbVec4f* newPoints, const SbColor* newColors, float depthOffset);
    /// The x, y box and the depth range of the points.
    void computeExtents();
};
