#include "SoPlaneGroups.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace {

/// How many of the latest sets a polygon may join: a few, for a face whose triangles
/// alternate with those of its neighbours, as a strip's do.
constexpr int RECENT_SETS = 4;

bool liesIn(const SoLineObject& polygon, const SoLineObject& plane, double limit) {
    for (int k = 0; k < polygon.getNumPoints(); ++k)
        if (!(std::fabs(plane.planeDistance(polygon.getPoint(k))) <= limit)) return false;
    return true;
}

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
    std::vector<int> setOf(objects.size());
    bool shared = false;
    // The first polygons of the latest sets, the latest first.
    int latest[RECENT_SETS];
    int numLatest = 0;
    for (size_t o = 0; o < objects.size(); ++o) {
        setOf[o] = static_cast<int>(o);
        const SoLineObject& polygon = *objects[o];
        if (!polygon.hides()) continue;
        int k = 0;
        while (k < numLatest && !liesIn(polygon, *objects[size_t(latest[k])], tolerance / 2)) ++k;
        if (k < numLatest) {
            setOf[o] = latest[k];
            shared = true;
        } else if (liesIn(polygon, polygon, tolerance / 2)) {  // a warped quad founds no set
            k = numLatest = std::min(numLatest + 1, RECENT_SETS);
            latest[--k] = static_cast<int>(o);
        } else {
            continue;
        }
        std::rotate(latest, latest + k, latest + k + 1);
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
