#include "SoFaceIntersections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <tuple>
#include <utility>

#include "SoPiercing.h"
#include "SoPlaneGroups.h"

namespace {

/// A point of the common line of two polygons, first < second.
struct Meeting {
    int first, second;
    SoLinePoint point;
};

SoLinePoint cross(const SoLinePoint& u, const SoLinePoint& v) {
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

double dot(const SoLinePoint& u, const SoLinePoint& v) {
    return u.x * v.x + u.y * v.y + u.z * v.z;
}

double distance(const SoLinePoint& u, const SoLinePoint& v) {
    return std::sqrt((u.x - v.x) * (u.x - v.x) + (u.y - v.y) * (u.y - v.y) +
                     (u.z - v.z) * (u.z - v.z));
}

/// A polygon's box, rounded outwards, side by side with the others': a polygon meets only
/// those whose boxes meet its own, few of the many a bucket of the page holds.
struct Box {
    float low[3], high[3];
};

Box boxOf(const SoLineObject& p) {
    const double low[3] = {p.xmin, p.ymin, p.zmin}, high[3] = {p.xmax, p.ymax, p.zmax};
    Box box;
    for (int k = 0; k < 3; ++k) {
        box.low[k] = std::nextafter(float(low[k]), -HUGE_VALF);
        box.high[k] = std::nextafter(float(high[k]), HUGE_VALF);
    }
    return box;
}

bool meet(const Box& a, const Box& b) {
    for (int k = 0; k < 3; ++k)
        if (a.high[k] < b.low[k] || b.high[k] < a.low[k]) return false;
    return true;
}

struct Search {
    const std::vector<SoLineObject*>& objects;
    const SoLineGrid& hiders;
    double tolerance;
    std::vector<Box> boxes;
    const SoPlaneGroups& planes;
    /// Per polygon: the last polygon that asked about it, since two polygons may share
    /// several buckets.
    std::vector<int> lastAsker;
    std::vector<Meeting> meetings;
};

// Where the edges of polygon o pass through p. A mesh's neighbours, the most of the pairs
// asked, lie on one side of each other's planes, touching them: one look at the corners.
void addPiercings(Search& search, int o, int p) {
    const SoLineObject& polygon = *search.objects[static_cast<size_t>(o)];
    const SoLineObject& other = *search.objects[static_cast<size_t>(p)];
    bool before = false, behind = false;
    for (int e = 0; e < polygon.getNumEdges(); ++e) {
        const double distance = other.planeDistance(polygon.edgeStart(e));
        before = before || distance > search.tolerance;
        behind = behind || distance < -search.tolerance;
    }
    if (!before || !behind) return;
    for (int e = 0; e < polygon.getNumEdges(); ++e) {
        const SoLinePoint &a = polygon.edgeStart(e), &b = polygon.edgeEnd(e);
        double t;
        if (SoPiercing::find(other, a, b, search.tolerance, t))
            search.meetings.push_back({std::min(o, p), std::max(o, p), SoPiercing::along(a, b, t)});
    }
}

// The polygons of later sets in the buckets o covers, or, where its box covers more than
// the polygons, every polygon of a later set: each pair once, each one's edges through the
// other.
void addMeetings(Search& search, int o) {
    const auto ask = [&](int p) {
        const auto q = static_cast<size_t>(p);
        if (search.lastAsker[q] == o) return;
        search.lastAsker[q] = o;
        if (!meet(search.boxes[static_cast<size_t>(o)], search.boxes[q])) return;
        const SoLineObject &first = *search.objects[size_t(o)], &second = *search.objects[q];
        if (first.apartOnPageFrom(second) || second.apartOnPageFrom(first)) return;
        addPiercings(search, o, p);
        addPiercings(search, p, o);
    };
    const SoLineObject& polygon = *search.objects[static_cast<size_t>(o)];
    const SoLineGrid& grid = search.hiders;
    const double m = SoPiercing::MARGIN;
    const double box[4] = {polygon.xmin - m, polygon.ymin - m, polygon.xmax + m, polygon.ymax + m};
    if (grid.countBucketsIn(box[0], box[1], box[2], box[3]) > double(search.objects.size())) {
        search.planes.forEachAfterSetOf(o, [&](int p) {
            if (search.objects[static_cast<size_t>(p)]->hides()) ask(p);
        });
        return;
    }
    grid.forEachBucketOver(
        polygon, m, [&](size_t b) { search.planes.forEachAfterSetOf(o, grid.bucket(b), ask); });
}

// The meetings of one pair, in order along the line their planes share, as stretches.
void addStretches(const std::vector<SoLineObject*>& objects, Meeting* begin, Meeting* end,
                  double tolerance, std::vector<SoFaceIntersections::Segment>& segments) {
    const SoLinePoint along =
        cross(objects[static_cast<size_t>(begin->first)]->getWindingNormal(),
              objects[static_cast<size_t>(begin->second)]->getWindingNormal());
    std::sort(begin, end, [&](const Meeting& m, const Meeting& n) {
        return dot(m.point, along) < dot(n.point, along);
    });
    // An edge through the other's corner or edge pierces both of the polygons there: once.
    end = std::unique(begin, end, [&](const Meeting& m, const Meeting& n) {
        return distance(m.point, n.point) <= tolerance;
    });
    if ((end - begin) % 2 != 0) return;
    for (Meeting* m = begin; m != end; m += 2)
        segments.push_back({m->point, (m + 1)->point, begin->first});
}

}  // namespace

bool SoFaceIntersections::find(const std::vector<SoLineObject*>& objects, const SoLineGrid& hiders,
                               const SoPlaneGroups& planes, double tolerance,
                               std::vector<Segment>& segments) {
    constexpr size_t kMostPerPolygon = 8, kMostBesides = 1000;
    std::vector<Box> boxes;
    boxes.reserve(objects.size());
    for (const SoLineObject* object : objects) boxes.push_back(boxOf(*object));
    Search search{
        objects, hiders, tolerance, std::move(boxes), planes, std::vector<int>(objects.size(), -1),
        {}};
    size_t polygons = 0;
    for (const SoLineObject* object : objects) polygons += object->hides();
    // Two meetings end a stretch.
    const size_t most = 2 * (kMostPerPolygon * polygons + kMostBesides);
    segments.clear();
    for (size_t o = 0; o < objects.size(); ++o) {
        if (objects[o]->hides()) addMeetings(search, static_cast<int>(o));
        if (search.meetings.size() > most) return false;
    }
    std::vector<Meeting>& meetings = search.meetings;
    std::sort(meetings.begin(), meetings.end(), [](const Meeting& m, const Meeting& n) {
        return std::tie(m.first, m.second) < std::tie(n.first, n.second);
    });
    for (auto from = meetings.begin(); from != meetings.end();) {
        auto to = std::find_if(from, meetings.end(), [&](const Meeting& m) {
            return m.first != from->first || m.second != from->second;
        });
        addStretches(objects, &*from, &*from + (to - from), tolerance, segments);
        from = to;
    }
    return true;
}
