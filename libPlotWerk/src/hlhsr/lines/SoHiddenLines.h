#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory_resource>
#include <vector>

#include "SoHashIndex.h"
#include "SoLineObject.h"
#include "SoPlaneGroups.h"

class SoLineGrid;

/// A piece of a hidden-line drawing: a polyline in the page coordinates of the
/// records (x, y; third and fourth components 0) and how its source prints lines.
struct SoVisibleLine {
    std::vector<SbVec4f> points;
    SoLineAttributes attributes;
    /// How far (millimetres) the source's pattern had run where this piece starts.
    float patternPhase = 0.0f;

    /// Adds (x, y) to the points, in place of the last one where the last segment runs on
    /// to it in one line (turning by less than 0.0001, relative cross product, the same way).
    void extendTo(float x, float y);
    /// Adds the points of a line that starts where this one ends, after its first.
    void append(const SoVisibleLine& next);
};

/// Hidden-line removal for one viewport: every polygon contributes its outline and hides
/// what lies behind it, every polyline is kept where no polygon covers it.
///
/// Edges are cut where they cross behind a polygon's edge on the page and where they pierce a
/// polygon; each piece is then visible unless a polygon hides its midpoint, lifted a little
/// towards the viewer so that a polygon never hides its own outline. Visible pieces of one
/// primitive that meet are joined into polylines, collinear ones into one segment.
///
/// The rules the computation settles for itself:
/// - Two edges crossing at one depth (within 0.0001) cut neither: nothing changes there.
/// - Cuts of an edge less than 0.0001 apart on the page, or as near an end, count as one:
///   pieces that short show nothing.
/// - Polygons and edges are filed in buckets, 500 rows along y and columns along x as the
///   count asks; a query looks only at the buckets the point or box falls in, which is the
///   pruning of the scan.
/// - An outline's interior is on the non-negative side of its edges whichever way it turns:
///   its sense on the page is read from its own normal.
/// - An outline edge along the view's border is where clipping cut a polygon: it is not drawn.
/// - Segments join when one ends exactly where the next begins; they merge into one when
///   they turn by less than 0.0001 (relative cross product) and run on the same way.
/// A primitive the same as one added before (kind and attributes, and every point within the
/// 0.0001 of the page comparisons) is left out: it would hide nothing a reader could tell
/// and draw its lines over the first's. One shape used many times through shared nodes, or
/// placed many times a hair apart, would otherwise multiply the work by the square of its
/// uses.
/// With feature edges on (off by default), an edge shared by two polygons (same end points)
/// whose planes differ by less than the feature angle is left out, and an edge that another
/// primitive already has is drawn once: shapes arrive as triangles, and a drafter wants
/// neither the diagonals of flat faces nor every edge twice. So is an edge across which the
/// shape's own normals run on (at an end, the two polygons' normals differ by less than the
/// feature angle; one end, for the tip of a cone): the facets of a sphere or a cone meet at
/// many degrees, but the shape says that its surface is smooth there, and a drafter draws
/// no line on it. So are the stretches where edges that a triangulation split differently on
/// the two sides of a line cover one another (see SoSplitEdges). A polygon without area adds
/// nothing. An edge where the two polygons lie on one side of it on the page stays, whatever
/// the angles: there a curved surface turns away from the viewer, and the edge is its
/// outline. And a line is drawn where polygons pass through one another, as a drafter draws
/// where one solid enters another (see SoFaceIntersections).
class SoHiddenLines {
  public:
    /// Where the time of the last computation went, in seconds.
    struct Timings {
        double cutting = 0.0;
        double visibility = 0.0;
        double joining = 0.0;
        long pieces = 0;
    };

    SoHiddenLines();
    ~SoHiddenLines();
    SoHiddenLines(const SoHiddenLines&) = delete;
    SoHiddenLines& operator=(const SoHiddenLines&) = delete;

    /// A closed outline that hides; nothing for fewer than 2 points. colors[0] is its colour.
    /// edgeLengths, when given, holds each edge's printed length, so that a piece drawn in
    /// a pattern continues it from where the pattern had run to. normals, when given, are
    /// the shape's unit normals at the points, for the feature edges (set the angle first).
    void addPolygon(const SbVec4f* points, int numPoints, const SbColor* colors, float lineWidth,
                    unsigned short linePattern, int linePatternScaleFactor,
                    const float* edgeLengths = nullptr, const SbVec3f* normals = nullptr);
    /// An open polyline; nothing for fewer than 2 points. edgeLengths as for addPolygon.
    void addPolyLine(const SbVec4f* points, int numPoints, const SbColor* colors, float lineWidth,
                     unsigned short linePattern, int linePatternScaleFactor,
                     const float* edgeLengths = nullptr);
    /// Feature edges on with this angle in degrees; a negative angle turns them off.
    void setFeatureAngle(float degrees) { featureAngle_ = degrees; }
    /// Hidden pieces too, in this line pattern; 0 leaves them out.
    void setHiddenPattern(unsigned short pattern) { hiddenPattern_ = pattern; }
    /// The lines in the order a pen plotter draws them fastest (see SoPenTravelOrder), the
    /// hidden ones still first; off, primitive by primitive.
    void setPenTravelOrder(bool on) { penTravelOrder_ = on; }

    /// The visible pieces of everything added, primitive by primitive, after the hidden
    /// ones when those are asked for, so that what is seen is drawn over what is not.
    std::vector<SoVisibleLine> computeVisibleLines();
    static const Timings& getLastTimings() { return lastTimings; }
    /// Per point (page x, y and depth, as added): whether no polygon added hides it, as the
    /// pieces of lines are tested.
    std::vector<char> findSeenPoints(const std::vector<SbVec4f>& points) const;

  private:
    /// An edge with its end points at hand: the crossing search reads them for every pair.
    struct Edge {
        int object;
        int edge;
        const SoLinePoint* start;
        const SoLinePoint* end;
    };

    void add(const SbVec4f* points, int numPoints, const SbColor* colors, float lineWidth,
             unsigned short linePattern, int linePatternScaleFactor, bool closed,
             const float* edgeLengths, const SbVec3f* normals);
    size_t countEdges() const;
    /// Every edge of the objects, in their order, into edges_ and firstEdgeOf_.
    void collectEdges();
    /// Adds the lines where polygons pass through one another; whether there were any.
    bool addFaceIntersections(const SoLineGrid& hiders);
    /// Where an object is filed to find its near copies: the cell of its points' mean, cells
    /// several tolerances wide, with the cells next to it (from .. to, each way) that a point
    /// within the tolerance may lie in.
    struct Place {
        std::int64_t cell[2];
        int from[2], to[2];
    };
    static Place placeOf(const SoLineObject& object);
    /// A hash of the place's cell moved by (dx, dy), and of the object's kind.
    static std::uint64_t placeHash(const Place& place, int dx, int dy, const SoLineObject& object);
    /// Whether an object kept before is a near copy of object, filed at place.
    bool hasNearCopy(const SoLineObject& object, const Place& place) const;
    void leaveOutClippedEdges(SoLineObject& polygon);
    /// The objects in list order: the first added, then the others newest first.
    std::vector<int> listOrder() const;
    /// copyOf: per edge, the first edge with the same two end points (see findFirstCopies).
    void markFeatureEdges(const std::vector<size_t>& copyOf);
    /// shared: per first copy, whether another edge has its ends.
    void leaveOutSplitEdges(const std::vector<size_t>& copyOf, const std::vector<char>& shared,
                            double limit);
    /// A stretch of an edge, from..to in its parameter, that the drawing leaves out.
    struct LeftOut {
        size_t edge;
        double from, to;
    };
    std::pair<const LeftOut*, const LeftOut*> leftOutOf(size_t edge) const;
    /// Whether the shape's normals at an end of p's edge e, which is q's edge f, agree in the
    /// two polygons within the limit (a cosine).
    static bool normalsRunOn(const SoLineObject& p, int e, const SoLineObject& q, int f,
                             double limit);
    /// Columns of the grid the hiding polygons are filed in.
    int hiderColumns() const;
    /// The polygons that hide, filed in their grid in the order of their plane sets.
    void fileHiders(SoLineGrid& hiders) const;
    void findWhollyHiddenEdges(const SoLineGrid& hiders);
    /// A cut of an edge at its parameter t.
    struct Cut {
        size_t edge;
        double t;
    };
    /// The cuts where first copies of edges cross behind others.
    std::vector<Cut> findCrossings(const std::vector<size_t>& first) const;
    /// Per edge: the first edge with the same two end points, itself if none comes before.
    std::vector<size_t> findFirstCopies() const;
    /// Fills the cut table: each drawn edge gets the crossings of its first copy (first, as
    /// findFirstCopies gives) and where it pierces polygons.
    void cutEdges(const std::vector<Cut>& crossings, const std::vector<size_t>& first,
                  const SoLineGrid& hiders);
    void addPiercings(size_t edge, const SoLineGrid& hiders, std::vector<size_t>& lastEdge);
    void keepDistinctCuts(size_t edge);
    /// Per first copy of an edge (first, as findFirstCopies gives): the two polygons that
    /// share it, one on each side of it on the page, or -1s.
    std::vector<std::array<int, 2>> findSeams(const std::vector<size_t>& first) const;
    /// Whether the polygon hides all of e that it holds on the page, and e enters and leaves
    /// it where the crossing search cuts or passes it as a seam.
    bool hidesAlong(const SoLineObject& polygon, const Edge& e) const;
    /// Whether x lies within the tolerance of one of the ends on the page.
    static bool crossingAtEnd(const SoLinePoint& x, std::initializer_list<const SoLinePoint*> ends);
    /// Edges a and b cross at a's parameter t and b's parameter u: the one behind gets a cut,
    /// if it needs cuts at all and the one in front cuts (role: their bits) other than as a
    /// seam that hides it on both sides (seams: as findSeams gives).
    void cutAtCrossing(size_t a, double t, size_t b, double u, const std::vector<char>& role,
                       const std::vector<std::array<int, 2>>& seams, std::vector<Cut>& cuts) const;
    std::vector<char> findVisiblePieces(const SoLineGrid& hiders);
    /// A polygon that hides p (lifted), a point of `object` (or of none: -1), `likely` and
    /// its neighbours in the grid asked first; -1 when p is seen.
    int findHider(const SoLinePoint& p, int object, const SoLineGrid& hiders, int likely) const;
    /// The pieces whose flag is `drawn`, joined into lines.
    std::vector<SoVisibleLine> joinPieces(const std::vector<char>& visible, char drawn) const;
    SoLinePoint pointAlong(const Edge& e, double t) const;
    void releaseEdges();

    /// Where the objects and their points and flags are kept: objects grow by the million,
    /// and a vector of them copied them all each time it grew.
    std::pmr::monotonic_buffer_resource arena_;
    std::vector<SoLineObject*> objects_;
    /// The polygons in sets of one plane, while the lines are computed: a polygon hides
    /// nothing of its own set, and a fan of a flat face has thousands in one bucket.
    SoPlaneGroups planes_;
    /// An object's points and pattern run while it is checked against those before it.
    std::vector<SoLinePoint> newPoints_;
    std::vector<float> newPatternRun_;
    /// The objects by the cell of their first point, to find a near copy as one is added.
    SoHashIndex byPlace_;
    float featureAngle_ = -1.0f;
    unsigned short hiddenPattern_ = 0;
    bool penTravelOrder_ = false;
    // Per drawn edge: its reference, its cut parameters and where its pieces start in the
    // flat piece arrays.
    std::vector<Edge> edges_;
    // Edge i's cuts, sorted: cutValues_[cutStart_[i]] up to cutValues_[cutStart_[i + 1]].
    std::vector<size_t> cutStart_;
    std::vector<double> cutValues_;
    // Sorted by edge.
    std::vector<LeftOut> leftOut_;
    // Per edge: whether one polygon hides all of it.
    std::vector<char> hiddenWhole_;
    std::vector<int> firstEdgeOf_;

    static Timings lastTimings;
};
