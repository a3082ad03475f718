#include "SoFlatFaceJoiner.h"

#include <cmath>
#include <cstring>

#include "SoGraphicPrimitiveList.h"
#include "SoPolygon.h"

namespace {
// How far, in the normalised view (2 across), a corner may lie off the other polygon's
// plane: a tenth of what the painter's plane tests tell apart, so that the joined polygon
// stands where its parts stood.
constexpr double OFF_PLANE = 1e-5;
// How far apart two colours may be in each component and still print alike: less than one
// step of an 8-bit colour.
constexpr float COLOR_STEP = 1.0f / 1024.0f;
// How much an outline may turn the wrong way at a corner, by the cross product of its two
// edges relative to their lengths: corners on one line turn by rounding alone.
constexpr double STRAIGHT = 1e-6;

bool samePoint(const SbVec4f& a, const SbVec4f& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

/// Whether the outline turns one way at every corner on the page, straight on allowed.
bool isConvex(const std::vector<SbVec4f>& outline) {
    const size_t n = outline.size();
    double sense = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const SbVec4f &a = outline[i], &b = outline[(i + 1) % n], &c = outline[(i + 2) % n];
        const double ux = double(b[0]) - a[0], uy = double(b[1]) - a[1];
        const double vx = double(c[0]) - b[0], vy = double(c[1]) - b[1];
        const double cross = ux * vy - uy * vx;
        const double scale = std::hypot(ux, uy) * std::hypot(vx, vy);
        if (!(scale > 0)) return false;
        if (std::fabs(cross) <= STRAIGHT * scale) continue;
        if (sense * cross < 0) return false;
        sense = cross;
    }
    return sense != 0.0;
}
}  // namespace

// Newest first: a fan's next triangle joins the one before it.
bool SoFlatFaceJoiner::join(SoGraphicPrimitiveList& list, const SoPolygon& polygon,
                            float depthOffset) {
    if (&list != list_) return false;
    for (int k = 1; k <= count_; ++k) {
        const Candidate& c = candidates_[(next_ - k + CANDIDATES) % CANDIDATES];
        if (c.depthOffset != depthOffset || list.getPrimitive(c.index) != c.polygon) continue;
        if (joinTo(list, polygon, *c.polygon)) return true;
    }
    return false;
}

bool SoFlatFaceJoiner::joinTo(SoGraphicPrimitiveList& list, const SoPolygon& polygon,
                              SoPolygon& other) {
    if (!printsAlike(polygon, other) || !inPlane(polygon, other)) return false;
    const std::vector<SbVec4f> outline = joinedOutline(polygon, other);
    if (outline.empty() || int(outline.size()) > MOST_POINTS || !isConvex(outline)) return false;
    other.setOutline(static_cast<int>(outline.size()), outline.data());
    list.recordChanged();
    return true;
}

void SoFlatFaceJoiner::remember(const SoGraphicPrimitiveList& list, SoPolygon* polygon,
                                float depthOffset) {
    if (&list != list_) count_ = 0;
    list_ = &list;
    candidates_[next_] = {polygon, list.getLength() - 1, depthOffset};
    next_ = (next_ + 1) % CANDIDATES;
    count_ = count_ < CANDIDATES ? count_ + 1 : CANDIDATES;
}

// Filled in one colour, with nothing else that could tell the two apart; a polygon seen
// edge on has no sense on the page to keep.
bool SoFlatFaceJoiner::printsAlike(const SoPolygon& polygon, const SoPolygon& last) {
    if (polygon.drawStyle != 0 || last.drawStyle != 0 || polygon.multicolor || last.multicolor ||
        polygon.pattern != last.pattern || polygon.string1 != last.string1.get() ||
        polygon.string2 != last.string2.get() || polygon.offsetFactor != last.offsetFactor ||
        polygon.offsetUnits != last.offsetUnits)
        return false;
    if (!(polygon.normal[2] < 0.0f) || !(last.normal[2] < 0.0f)) return false;
    const SbColor &a = polygon.colors[0], &b = last.colors[0];
    for (int k = 0; k < 3; ++k)
        if (!(std::fabs(a[k] - b[k]) <= COLOR_STEP)) return false;
    return true;
}

bool SoFlatFaceJoiner::inPlane(const SoPolygon& polygon, const SoPolygon& other) {
    for (int i = 0; i < polygon.numPoints; ++i)
        if (!(std::fabs(other.planeDistance(polygon.points[i])) <= OFF_PLANE)) return false;
    return true;
}

// Both outlines run the same way round on the page (stored polygons face the viewer), so an
// edge they share runs a -> b in one and b -> a in the other.
std::vector<SbVec4f> SoFlatFaceJoiner::joinedOutline(const SoPolygon& polygon,
                                                     const SoPolygon& last) {
    const int m = last.numPoints, n = polygon.numPoints;
    for (int j = 0; j < m; ++j) {
        const SbVec4f &b = last.points[j], &a = last.points[(j + 1) % m];
        for (int i = 0; i < n; ++i) {
            if (!samePoint(polygon.points[i], a) || !samePoint(polygon.points[(i + 1) % n], b))
                continue;
            std::vector<SbVec4f> outline(last.points.get(), last.points.get() + j + 1);
            for (int k = 2; k < n; ++k) outline.push_back(polygon.points[(i + k) % n]);
            outline.insert(outline.end(), last.points.get() + j + 1, last.points.get() + m);
            return outline;
        }
    }
    return {};
}
