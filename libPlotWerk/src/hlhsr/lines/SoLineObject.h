#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

#include <cstddef>
#include <cstdint>
#include <memory_resource>

#include "SoLinePlane.h"
#include "SoLinePoint.h"

/// How the lines of one primitive print: its first vertex's colour, its width and pattern.
struct SoLineAttributes {
    SbColor color;
    float lineWidth = 0.0f;
    unsigned short linePattern = 0xFFFF;
    int linePatternScaleFactor = 1;
};

/// One primitive of a hidden-line drawing: an open polyline, or a closed polygon that also
/// hides what lies behind it. A polygon keeps its plane, normal towards the viewer, and its
/// outline's turning sense so that its interior is on the non-negative side of every edge.
///
/// The object reads its points, normals and pattern run where it was made over them, until
/// keepIn() copies them into an arena shared by all objects: a million triangles would
/// otherwise make four small allocations each. Only then has it the drawn flags.
class SoLineObject {
  public:
    /// Over numPoints points that stay in place until keepIn().
    SoLineObject(const SoLinePoint* points, int numPoints, bool closed,
                 const SoLineAttributes& attributes);

    /// Copies what the object reads into the arena, which must outlive it, and marks every
    /// edge drawn.
    void keepIn(std::pmr::memory_resource& arena);

    // The few lines that every search runs for every pair are kept here, to be inlined.
    int getNumEdges() const {
        if (numPoints_ < 2) return 0;
        return closed_ ? numPoints_ : numPoints_ - 1;
    }
    int getNumPoints() const { return numPoints_; }
    const SoLinePoint& getPoint(int i) const { return points_[i]; }
    const SoLinePoint& edgeStart(int edge) const { return points_[edge]; }
    const SoLinePoint& edgeEnd(int edge) const { return points_[edgeEndIndex(edge)]; }
    /// Whether the object hides things: a closed outline with an area on the page.
    bool hides() const { return hides_; }
    /// Whether p lies behind the polygon's plane and inside or on its outline.
    bool hidesPoint(const SoLinePoint& p) const;
    /// Whether p lies far enough behind the polygon's plane to be hidden where the outline
    /// holds it.
    bool planeHides(const SoLinePoint& p) const { return planeDistance(p) <= -BEHIND; }
    /// The stretch first..last of a segment's parameter that the outline holds on the page,
    /// and the edges the segment enters and leaves it by (-1: at the segment's own end);
    /// first > last where it holds none.
    struct Stretch {
        double first = 0.0, last = 1.0;
        int firstEdge = -1, lastEdge = -1;
    };
    Stretch stretchInside(const SoLinePoint& from, const SoLinePoint& to) const;
    /// The polygon's plane, its normal towards the viewer.
    const SoLinePlane& getPlane() const { return plane_; }
    /// The depth of the polygon's plane at (x, y).
    double planeDepthAt(double x, double y) const { return plane_.depthAt(x, y); }
    /// The signed distance of p from the plane, positive towards the viewer.
    double planeDistance(const SoLinePoint& p) const { return plane_.distance(p); }
    /// Whether (x, y) is inside or on the outline.
    bool outlineContains(double x, double y) const;
    /// Whether the line of one of the outline's edges has all of other's points on its outer
    /// side or on it, so that their insides do not overlap on the page (both convex).
    bool apartOnPageFrom(const SoLineObject& other) const;
    /// On which side of the page's line through a and b the points lie, taken together:
    /// positive on the left, negative on the right.
    double pageSide(const SoLinePoint& a, const SoLinePoint& b) const;

    /// Whether a closed outline encloses no area in space: its points lie on one line.
    bool enclosesNothing() const;
    /// The unit normal of the outline's own turning sense (not turned to the viewer).
    const SoLinePoint& getWindingNormal() const { return windingNormal_; }
    const SoLineAttributes& getAttributes() const { return attributes_; }
    bool isClosed() const { return closed_; }
    double xmin = 0, ymin = 0, zmin = 0, xmax = 0, ymax = 0, zmax = 0;
    /// Per edge: whether it is drawn (edges left out still hide nothing of their own); null
    /// until keepIn().
    char* drawn = nullptr;
    /// How far, in millimetres on the drawing, the line pattern has run at each edge's start
    /// and, last, at the end; null where nothing asked for it.
    const float* patternRun = nullptr;
    /// The shape's own unit normal at each point, in one space for all objects; null where
    /// none was given.
    const SbVec3f* normals = nullptr;
    /// The index of the point an edge ends at.
    int edgeEndIndex(int edge) const { return edge + 1 < numPoints_ ? edge + 1 : 0; }
    /// How far the pattern has run at parameter t of edge e; 0 without patternRun.
    float patternAt(int e, double t) const;
    /// Whether the two draw the same lines and hide the same, up to `tolerance`: the same
    /// kind, attributes and pattern run, and each point the same to the bit or within the
    /// tolerance of the other's in every coordinate.
    bool sameAs(const SoLineObject& other, double tolerance) const;

  private:
    // A point this far behind a plane (in its units) is behind it; nearer counts as on it.
    static constexpr double BEHIND = 0.001;

    /// How far (x, y) lies on the inner side of edge k's line, times the edge's length.
    double insideEdge(int k, double x, double y) const;
    void computeExtent();
    void computePlane();
    template <class T>
    static T* copyInto(std::pmr::memory_resource& arena, const T* data, int count);

    const SoLinePoint* points_;
    int numPoints_;
    bool closed_;
    bool hides_ = false;
    SoLineAttributes attributes_;
    SoLinePlane plane_;
    /// +1 when the outline turns counter-clockwise on the page, -1 otherwise.
    double sense_ = 1;
    SoLinePoint windingNormal_{0, 0, 0};
};
