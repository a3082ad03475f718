#pragma once

#include <Tessara/math/SbVec2s.h>

#include "SoPrimitiveMonoPoint.h"

/// A stored image anchored at one point. The pixels are the node's: they must outlive the
/// record.
class SoGraphicImage : public SoPrimitiveMonoPoint {
  public:
    void print(SoHLHSRVectorize* engine) override;
    /// A dot as large as the image's pixel count at the anchor.
    void render(std::uint32_t idColor) override;
    int getType() const override;

    void set(const SbVec4f& point, const unsigned char* data, const SbVec2s& size,
             const SbVec2s& size2, int numComponents, int horAlignment, int vertAlignment);

    /// Not owned.
    const unsigned char* data = nullptr;
    /// The source size in pixels.
    SbVec2s size{0, 0};
    /// The requested printed size.
    SbVec2s size2{0, 0};
    int numComponents = 0;
    /// SoImage::HorAlignment.
    int horAlignment = 0;
    /// SoImage::VertAlignment.
    int vertAlignment = 0;
};
