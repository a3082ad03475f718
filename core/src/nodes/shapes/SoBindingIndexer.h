#pragma once

#include <cstdint>

/// Turns a material or normal binding into the index each vertex of a shape reads, from the
/// counters the shape keeps (part, face, running vertex, position in the index fields,
/// coordinate index) and the shape's optional explicit index list.
class SoBindingIndexer {
  public:
    /// `binding` is a binding element value (OVERALL ... PER_VERTEX_INDEXED); `indices` is
    /// the shape's explicit index field (null or empty for none). Explicit values must lie in
    /// [0, limit).
    void init(int binding, const int32_t* indices, int numIndices, int limit);

    /// The index for one vertex, or -1 when the explicit list has no valid value for it.
    int get(int part, int face, int vertex, int position, int coord) const {
        switch (source_) {
            case ZERO:
                return 0;
            case PART:
                return part;
            case FACE:
                return face;
            case VERTEX:
                return vertex;
            case COORD:
                return coord;
            case LIST_PART:
                return pick(part);
            case LIST_FACE:
                return pick(face);
            case LIST_POSITION:
                return pick(position);
        }
        return 0;
    }

    /// How many values the binding reads for a shape of these counts; explicit lists count
    /// as 1 because each of their values is checked on its own.
    int getRequired(int numParts, int numFaces, int numVertices, int numCoordsUsed) const;
    /// True when the binding reads an explicit index list.
    bool usesList() const { return source_ >= LIST_PART; }
    /// True when getRequired() depends on the shape's counts.
    bool needsCounts() const { return source_ != ZERO && source_ < LIST_PART; }

  private:
    enum Source { ZERO, PART, FACE, VERTEX, COORD, LIST_PART, LIST_FACE, LIST_POSITION };

    int pick(int i) const {
        if (i < 0 || i >= numIndices_) return -1;
        const int value = indices_[i];
        return value >= 0 && value < limit_ ? value : -1;
    }

    Source source_ = ZERO;
    const int32_t* indices_ = nullptr;
    int numIndices_ = 0;
    int limit_ = 0;
};
