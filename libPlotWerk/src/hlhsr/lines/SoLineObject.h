#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

#include <cstddef>
#include <vector>

/// A point of the hidden-line computation: x, y as on the page and z the depth, growing
/// towards the viewer.
struct SoLinePoint {
    double x, y, z;
};

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
class SoLineObject {
  public:
    SoLineObject(std::vector<SoLinePoint> points, bool closed, const SoLineAttributes& attributes);

    int getNumEdges() const;
    const SoLinePoint& edgeStart(int edge) const { return points_[edge]; }
    const SoLinePoint& edgeEnd(int edge) const;
    /// Whether the object hides things: a closed outline with an area on the page.
    bool hides() const { return hides_; }
    /// Whether p lies behind the polygon's plane and inside or on its outline.
    bool hidesPoint(const SoLinePoint& p) const;
    /// The depth of the polygon's plane at (x, y).
    double planeDepthAt(double x, double y) const;
    /// The signed distance of p from the plane, positive towards the viewer.
    double planeDistance(const SoLinePoint& p) const;
    /// Whether (x, y) is inside or on the outline.
    bool outlineContains(double x, double y) const;
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
    /// Per edge: whether it is drawn (edges left out still hide nothing of their own).
    std::vector<char> drawn;
    /// How far, in millimetres on the drawing, the line pattern has run at each edge's start
    /// and, last, at the end; empty where nothing asked for it.
    std::vector<float> patternRun;
    /// The shape's own unit normal at each point, in one space for all objects; empty where
    /// none was given.
    std::vector<SbVec3f> normals;
    /// The index of the point an edge ends at.
    int edgeEndIndex(int edge) const;
    /// How far the pattern has run at parameter t of edge e; 0 without patternRun.
    float patternAt(int e, double t) const;
    /// Whether the two draw the same lines and hide the same: the same points to the bit,
    /// the same kind, attributes and pattern run.
    bool sameAs(const SoLineObject& other) const;
    /// A hash of what sameAs compares.
    std::size_t contentHash() const;

  private:
    void computeExtent();
    void computePlane();

    std::vector<SoLinePoint> points_;
    bool closed_;
    SoLineAttributes attributes_;
    bool hides_ = false;
    double a_ = 0, b_ = 0, c_ = 1, d_ = 0;
    /// +1 when the outline turns counter-clockwise on the page, -1 otherwise.
    double sense_ = 1;
    SoLinePoint windingNormal_{0, 0, 0};
};
