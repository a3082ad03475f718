#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

class SoPrimitiveVertex;

/// The lit colours of the last vertices of a shape. A mesh hands each vertex to several
/// triangles in a row; lighting it once instead of up to six times is most of the cost of
/// a lit, smoothly shaded surface. Entries are valid only while the traversal state stays
/// the same: the owner clears the cache whenever it may have changed.
class SoLitVertexCache {
  public:
    /// The stored colour of a vertex with the same point, normal and material index, or
    /// false when there is none.
    bool find(const SoPrimitiveVertex* vertex, SbColor& color, int& fullyTransparent) const;
    /// Remembers a vertex's colour, replacing the oldest entry when full.
    void store(const SoPrimitiveVertex* vertex, const SbColor& color, int fullyTransparent);
    void clear() { used_ = 0; }

  private:
    struct Entry {
        SbVec3f point;
        SbVec3f normal;
        int materialIndex = 0;
        SbColor color;
        int fullyTransparent = 0;
    };
    /// The vertices of the last two quads of a grid: the ones the next triangles share.
    /// A larger cache finds no more: the smooth normals of a vertex differ in their last
    /// bits from one face to the next, so older entries rarely match.
    static constexpr int kSize = 8;

    Entry entries_[kSize];
    int used_ = 0;
    int next_ = 0;
};
