#include "SoLitVertexCache.h"

#include <Tessara/misc/SoPrimitiveVertex.h>

#include <cmath>
#include <cstring>

namespace {

// Bitwise, so that equal keys are exactly the inputs that light alike.
bool same(const SbVec3f& a, const SbVec3f& b) {
    return std::memcmp(a.getValue(), b.getValue(), 3 * sizeof(float)) == 0;
}

bool isFinite(const SbVec3f& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

}  // namespace

bool SoLitVertexCache::find(const SoPrimitiveVertex* vertex, SbColor& color,
                            int& fullyTransparent) const {
    for (int i = 0; i < used_; ++i) {
        const Entry& e = entries_[i];
        if (e.materialIndex == vertex->getMaterialIndex() && same(e.point, vertex->getPoint()) &&
            same(e.normal, vertex->getNormal())) {
            color = e.color;
            fullyTransparent = e.fullyTransparent;
            return true;
        }
    }
    return false;
}

void SoLitVertexCache::store(const SoPrimitiveVertex* vertex, const SbColor& color,
                             int fullyTransparent) {
    // A vertex that cannot be lit is reported by the lighting every time it is met; keep it so.
    if (!isFinite(vertex->getPoint()) || !isFinite(vertex->getNormal())) return;
    Entry& e = entries_[next_];
    e.point = vertex->getPoint();
    e.normal = vertex->getNormal();
    e.materialIndex = vertex->getMaterialIndex();
    e.color = color;
    e.fullyTransparent = fullyTransparent;
    next_ = (next_ + 1) % kSize;
    if (used_ < kSize) ++used_;
}
