#pragma once

#include "SoU3DDrawStyleFilled.h"

/// A shape drawn as lines: each triangle becomes its three edges; lines stay lines.
class SoToU3DActionPrivate::SoU3DDrawStyleLine : public SoToU3DActionPrivate::SoU3DDrawStyleFilled {
  public:
    void triangle(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                  const SoPrimitiveVertex* c) override;
    /// Triangles become lines: three each, or, where the shape reports quads, four per quad
    /// and three per triangle left over.
    void adjustCounts(std::uint32_t* quads, std::uint32_t* triangles, std::uint32_t* lines,
                      std::uint32_t* points) override;
};
