#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "SoLineGrid.h"
#include "SoLineObject.h"
#include "SoPlaneGroups.h"

/// Where a segment passes through a polygon: the search for the polygons it may pass
/// through, and the point where it does. The hidden-line computation cuts edges there, and
/// finds there where faces pass through one another.
class SoPiercing {
  public:
    /// How far beyond its path (in page units, the page being 2 wide) a segment looks: many
    /// times the rounding of a point computed on it, far below a bucket.
    static constexpr double MARGIN = 1e-9;

    /// Calls visit(o) for the polygons of `objects` filed in `hiders` (in the order of
    /// `planes`) that the segment from a to b, an edge of `object`, may pierce, some more
    /// than once. A piercing lies on the segment, and in the box of the polygon it pierces:
    /// in a bucket along the segment's path where the polygon is filed; and not in a polygon
    /// of the edge's own plane. Where large polygons fill every bucket, the walk meets each
    /// of them a hundred times: then all are asked once, by box.
    template <class Visit>
    static void forEachCandidate(const SoLineGrid& hiders, const SoPlaneGroups& planes, int object,
                                 const std::vector<SoLineObject*>& objects, const SoLinePoint& a,
                                 const SoLinePoint& b, Visit visit) {
        // The buckets' sizes first: the polygons of the edge's own plane counted too, unless
        // that makes too many.
        size_t filed = 0, count = 0;
        hiders.forEachBucketAlong(a.x, a.y, b.x, b.y, MARGIN,
                                  [&](size_t k) { filed += hiders.bucket(k).size(); });
        if (filed > objects.size())
            hiders.forEachBucketAlong(a.x, a.y, b.x, b.y, MARGIN, [&](size_t k) {
                count += planes.countOutsideSetOf(object, hiders.bucket(k));
            });
        if (count <= objects.size()) {
            hiders.forEachBucketAlong(a.x, a.y, b.x, b.y, MARGIN, [&](size_t k) {
                planes.forEachOutsideSetOf(object, hiders.bucket(k), visit);
            });
            return;
        }
        const double xmin = std::min(a.x, b.x) - MARGIN, xmax = std::max(a.x, b.x) + MARGIN;
        const double ymin = std::min(a.y, b.y) - MARGIN, ymax = std::max(a.y, b.y) + MARGIN;
        for (size_t o = 0; o < objects.size(); ++o) {
            const SoLineObject& p = *objects[o];
            if (p.hides() && p.xmax >= xmin && p.xmin <= xmax && p.ymax >= ymin && p.ymin <= ymax)
                visit(static_cast<int>(o));
        }
    }

    /// Whether the segment from a to b passes through polygon p, its ends farther than
    /// `tolerance` from p's plane on either side; t is then where, from a (0) to b (1).
    static bool find(const SoLineObject& p, const SoLinePoint& a, const SoLinePoint& b,
                     double tolerance, double& t);

    static SoLinePoint along(const SoLinePoint& a, const SoLinePoint& b, double t) {
        return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
    }
};
