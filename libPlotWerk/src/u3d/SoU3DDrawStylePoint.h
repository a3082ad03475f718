#pragma once

#include "SoU3DDrawStyleFilled.h"

/// A shape drawn as points: every corner of its triangles and every end of its lines becomes a
/// point, as often as it comes.
class SoToU3DActionPrivate::SoU3DDrawStylePoint
    : public SoToU3DActionPrivate::SoU3DDrawStyleFilled {
  public:
    void line(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) override;
    void triangle(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                  const SoPrimitiveVertex* c) override;
    void adjustCounts(std::uint32_t* quads, std::uint32_t* triangles, std::uint32_t* lines,
                      std::uint32_t* points) override;
};
