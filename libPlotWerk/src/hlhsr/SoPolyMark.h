#pragma once

#include "SoPrimitiveMultiPoints.h"

class SoMarkerSet;

/// Stored marks: dots of a size, or the markers of a marker set node.
class SoPolyMark : public SoPrimitiveMultiPoints {
  public:
    void print(SoHLHSRVectorize* engine) override;
    void render(std::uint32_t idColor) override;
    int getType() const override;

    /// Copies points and colours, shifts the depths by depthOffset, computes the extents.
    void set(int numPoints, const SbVec4f* points, const SbColor* colors, int multicolor,
             float markerSize, SoMarkerSet* markerSet, float depthOffset);

    float markerSize = 0.0f;
    /// Not owned; null prints dots of markerSize.
    SoMarkerSet* markerSet = nullptr;
};
