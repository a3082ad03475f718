#include "SoPlaneGroups.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

namespace {

/// How many of the latest sets a polygon may join: a few, for a face whose triangles
/// alternate with those of its neighbours, as a strip's do.
constexpr int RECENT_SETS = 4;

bool liesIn(const SoLineObject& polygon, const SoLinePlane& plane, double limit) {
    for (int k = 0; k < polygon.getNumPoints(); ++k)
        if (!(std::fabs(plane.distance(polygon.getPoint(k))) <= limit)) return false;
    return true;
}

/// The plane the members of a set tell together: the mean of their normals, turned one way,
/// through the mean of their corners. The rounding tips each thin triangle's plane its own
/// way about its own length; a fan's triangles run all ways, and their mean lies flat.
class PlaneSum {
  public:
    void add(const SoLineObject& polygon) {
        const SoLinePoint& n = polygon.getWindingNormal();
        const double sign = n.x * normal_.x + n.y * normal_.y + n.z * normal_.z < 0 ? -1 : 1;
        normal_ = {normal_.x + sign * n.x, normal_.y + sign * n.y, normal_.z + sign * n.z};
        for (int k = 0; k < polygon.getNumPoints(); ++k) {
            const SoLinePoint& p = polygon.getPoint(k);
            corner_ = {corner_.x + p.x, corner_.y + p.y, corner_.z + p.z};
        }
        corners_ += polygon.getNumPoints();
    }
    SoLinePlane plane() const {
        const double length =
            std::sqrt(normal_.x * normal_.x + normal_.y * normal_.y + normal_.z * normal_.z);
        return SoLinePlane::through(
            {corner_.x / corners_, corner_.y / corners_, corner_.z / corners_},
            {normal_.x / length, normal_.y / length, normal_.z / length});
    }

  private:
    SoLinePoint normal_{0, 0, 0}, corner_{0, 0, 0};
    double corners_ = 0;
};

}  // namespace

SoPlaneGroups::SoPlaneGroups(const std::vector<SoLineObject*>& objects, double tolerance)
    : numObjects_(static_cast<int>(objects.size())) {
    rank(findSets(objects, tolerance));
}

// A face's triangles arrive one after another, so a polygon looks for its set among the
// last few sets made: a look-up by plane would find coplanar faces far apart too, but cost
// a curved mesh of a million triangles, where nothing is shared, a tenth of a second.
std::vector<int> SoPlaneGroups::findSets(const std::vector<SoLineObject*>& objects,
                                         double tolerance) {
    const double limit = tolerance / 2;
    std::vector<int> setOf(objects.size(), -1);  // by number while the sets grow
    std::vector<PlaneSum> sums;
    std::vector<SoLinePlane> planes;
    int latest[RECENT_SETS];  // the numbers of the latest sets, the latest first
    int numLatest = 0;
    for (size_t o = 0; o < objects.size(); ++o) {
        const SoLineObject& polygon = *objects[o];
        if (!polygon.hides()) continue;
        int k = 0;
        while (k < numLatest && !liesIn(polygon, planes[size_t(latest[k])], limit)) ++k;
        if (k == numLatest) {
            if (!liesIn(polygon, polygon.getPlane(), limit)) continue;  // a warped quad
            k = numLatest = std::min(numLatest + 1, RECENT_SETS);
            latest[--k] = static_cast<int>(sums.size());
            sums.emplace_back();
            planes.emplace_back();
        }
        const auto set = static_cast<size_t>(latest[k]);
        setOf[o] = latest[k];
        sums[set].add(polygon);
        planes[set] = sums[set].plane();
        std::rotate(latest, latest + k, latest + k + 1);
    }
    return nameSets(objects, planes, limit, std::move(setOf));
}

// Each set by its first member that its final plane keeps; the others alone.
std::vector<int> SoPlaneGroups::nameSets(const std::vector<SoLineObject*>& objects,
                                         const std::vector<SoLinePlane>& planes, double limit,
                                         std::vector<int> setOf) {
    std::vector<int> name(planes.size(), -1);
    bool shared = false;
    for (size_t o = 0; o < objects.size(); ++o) {
        const int set = setOf[o];
        setOf[o] = static_cast<int>(o);
        if (set < 0 || !liesIn(*objects[o], planes[size_t(set)], limit)) continue;
        int& first = name[size_t(set)];
        shared = shared || first >= 0;
        if (first < 0) first = static_cast<int>(o);
        setOf[o] = first;
    }
    if (!shared) setOf.clear();
    return setOf;
}

// A set is named by its first object, which comes before the others: counted by name, the
// sets take their places in the order of their names, and each its objects in theirs.
void SoPlaneGroups::rank(const std::vector<int>& setOf) {
    const size_t n = setOf.size();
    if (n == 0) return;
    std::vector<int> placeOfSet(n + 1, 0);
    for (int set : setOf) ++placeOfSet[size_t(set) + 1];
    std::partial_sum(placeOfSet.begin(), placeOfSet.end(), placeOfSet.begin());
    objectAt_.resize(n);
    rankOf_.resize(n);
    firstOfSet_.resize(n);
    lastOfSet_.resize(n);
    for (size_t o = 0; o < n; ++o) {
        const auto set = size_t(setOf[o]);
        const int r = placeOfSet[set]++;
        objectAt_[size_t(r)] = int(o);
        rankOf_[o] = r;
    }
    // Each set's count has moved its place to the next set's first rank.
    for (size_t r = 0; r < n; ++r) {
        const auto set = size_t(setOf[size_t(objectAt_[r])]);
        lastOfSet_[r] = placeOfSet[set] - 1;
        firstOfSet_[r] = rankOf_[set];
    }
}
