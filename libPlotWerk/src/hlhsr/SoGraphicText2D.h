#pragma once

#include <Tessara/base/SbString.h>

#include <memory>

#include "SoPrimitiveMonoPoint.h"

/// Stored 2D text: lines of text printed one below the other from the anchor down.
class SoGraphicText2D : public SoPrimitiveMonoPoint {
  public:
    void print(SoHLHSRVectorize* engine) override;
    /// A dot of the font size at the anchor.
    void render(std::uint32_t idColor) override;
    int getType() const override;

    /// Stores everything; the strings are copied into a fresh array.
    void set(const SbVec4f& point, const SbColor& color, const SbString& fontName, float size,
             int numStrings, const SbString* strings, float spacing, int justification,
             float angle);

    SbString fontName;
    /// In nominal widths.
    float size = 0.0f;
    int numStrings = 0;
    std::unique_ptr<SbString[]> strings;
    float spacing = 1.0f;
    int justification = 0;
    /// Radians.
    float angle = 0.0f;
};
