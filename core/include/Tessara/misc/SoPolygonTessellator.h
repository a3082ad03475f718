#pragma once

#include <Tessara/math/SbVec3f.h>

#include <array>
#include <deque>
#include <vector>

/// Splits polygons, concave or with holes, into triangles with the GLU tessellator.
/// Vertices are numbered in the order added; vertices the tessellator creates where edges
/// cross follow them, each a weighted mix of up to four input vertices. A polygon of more
/// than `cornersAtOnce` vertices is tessellated in pieces, for speed: bands, or the sectors of
/// a star. That adds vertices where its edges cross the borders between pieces, and one in
/// the middle of a star, where its sectors meet.
class SoPolygonTessellator {
  public:
    enum Winding { ODD, NONZERO };
    struct CombinedVertex {
        SbVec3f point;
        std::array<int, 4> sources;  // -1 where unused
        std::array<float, 4> weights;
    };

    explicit SoPolygonTessellator(Winding winding = ODD, int cornersAtOnce = 4096);
    ~SoPolygonTessellator();
    SoPolygonTessellator(const SoPolygonTessellator&) = delete;
    SoPolygonTessellator& operator=(const SoPolygonTessellator&) = delete;

    void beginPolygon();
    void beginContour();
    void addVertex(const SbVec3f& point);
    void endContour();
    /// Tessellates; false when the GLU tessellator failed (no triangles then).
    bool endPolygon();

    /// Three vertex numbers per triangle, with the winding of the input contour.
    const std::vector<int>& getTriangles() const { return triangles_; }
    int getNumInputVertices() const { return static_cast<int>(points_.size()); }
    /// Vertex n for n ≥ getNumInputVertices().
    const CombinedVertex& getCombined(int n) const { return combined_[n - getNumInputVertices()]; }
    const SbVec3f& getPoint(int n) const;

  private:
    struct Callbacks;
    void addCorner(const std::array<double, 3>& coords);
    void feed(const std::vector<std::vector<int>>& contours);
    void tessellateWhole(const std::vector<std::vector<int>>& contours);
    void tessellateInPieces(const std::vector<std::vector<int>>& contours, const SbVec3f& normal);
    void flipSlivers(const SbVec3f& normal);
    std::vector<std::vector<int>> wholeContours() const;
    SbVec3f normal(const std::vector<std::vector<int>>& contours) const;

    void* tess_ = nullptr;
    Winding winding_;
    int cornersAtOnce_;
    std::vector<SbVec3f> points_;
    std::vector<int> contourStarts_;
    // The GLU tessellator keeps pointers into these until the polygon ends: deques do not
    // move their elements when they grow.
    std::deque<std::array<double, 3>> coords_;
    std::deque<int> vertexIds_;
    std::vector<CombinedVertex> combined_;
    std::vector<int> triangles_;
    std::vector<int> pending_;
    bool failed_ = false;
};
