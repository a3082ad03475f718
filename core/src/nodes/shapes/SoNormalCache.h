#pragma once

#include <Tessara/math/SbVec3f.h>

#include <cstdint>
#include <vector>

#include "nodes/shapes/SoNormalGenerator.h"

/// The normals a shape generated last time, with what they were made from, so that later
/// traversals with the same input reuse them instead of generating them again.
class SoNormalCache {
  public:
    /// True when the cached normals were made from this input. The coordinates are compared
    /// by value: an application may edit a coordinate array in place, keeping its address
    /// and size.
    bool matches(uint64_t changeCount, const SbVec3f* coords, int numCoords, float creaseAngle,
                 bool clockwise) const;
    /// Records the input the generator's current normals were made from.
    void remember(uint64_t changeCount, const SbVec3f* coords, int numCoords, float creaseAngle,
                  bool clockwise);
    void invalidate() { valid_ = false; }

    SoNormalGenerator& getGenerator() { return generator_; }

  private:
    SoNormalGenerator generator_;
    bool valid_ = false;
    uint64_t changeCount_ = 0;
    float creaseAngle_ = 0.0f;
    bool clockwise_ = false;
    std::vector<SbVec3f> coords_;
};
