#pragma once

#include <vector>

#include "SoLineGrid.h"
#include "SoLineObject.h"
#include "SoPlaneGroups.h"

/// Where polygons pass through one another: the line a drafter draws where one solid enters
/// another, which is no polygon's edge, so that outlines alone leave a gap there.
///
/// An edge of one polygon that pierces another gives a point of their common line; the
/// points of a pair, in order along the line where their planes meet, bound its stretches
/// inside both, first to second, third to fourth. A pair whose count is odd (an edge that
/// only touches the other within the tolerance) gives nothing. Polygons that share an edge
/// or a corner, as a mesh's neighbours do, pierce nothing of each other: an edge that ends
/// on the other's plane does not pass through it. Nor is a pair asked whose insides do not
/// overlap on the page, one beyond the line of an edge of the other: they could meet only
/// along that edge, which is drawn; nor a pair in one plane. So the thousands of triangles
/// of a flat disc's fan, whose boxes all overlap at its centre, cost nothing, and those of a
/// cone's a look at their corners a pair.
///
/// Solids that meet give a stretch or two for each polygon along the curves where they
/// meet, random triangles that pierce their neighbours a few; n large polygons that all pass
/// through one another give n² / 2, which the hidden-line computation cuts at every edge in
/// front of them: 400 took four minutes. Beyond eight stretches a polygon (and a thousand),
/// the search gives up.
class SoFaceIntersections {
  public:
    /// A stretch where two polygons meet, given with the first of them (in `objects` order).
    struct Segment {
        SoLinePoint from, to;
        int polygon;
    };

    /// hiders: the polygons of `objects`, filed in the order of `planes`, their sets of one
    /// plane, found with the same tolerance: distances from a plane and along the line
    /// within which points are one. False, with no segments, where there are too many.
    static bool find(const std::vector<SoLineObject*>& objects, const SoLineGrid& hiders,
                     const SoPlaneGroups& planes, double tolerance, std::vector<Segment>& segments);
};
