#pragma once

#include <Tessara/misc/SoPrimitiveVertex.h>

#include <cstdint>

/// A triangle held back by the quad renderers until the next one shows whether the two are
/// halves of one face. It keeps copies of the vertices, since the shape reuses its own as soon
/// as the triangle callback returns.
class SoU3DTriangleRecord {
  public:
    /// A record without face or vertices; `empty` tells whether it stands for no triangle.
    explicit SoU3DTriangleRecord(bool empty);
    /// The triangle (a, b, c); it has a face when a's detail is a face detail.
    SoU3DTriangleRecord(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                        const SoPrimitiveVertex* c);

    bool hasFace() const { return hasFace_; }
    bool isEmpty() const { return empty_; }
    /// Whether both records come from the same face (or both from none).
    bool sameFace(const SoU3DTriangleRecord& other) const;
    /// Corner 0, 1 or 2, in the order the triangle came.
    const SoPrimitiveVertex* vertex(int corner) const { return &vertices_[corner]; }

  private:
    static SoPrimitiveVertex copyOf(const SoPrimitiveVertex& vertex);

    bool hasFace_ = false;
    bool empty_ = true;
    // Two indices, both the face's: the record leaves room to tell a face's part apart later.
    std::uint32_t faceIndex_[2] = {0, 0};
    SoPrimitiveVertex vertices_[3];
};
