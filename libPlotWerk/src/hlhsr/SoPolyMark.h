#pragma once

#include <cstdint>
#include <vector>

#include "SoPrimitiveMultiPoints.h"

/// Stored marks: dots of a size, or the markers of a marker set node.
class SoPolyMark : public SoPrimitiveMultiPoints {
  public:
    void print(SoHLHSRVectorize* engine) override;
    void render(std::uint32_t idColor) override;
    int getType() const override;

    /// Copies points, colours and the marker of each point (null for dots), shifts the
    /// depths by depthOffset, computes the extents.
    void set(int numPoints, const SbVec4f* points, const SbColor* colors, int multicolor,
             float markerSize, const std::int32_t* markers, float depthOffset);

    /// Keeps the points whose flag in keep is set, with their colours and markers.
    void keepOnly(const char* keep);

    float markerSize = 0.0f;
    /// The marker of each point; empty prints dots of markerSize.
    std::vector<std::int32_t> markers;
};
