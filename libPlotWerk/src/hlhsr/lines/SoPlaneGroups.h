#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "SoLineObject.h"
#include "SoLinePlane.h"

/// The polygons in sets that lie in one plane, to a tolerance: a flat face that arrives as
/// many triangles, a disc's fan or a part's cap, is one set. Polygons of one set pass
/// through one another nowhere and hide nothing of one another. The searches for where
/// faces meet and for what hides a point skip their pairs, which in the fans of long
/// triangles of a large flat face are nearly all the pairs whose boxes overlap.
///
/// All corners of a set's polygons lie within half the tolerance of the set's plane; any
/// point two members share then lies within the tolerance of both, where the hidden-line
/// computation tells nothing apart. The plane is the one the members tell together, not the
/// first one's: the plane of a long thin triangle, as a fine fan is made of, tips by far more
/// than the tolerance across the face with the rounding of its corners. A polygon joins one
/// of the latest few sets when its corners lie within the half tolerance of the plane its
/// members tell so far, and a member the final plane leaves further is alone after all. A
/// face whose triangles come apart makes several sets, which costs pairs to look at, not
/// lines.
///
/// Objects are ranked by set, and within a set in their own order; a set is placed where
/// its first object is. Lists of objects in rank order (`filed`, as the hidden-line grid
/// files the polygons) keep each set together, so that a search skips a set with two binary
/// searches. Where no two polygons share a plane, as on a curved surface, the ranks are the
/// indices and take no room. Objects added after the sets were found are in no set.
class SoPlaneGroups {
  public:
    /// No sets: every object is in none.
    SoPlaneGroups() = default;
    SoPlaneGroups(const std::vector<SoLineObject*>& objects, double tolerance);

    int getNumObjects() const { return numObjects_; }
    int objectAt(int rank) const { return objectAt_.empty() ? rank : objectAt_[size_t(rank)]; }
    /// Calls visit(o) for each object o of the sets ranked after the set of `object`.
    template <class Visit>
    void forEachAfterSetOf(int object, Visit visit) const {
        for (int r = lastOfSet(rankOf(object)) + 1; r < numObjects_; ++r) visit(objectAt(r));
    }

    /// The first object o of `filed` outside the set of `object` for which found(o) holds,
    /// or -1. A polygon alone in its set is asked about too: that costs less than finding
    /// it, and it neither hides nor is pierced by its own edges.
    template <class Found>
    int findOutsideSetOf(int object, const std::vector<int>& filed, Found found) const {
        const auto [from, to] = rangeToSkip(object, filed);
        for (auto o = filed.begin(); o != from; ++o)
            if (found(*o)) return *o;
        for (auto o = to; o != filed.end(); ++o)
            if (found(*o)) return *o;
        return -1;
    }
    /// As findOutsideSetOf, but asking first about `near`, if `filed` holds it, then about
    /// its neighbours there outwards, one on each side in turn: where a line passes behind a
    /// fan, each piece of it is hidden by the next triangle of the fan, ranked next to the last.
    template <class Found>
    int findOutsideSetOfNear(int object, int near, const std::vector<int>& filed,
                             Found found) const {
        const Position at = near < 0 ? filed.end() : firstRankedFrom(filed, rankOf(near));
        if (at == filed.end() || *at != near) return findOutsideSetOf(object, filed, found);
        const std::pair<Position, Position> skipped = rangeToSkip(object, filed);
        const auto asked = [&](Position o) {
            return (o < skipped.first || o >= skipped.second) && found(*o);
        };
        for (ptrdiff_t step = 0;; ++step) {
            const bool after = step < filed.end() - at, before = step < at - filed.begin();
            if (after && asked(at + step)) return at[step];
            if (before && asked(at - step - 1)) return at[-step - 1];
            if (!after && !before) return -1;
        }
    }
    /// Calls visit(o) for each object o that findOutsideSetOf would ask about.
    template <class Visit>
    void forEachOutsideSetOf(int object, const std::vector<int>& filed, Visit visit) const {
        findOutsideSetOf(object, filed, [&](int o) {
            visit(o);
            return false;
        });
    }
    /// Calls visit(o) for each object o of `filed` in a set after the set of `object`.
    template <class Visit>
    void forEachAfterSetOf(int object, const std::vector<int>& filed, Visit visit) const {
        for (auto o = afterSetOf(object, filed); o != filed.end(); ++o) visit(*o);
    }
    /// How many objects findOutsideSetOf would ask about.
    size_t countOutsideSetOf(int object, const std::vector<int>& filed) const {
        const auto [from, to] = rangeToSkip(object, filed);
        return filed.size() - static_cast<size_t>(to - from);
    }

  private:
    using Position = std::vector<int>::const_iterator;

    int rankOf(int object) const { return rankOf_.empty() ? object : rankOf_[size_t(object)]; }
    int firstOfSet(int rank) const {
        return firstOfSet_.empty() ? rank : firstOfSet_[size_t(rank)];
    }
    int lastOfSet(int rank) const { return lastOfSet_.empty() ? rank : lastOfSet_[size_t(rank)]; }
    bool inSet(int object) const { return object >= 0 && object < getNumObjects(); }
    /// The first position in `filed` of an object ranked `rank` or later.
    Position firstRankedFrom(const std::vector<int>& filed, int rank) const {
        return std::lower_bound(filed.begin(), filed.end(), rank,
                                [&](int o, int r) { return rankOf(o) < r; });
    }
    /// Where the set of `object` lies in `filed`; empty for an object in no set, alone, or
    /// not filed there.
    std::pair<Position, Position> rangeToSkip(int object, const std::vector<int>& filed) const {
        if (!inSet(object)) return {filed.begin(), filed.begin()};
        const int rank = rankOf(object), first = firstOfSet(rank), last = lastOfSet(rank);
        if (first == last || filed.empty() || rankOf(filed.back()) < first ||
            rankOf(filed.front()) > last)
            return {filed.begin(), filed.begin()};
        return {firstRankedFrom(filed, first), firstRankedFrom(filed, last + 1)};
    }
    /// Where the sets after the set of `object` begin in `filed`; its start for an object in
    /// no set.
    Position afterSetOf(int object, const std::vector<int>& filed) const {
        if (!inSet(object)) return filed.begin();
        return firstRankedFrom(filed, lastOfSet(rankOf(object)) + 1);
    }
    /// The set each object joins, named by its first object; an object that hides nothing
    /// is a set of its own. Empty where every polygon is.
    static std::vector<int> findSets(const std::vector<SoLineObject*>& objects, double tolerance);
    /// findSets' names, from the sets by number (setOf, -1 for none) and their planes: a
    /// member further than `limit` from its set's plane is alone.
    static std::vector<int> nameSets(const std::vector<SoLineObject*>& objects,
                                     const std::vector<SoLinePlane>& planes, double limit,
                                     std::vector<int> setOf);
    void rank(const std::vector<int>& setOf);

    int numObjects_ = 0;
    /// Empty where the ranks are the indices.
    std::vector<int> rankOf_, objectAt_, firstOfSet_, lastOfSet_;
};
