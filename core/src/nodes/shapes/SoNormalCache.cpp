#include "nodes/shapes/SoNormalCache.h"

#include <cstring>

bool SoNormalCache::matches(uint64_t changeCount, const SbVec3f* coords, int numCoords,
                            float creaseAngle, bool clockwise) const {
    if (!valid_ || changeCount != changeCount_ || clockwise != clockwise_) return false;
    if (std::memcmp(&creaseAngle, &creaseAngle_, sizeof(float)) != 0) return false;
    if (numCoords != static_cast<int>(coords_.size())) return false;
    // Bitwise, so that NaN coordinates compare equal to themselves.
    return numCoords == 0 || std::memcmp(coords, coords_.data(), sizeof(SbVec3f) * numCoords) == 0;
}

void SoNormalCache::remember(uint64_t changeCount, const SbVec3f* coords, int numCoords,
                             float creaseAngle, bool clockwise) {
    valid_ = true;
    changeCount_ = changeCount;
    creaseAngle_ = creaseAngle;
    clockwise_ = clockwise;
    coords_.assign(coords, coords + (numCoords > 0 ? numCoords : 0));
}
