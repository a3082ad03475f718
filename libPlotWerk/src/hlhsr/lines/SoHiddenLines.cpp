#include "SoHiddenLines.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <tuple>
#include <type_traits>

#include "../SoBitsHash.h"
#include "../SoStopwatch.h"
#include "SoBucketedArray.h"
#include "SoFaceIntersections.h"
#include "SoLineGrid.h"
#include "SoPageCrossing.h"
#include "SoPenTravelOrder.h"
#include "SoPiercing.h"
#include "SoSplitEdges.h"

SoHiddenLines::Timings SoHiddenLines::lastTimings;

namespace {
// Tolerance of the page comparisons: crossings, ends and depths closer than this are one.
constexpr double TOLERANCE = 0.0001;
// The width of the cells objects are filed in to find near copies.
constexpr double PLACE_CELL = 8 * TOLERANCE;
// The crossing search looks as far beyond an edge's path as the piercing search does.
constexpr double CROSSING_MARGIN = SoPiercing::MARGIN;
// The roles of an edge in the crossing search, as bits.
constexpr char NEEDS_CUTS = 1, CUTS = 2;
// How far a piece's midpoint is lifted towards the viewer before it is tested.
constexpr double LIFT = 0.003;
constexpr double PI = 3.14159265358979323846;
// How near the view's border (at -1 and 1) an edge runs when clipping made it.
constexpr double BORDER = 1e-5;
// The mark of a piece that is neither seen nor hidden: no line, drawn or dashed.
constexpr char LEFT_OUT = 2;

/// A point as tested for being hidden: lifted, so that a polygon never hides its own outline.
SoLinePoint lifted(SoLinePoint p) {
    p.z += LIFT;
    return p;
}

/// A point as both polygons of a seam must hide it: lifted, and a tolerance more to spare.
SoLinePoint liftedPastSeam(const SoLinePoint& p) {
    SoLinePoint raised = lifted(p);
    raised.z += TOLERANCE;
    return raised;
}

/// An edge by its two end points, the same whichever way it runs.
struct EdgeKey {
    double v[6];
    bool operator==(const EdgeKey& o) const { return std::memcmp(v, o.v, sizeof v) == 0; }
};
EdgeKey keyOf(const SoLinePoint& a, const SoLinePoint& b) {
    const bool aFirst = std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    const SoLinePoint& p = aFirst ? a : b;
    const SoLinePoint& q = aFirst ? b : a;
    return {{p.x, p.y, p.z, q.x, q.y, q.z}};
}
}  // namespace

static_assert(std::is_trivially_destructible_v<SoLineObject>,
              "objects are left in the arena when it goes, never destroyed one by one");

SoHiddenLines::SoHiddenLines() = default;
SoHiddenLines::~SoHiddenLines() = default;

void SoHiddenLines::addPolygon(const SbVec4f* points, int numPoints, const SbColor* colors,
                               float lineWidth, unsigned short linePattern,
                               int linePatternScaleFactor, const float* edgeLengths,
                               const SbVec3f* normals) {
    add(points, numPoints, colors, lineWidth, linePattern, linePatternScaleFactor, true,
        edgeLengths, normals);
}

void SoHiddenLines::addPolyLine(const SbVec4f* points, int numPoints, const SbColor* colors,
                                float lineWidth, unsigned short linePattern,
                                int linePatternScaleFactor, const float* edgeLengths) {
    add(points, numPoints, colors, lineWidth, linePattern, linePatternScaleFactor, false,
        edgeLengths, nullptr);
}

// Depth grows away from the viewer in the records; here it grows towards him.
void SoHiddenLines::add(const SbVec4f* points, int numPoints, const SbColor* colors,
                        float lineWidth, unsigned short linePattern, int linePatternScaleFactor,
                        bool closed, const float* edgeLengths, const SbVec3f* normals) {
    if (numPoints < 2 || !points || !colors) return;
    newPoints_.clear();
    for (int i = 0; i < numPoints; ++i)
        newPoints_.push_back({points[i][0], points[i][1], -double(points[i][2])});
    const SoLineAttributes attributes{colors[0], lineWidth, linePattern, linePatternScaleFactor};
    SoLineObject object(newPoints_.data(), numPoints, closed, attributes);
    if (featureAngle_ >= 0.0f) {
        // A polygon without area, as where a grid of points meets itself at the pole of a
        // sphere, is a line along its neighbours' edges: they draw them, or leave them out.
        if (object.enclosesNothing()) return;
        object.normals = normals;
    }
    if (edgeLengths) {
        newPatternRun_.assign(1, 0.0f);
        for (int e = 0; e < object.getNumEdges(); ++e)
            newPatternRun_.push_back(newPatternRun_.back() + edgeLengths[e]);
        object.patternRun = newPatternRun_.data();
    }
    const Place filedAt = placeOf(object);
    if (hasNearCopy(object, filedAt)) return;
    object.keepIn(arena_);
    if (closed) leaveOutClippedEdges(object);
    byPlace_.add(placeHash(filedAt, 0, 0, object), static_cast<int>(objects_.size()));
    void* place = arena_.allocate(sizeof(SoLineObject), alignof(SoLineObject));
    objects_.push_back(new (place) SoLineObject(object));
}

// Coordinates too large for a cell number, and NaN, share one cell with no neighbours: such
// objects meet only their exact copies there. The mean of the points, not the first one: the
// triangles of a disc's fan may all start at its centre, and each was compared with all.
SoHiddenLines::Place SoHiddenLines::placeOf(const SoLineObject& object) {
    Place place{};
    double coordinates[2] = {0.0, 0.0};
    const int n = object.getNumPoints();
    for (int i = 0; i < n; ++i)
        coordinates[0] += object.getPoint(i).x / n, coordinates[1] += object.getPoint(i).y / n;
    for (int axis = 0; axis < 2; ++axis) {
        const double at = coordinates[axis] / PLACE_CELL, cell = std::floor(at);
        if (!(std::fabs(cell) < 1e15)) {
            place.cell[axis] = INT64_MAX;
            continue;
        }
        place.cell[axis] = static_cast<std::int64_t>(cell);
        place.from[axis] = (at - cell) * PLACE_CELL <= 2 * TOLERANCE ? -1 : 0;
        place.to[axis] = (1 - (at - cell)) * PLACE_CELL <= 2 * TOLERANCE ? 1 : 0;
    }
    return place;
}

std::uint64_t SoHiddenLines::placeHash(const Place& place, int dx, int dy,
                                       const SoLineObject& object) {
    const std::int64_t key[3] = {place.cell[0] + dx, place.cell[1] + dy,
                                 object.isClosed() ? object.getNumEdges() : -object.getNumEdges()};
    SoBitsHash hash(0);
    hash.add(key, sizeof key);
    return hash.value();
}

// Within the tolerance of an object kept before: a reader could not tell its lines from
// the other's, and a stack of such copies (a shape placed many times, each a hair from the
// last) made every copy cross and hide every other: 200 of a sphere took half a minute.
// Cells are several tolerances wide, so that most objects ask only their own.
bool SoHiddenLines::hasNearCopy(const SoLineObject& object, const Place& place) const {
    auto same = [&](int o) { return objects_[static_cast<size_t>(o)]->sameAs(object, TOLERANCE); };
    for (int dx = place.from[0]; dx <= place.to[0]; ++dx)
        for (int dy = place.from[1]; dy <= place.to[1]; ++dy)
            if (byPlace_.find(placeHash(place, dx, dy, object), same) >= 0) return true;
    return false;
}

// An outline edge along the border of the view is where clipping cut the polygon, not an
// edge of the shape: it hides, but it is not drawn.
void SoHiddenLines::leaveOutClippedEdges(SoLineObject& polygon) {
    auto onBorder = [](double a, double b) {
        return (a >= 1 - BORDER && b >= 1 - BORDER) || (a <= BORDER - 1 && b <= BORDER - 1);
    };
    for (int e = 0; e < polygon.getNumEdges(); ++e) {
        const SoLinePoint &a = polygon.edgeStart(e), &b = polygon.edgeEnd(e);
        if (onBorder(a.x, b.x) || onBorder(a.y, b.y)) polygon.drawn[e] = 0;
    }
}

std::vector<int> SoHiddenLines::listOrder() const {
    std::vector<int> order;
    if (objects_.empty()) return order;
    order.push_back(0);
    for (int i = static_cast<int>(objects_.size()) - 1; i > 0; --i) order.push_back(i);
    return order;
}

std::vector<SoVisibleLine> SoHiddenLines::computeVisibleLines() {
    Timings timings;
    SoStopwatch step;
    collectEdges();
    planes_ = SoPlaneGroups(objects_, TOLERANCE);
    SoLineGrid hiders(hiderColumns());
    fileHiders(hiders);
    if (featureAngle_ >= 0.0f && addFaceIntersections(hiders)) collectEdges();
    const std::vector<size_t> copyOf = findFirstCopies();
    if (featureAngle_ >= 0.0f) markFeatureEdges(copyOf);
    findWhollyHiddenEdges(hiders);
    cutEdges(findCrossings(copyOf), copyOf, hiders);
    timings.cutting = step.lap();
    const std::vector<char> visible = findVisiblePieces(hiders);
    timings.pieces = static_cast<long>(visible.size());
    timings.visibility = step.lap();
    std::vector<SoVisibleLine> lines;
    if (hiddenPattern_) {
        lines = joinPieces(visible, 0);
        for (SoVisibleLine& line : lines) {
            line.attributes.linePattern = hiddenPattern_;
            line.attributes.linePatternScaleFactor = 1;
        }
    }
    std::vector<SoVisibleLine> seen = joinPieces(visible, 1);
    releaseEdges();
    planes_ = SoPlaneGroups();
    if (penTravelOrder_) {
        float x = -1.0f, y = -1.0f;  // the pen waits at the view's lower-left corner
        SoPenTravelOrder::arrange(lines, x, y, true);
        SoPenTravelOrder::arrange(seen, x, y);
    }
    lines.insert(lines.end(), std::make_move_iterator(seen.begin()),
                 std::make_move_iterator(seen.end()));
    timings.joining = step.lap();
    lastTimings = timings;
    return lines;
}

void SoHiddenLines::fileHiders(SoLineGrid& hiders) const {
    for (int rank = 0; rank < static_cast<int>(objects_.size()); ++rank) {
        const int o = rank < planes_.getNumObjects() ? planes_.objectAt(rank) : rank;
        const SoLineObject& polygon = *objects_[size_t(o)];
        if (polygon.hides()) hiders.addPolygon(o, polygon);
    }
}

// Lifted as the pieces of lines are: a mark on a face is seen.
std::vector<char> SoHiddenLines::findSeenPoints(const std::vector<SbVec4f>& points) const {
    SoLineGrid hiders(hiderColumns());
    fileHiders(hiders);
    std::vector<char> seen;
    int lastHider = -1;
    for (const SbVec4f& p : points) {
        const int hider = findHider(lifted({p[0], p[1], -double(p[2])}), -1, hiders, lastHider);
        seen.push_back(hider < 0 ? 1 : 0);
        if (hider >= 0) lastHider = hider;
    }
    return seen;
}

size_t SoHiddenLines::countEdges() const {
    size_t numEdges = 0;
    for (const SoLineObject* object : objects_)
        numEdges += static_cast<size_t>(object->getNumEdges());
    return numEdges;
}

void SoHiddenLines::collectEdges() {
    edges_.clear();
    edges_.reserve(countEdges());
    firstEdgeOf_.clear();
    for (size_t o = 0; o < objects_.size(); ++o) {
        firstEdgeOf_.push_back(static_cast<int>(edges_.size()));
        for (int e = 0; e < objects_[o]->getNumEdges(); ++e)
            edges_.push_back(
                {static_cast<int>(o), e, &objects_[o]->edgeStart(e), &objects_[o]->edgeEnd(e)});
    }
}

// The lines are added as lines of the first polygon: they hide nothing, and they are seen
// or hidden as its own edges are.
bool SoHiddenLines::addFaceIntersections(const SoLineGrid& hiders) {
    std::vector<SoFaceIntersections::Segment> segments;
    if (!SoFaceIntersections::find(objects_, hiders, planes_, TOLERANCE, segments)) {
        SoDebugError::postWarning("SoHiddenLines::computeVisibleLines",
                                  "So many faces pass through one another that the lines where "
                                  "they meet are left out of the drawing");
        return false;
    }
    for (const SoFaceIntersections::Segment& segment : segments) {
        const SoLineAttributes attributes = objects_[size_t(segment.polygon)]->getAttributes();
        const SbVec4f ends[2] = {
            {float(segment.from.x), float(segment.from.y), float(-segment.from.z), 0.0f},
            {float(segment.to.x), float(segment.to.y), float(-segment.to.z), 0.0f}};
        add(ends, 2, &attributes.color, attributes.lineWidth, attributes.linePattern,
            attributes.linePatternScaleFactor, false, nullptr, nullptr);
    }
    return !segments.empty();
}

// The edges and their cuts take more room than the lines drawn from them: they go before
// the lines are ordered, which needs room of its own.
void SoHiddenLines::releaseEdges() {
    edges_ = {};
    cutStart_ = {};
    cutValues_ = {};
    hiddenWhole_ = {};
    leftOut_ = {};
    firstEdgeOf_ = {};
}

// As many columns as the edges ask for, unless filing the polygons would take more than 64
// entries a polygon, or 4 million in all if that is more: coincident copies of a large
// shape filled every bucket of a fine grid with every copy, gigabytes for a few thousand
// copies. The entries are counted by the polygons' shapes: counted by their boxes, the
// tall thin triangles of a cylinder's sides left buckets far wider than high, and the
// thousands of long triangles of its caps' fans met in every bucket near their centres.
// A polygon takes a bucket in each row it meets, however many columns there are: only the
// more it takes as its width there spans columns count. Counted with the rows, a fine
// cylinder seen at an angle, whose triangles nearly all run across hundreds of rows, had
// one column, and its rows of tens of thousands of triangles took over a minute to search.
int SoHiddenLines::hiderColumns() const {
    constexpr double MOST_ENTRIES_PER_POLYGON = 64, MOST_ENTRIES_ANYWAY = 4e6;
    double polygons = 0, columnsSpanned = 0;
    std::vector<double> extents;
    for (const SoLineObject* object : objects_) {
        if (!object->hides()) continue;
        ++polygons;
        SoLineGrid::findRowExtents(*object, extents);
        for (size_t k = 0; k < extents.size(); k += 2) {
            const double share = (extents[k + 1] - extents[k]) / 2;  // of the page's width
            columnsSpanned += share > 0 ? std::min(share, 1.0) : 0.0;
        }
    }
    const double budget = std::max(MOST_ENTRIES_PER_POLYGON * polygons, MOST_ENTRIES_ANYWAY);
    const double columns = budget / columnsSpanned;  // NaN or less than 1 where over budget
    const int wanted = std::clamp(static_cast<int>(countEdges() / 1000), 1, 500);
    if (columns >= wanted) return wanted;
    return columns >= 1 ? static_cast<int>(columns) : 1;
}

// The first primitive to bring an edge draws it; a second polygon on a smooth surface (its
// winding turned by less than the feature angle) takes the first one's edge away too, unless
// the surface turns away from the viewer there: both polygons on one side of the edge on the
// page is a fold, and its edge the outline of the surface. At an angle of 0 nothing is
// smooth, not even the diagonal of a flat face, whose two halves' normals the rounding may
// make agree to the last bit or not.
void SoHiddenLines::markFeatureEdges(const std::vector<size_t>& copyOf) {
    const double limit = std::cos(featureAngle_ * PI / 180.0);
    constexpr size_t NONE = static_cast<size_t>(-1);
    // By the first copy of each edge: the copy that came first in list order.
    std::vector<size_t> firstInList(edges_.size(), NONE);
    std::vector<char> shared(edges_.size(), 0);
    for (int o : listOrder()) {
        SoLineObject& object = *objects_[o];
        for (int e = 0; e < object.getNumEdges(); ++e) {
            const size_t copy = copyOf[static_cast<size_t>(firstEdgeOf_[o] + e)];
            size_t& first = firstInList[copy];
            if (first == NONE) {
                first = static_cast<size_t>(firstEdgeOf_[o] + e);
                continue;
            }
            shared[copy] = 1;
            object.drawn[e] = 0;
            const Edge& firstEdge = edges_[first];
            SoLineObject& other = *objects_[firstEdge.object];
            if (!object.hides() || !other.hides()) continue;
            const SoLinePoint& n = object.getWindingNormal();
            const SoLinePoint& m = other.getWindingNormal();
            const SoLinePoint &a = object.edgeStart(e), &b = object.edgeEnd(e);
            const bool fold = object.pageSide(a, b) * other.pageSide(a, b) > 0;
            const bool smooth =
                featureAngle_ > 0 && (n.x * m.x + n.y * m.y + n.z * m.z >= limit ||
                                      normalsRunOn(object, e, other, firstEdge.edge, limit));
            if (!fold && smooth) other.drawn[firstEdge.edge] = 0;
        }
    }
    if (featureAngle_ > 0) leaveOutSplitEdges(copyOf, shared, limit);
}

// What lone edges cover of one another across a line leaves the drawing: whole edges by
// their flags, stretches by cuts at their ends (see findVisiblePieces).
void SoHiddenLines::leaveOutSplitEdges(const std::vector<size_t>& copyOf,
                                       const std::vector<char>& shared, double limit) {
    std::vector<SoSplitEdges::LoneEdge> lone;
    std::vector<size_t> edgeOf;
    for (size_t i = 0; i < edges_.size(); ++i) {
        if (copyOf[i] != i || shared[i]) continue;
        lone.push_back({objects_[static_cast<size_t>(edges_[i].object)], edges_[i].edge});
        edgeOf.push_back(i);
    }
    for (const SoSplitEdges::Covered& c : SoSplitEdges::findCovered(lone, limit, TOLERANCE)) {
        const Edge& e = edges_[edgeOf[c.lone]];
        const double length = std::hypot(e.end->x - e.start->x, e.end->y - e.start->y);
        if (c.from * length <= TOLERANCE && (1 - c.to) * length <= TOLERANCE)
            objects_[static_cast<size_t>(e.object)]->drawn[e.edge] = 0;
        else
            leftOut_.push_back({edgeOf[c.lone], c.from, c.to});
    }
    std::sort(leftOut_.begin(), leftOut_.end(), [](const LeftOut& a, const LeftOut& b) {
        return std::tie(a.edge, a.from) < std::tie(b.edge, b.from);
    });
}

// The stretches of edge i left out of the drawing.
std::pair<const SoHiddenLines::LeftOut*, const SoHiddenLines::LeftOut*> SoHiddenLines::leftOutOf(
    size_t i) const {
    const auto byEdge = [](const LeftOut& a, const LeftOut& b) { return a.edge < b.edge; };
    const auto [from, to] =
        std::equal_range(leftOut_.begin(), leftOut_.end(), LeftOut{i, 0.0, 0.0}, byEdge);
    return {leftOut_.data() + (from - leftOut_.begin()), leftOut_.data() + (to - leftOut_.begin())};
}

// Edge f of q has the same two end points as edge e of p, either way round. One end is
// enough: at the tip of a cone the surface has no one normal, and the shape gives each
// polygon its own.
bool SoHiddenLines::normalsRunOn(const SoLineObject& p, int e, const SoLineObject& q, int f,
                                 double limit) {
    if (!p.normals || !q.normals) return false;
    const SoLinePoint &pStart = p.edgeStart(e), &qStart = q.edgeStart(f);
    const bool sameWay = pStart.x == qStart.x && pStart.y == qStart.y && pStart.z == qStart.z;
    const int qAtStart = sameWay ? f : q.edgeEndIndex(f);
    const int qAtEnd = sameWay ? q.edgeEndIndex(f) : f;
    auto normal = [](const SoLineObject& o, int i) { return o.normals[i]; };
    return normal(p, e).dot(normal(q, qAtStart)) >= limit ||
           normal(p, p.edgeEndIndex(e)).dot(normal(q, qAtEnd)) >= limit;
}

// The ends exactly, so that pieces of neighbouring edges meet where the edges do.
SoLinePoint SoHiddenLines::pointAlong(const Edge& e, double t) const {
    if (t <= 0) return *e.start;
    if (t >= 1) return *e.end;
    return SoPiercing::along(*e.start, *e.end, t);
}

// Every point of an edge whose two ends one polygon hides is hidden by it too: the plane's
// distance runs linearly along the edge, and the outline test is one of half-planes. Such
// an edge needs no cuts and no tests of its pieces; in a dense scene most edges are of this
// kind, and cutting them took most of the time.
void SoHiddenLines::findWhollyHiddenEdges(const SoLineGrid& hiders) {
    hiddenWhole_.assign(edges_.size(), 0);
    for (size_t i = 0; i < edges_.size(); ++i) {
        if (!objects_[edges_[i].object]->drawn[edges_[i].edge]) continue;
        // Dashed where hidden, such an edge still leaves its covered stretch out.
        if (const auto leftOut = leftOutOf(i); leftOut.first != leftOut.second) continue;
        const SoLinePoint a = lifted(*edges_[i].start), b = lifted(*edges_[i].end);
        hiddenWhole_[i] =
            planes_.findOutsideSetOf(edges_[i].object, hiders.at(a.x, a.y), [&](int o) {
                return objects_[o]->hidesPoint(a) && objects_[o]->hidesPoint(b);
            }) >= 0;
    }
}

// Each pair of edges sharing a bucket is tested once: in the bucket their crossing falls in.
// Edges are filed along their path, in buckets nearly square: filed by their boxes, long
// edges that all cross all shared hundreds of buckets a pair, and a few thousand of them
// took tens of seconds.
// Only the cuts of an edge drawn somewhere and not wholly hidden are ever read: where a shape
// arrives as fans of long triangles whose shared edges are left out, those crossed one
// another by the million and their cuts took gigabytes.
std::vector<SoHiddenLines::Cut> SoHiddenLines::findCrossings(
    const std::vector<size_t>& first) const {
    // Per first copy: whether a copy is drawn and seen in part, and whether one is a
    // polygon's, which hides what passes behind it.
    std::vector<char> role(edges_.size(), 0);
    for (size_t i = 0; i < edges_.size(); ++i) {
        const SoLineObject& object = *objects_[edges_[i].object];
        if (object.drawn[edges_[i].edge] && !hiddenWhole_[i]) role[first[i]] |= NEEDS_CUTS;
        if (object.hides()) role[first[i]] |= CUTS;
    }
    const std::vector<std::array<int, 2>> seams = findSeams(first);
    std::vector<Cut> cuts;
    SoLineGrid grid(std::clamp(static_cast<int>(edges_.size() / 4), 1, SoLineGrid::ROWS));
    for (size_t i = 0; i < edges_.size(); ++i) {
        if (first[i] != i) continue;
        const SoLinePoint &a = *edges_[i].start, &b = *edges_[i].end;
        grid.addSegment(static_cast<int>(i), a.x, a.y, b.x, b.y, CROSSING_MARGIN);
    }
    for (int r = 0; r < SoLineGrid::ROWS; ++r) {
        for (int c = 0; c < grid.getColumns(); ++c) {
            const std::vector<int>& items = grid.bucket(r, c);
            for (size_t i = 0; i < items.size(); ++i) {
                for (size_t j = i + 1; j < items.size(); ++j) {
                    const size_t a = items[i], b = items[j];
                    if (!((role[a] | role[b]) & NEEDS_CUTS) || !((role[a] | role[b]) & CUTS))
                        continue;
                    const SoLinePoint &p0 = *edges_[a].start, &p1 = *edges_[a].end;
                    const auto crossing =
                        pageCrossing(p0, p1, *edges_[b].start, *edges_[b].end, TOLERANCE);
                    if (!crossing) continue;
                    const auto [t, u] = *crossing;
                    const double x = p0.x + t * (p1.x - p0.x), y = p0.y + t * (p1.y - p0.y);
                    if (grid.row(y) != r || grid.column(x) != c) continue;
                    cutAtCrossing(a, t, b, u, role, seams, cuts);
                }
            }
        }
    }
    return cuts;
}

// An edge that another one repeats crosses what the first one crosses: the two triangles at
// every inner edge of a mesh bring it twice, coincident copies of a shape many times, and
// each copy crossed all the others' crossings again. Edges sorted by the hash of their ends
// meet their copies in a run of equal hashes, nearly always of one or two.
std::vector<size_t> SoHiddenLines::findFirstCopies() const {
    struct Entry {
        std::uint64_t hash;
        size_t edge;
        bool operator<(const Entry& o) const {
            return std::tie(hash, edge) < std::tie(o.hash, o.edge);
        }
    };
    std::vector<Entry> entries(edges_.size());
    for (size_t i = 0; i < edges_.size(); ++i) {
        SoBitsHash hash(0);
        const EdgeKey key = keyOf(*edges_[i].start, *edges_[i].end);
        hash.add(key.v, sizeof key.v);
        entries[i] = {hash.value(), i};
    }
    std::sort(entries.begin(), entries.end());
    std::vector<size_t> first(edges_.size());
    std::vector<size_t> distinct;  // the first edge of each set of ends in the run
    for (size_t k = 0; k < entries.size(); ++k) {
        if (k == 0 || entries[k].hash != entries[k - 1].hash) distinct.clear();
        const size_t i = entries[k].edge;
        if (distinct.empty()) {
            distinct.push_back(i);
            first[i] = i;
            continue;
        }
        const EdgeKey key = keyOf(*edges_[i].start, *edges_[i].end);
        auto same = std::find_if(distinct.begin(), distinct.end(), [&](size_t d) {
            return keyOf(*edges_[d].start, *edges_[d].end) == key;
        });
        if (same == distinct.end()) same = distinct.insert(distinct.end(), i);
        first[i] = *same;
    }
    return first;
}

// Where two polygons meet at an edge from its two sides, as the triangles of a face do, an
// edge that passes behind both of them is hidden on both sides of the seam: a cut there only
// parts two hidden pieces. Behind a fine fan, an edge crossed thousands of seams, and the
// cuts of a few thousand such edges took gigabytes.
std::vector<std::array<int, 2>> SoHiddenLines::findSeams(const std::vector<size_t>& first) const {
    std::vector<std::array<int, 2>> seams(edges_.size(), {-1, -1});
    std::vector<char> copies(edges_.size(), 0);
    for (size_t i = 0; i < edges_.size(); ++i) {
        const size_t f = first[i];
        if (copies[f] < 2) seams[f][size_t(copies[f])] = edges_[i].object;
        copies[f] = static_cast<char>(std::min(copies[f] + 1, 3));
    }
    for (size_t f = 0; f < edges_.size(); ++f) {
        const auto [p, q] = seams[f];
        if (copies[f] != 2 || p == q || !objects_[p]->hides() || !objects_[q]->hides() ||
            !(objects_[p]->pageSide(*edges_[f].start, *edges_[f].end) *
                  objects_[q]->pageSide(*edges_[f].start, *edges_[f].end) <
              0))
            seams[f] = {-1, -1};
    }
    return seams;
}

// The plane's distance runs linearly along the edge, so the ends of its stretch inside the
// outline tell for all of it. Each end must be the edge's own or a crossing that the search
// finds and treats as this one, away from the outline's corners: the pieces on both sides of
// a seam become one, and only a cut, or another seam so hidden, may end it.
bool SoHiddenLines::hidesAlong(const SoLineObject& polygon, const Edge& e) const {
    const SoLineObject::Stretch inside = polygon.stretchInside(*e.start, *e.end);
    if (!(inside.first <= inside.last)) return false;
    for (const auto& [t, edge] :
         {std::pair(inside.first, inside.firstEdge), std::pair(inside.last, inside.lastEdge)}) {
        if (!polygon.planeHides(liftedPastSeam(pointAlong(e, t)))) return false;
        if (edge < 0) continue;
        const SoLinePoint &v = polygon.edgeStart(edge), &w = polygon.edgeEnd(edge);
        const auto crossing = pageCrossing(*e.start, *e.end, v, w, TOLERANCE);
        if (!crossing || crossingAtEnd(pointAlong(e, (*crossing)[0]), {&v, &w})) return false;
    }
    return true;
}

bool SoHiddenLines::crossingAtEnd(const SoLinePoint& x,
                                  std::initializer_list<const SoLinePoint*> ends) {
    for (const SoLinePoint* end : ends) {
        const double dx = end->x - x.x, dy = end->y - x.y;
        if (dx * dx + dy * dy < TOLERANCE * TOLERANCE) return true;
    }
    return false;
}

// The edge behind at the crossing is cut where a polygon's edge passes in front of it; a
// crossing at an end point, or at one depth, or behind a line, which hides nothing, changes
// nothing; nor does one behind a seam whose polygons both hide the edge where they hold it.
// Lines where faces meet cross one another by the thousand.
void SoHiddenLines::cutAtCrossing(size_t a, double t, size_t b, double u,
                                  const std::vector<char>& role,
                                  const std::vector<std::array<int, 2>>& seams,
                                  std::vector<Cut>& cuts) const {
    const SoLinePoint x = SoPiercing::along(*edges_[a].start, *edges_[a].end, t);
    if (crossingAtEnd(x, {edges_[a].start, edges_[a].end, edges_[b].start, edges_[b].end})) return;
    const SoLinePoint y = SoPiercing::along(*edges_[b].start, *edges_[b].end, u);
    if (std::fabs(x.z - y.z) <= TOLERANCE) return;
    const bool aBehind = x.z < y.z;
    const size_t behind = aBehind ? a : b, front = aBehind ? b : a;
    if (!(role[behind] & NEEDS_CUTS) || !(role[front] & CUTS)) return;
    if (const auto [p, q] = seams[front]; p >= 0) {
        // Both must hide the crossing itself: most crossings end the test here, cheaply.
        const SoLinePoint crossing = liftedPastSeam(aBehind ? x : y);
        if (objects_[p]->planeHides(crossing) && objects_[q]->planeHides(crossing) &&
            hidesAlong(*objects_[p], edges_[behind]) && hidesAlong(*objects_[q], edges_[behind]))
            return;
    }
    cuts.push_back({behind, aBehind ? t : u});
}

// Edge by edge into one table: the crossings of the edge's first copy, its own piercings, in
// order along it. A table of its own for each edge took more room than the cuts in it.
void SoHiddenLines::cutEdges(const std::vector<Cut>& crossings, const std::vector<size_t>& first,
                             const SoLineGrid& hiders) {
    SoBucketedArray<double> byEdge;
    byEdge.fill(
        crossings, edges_.size(), [](const Cut& cut) { return cut.edge; },
        [](const Cut& cut) { return cut.t; });
    std::vector<size_t> lastEdge(objects_.size(), static_cast<size_t>(-1));
    cutStart_.assign(1, 0);
    cutValues_.clear();
    for (size_t i = 0; i < edges_.size(); ++i) {
        const Edge& e = edges_[i];
        if (objects_[e.object]->drawn[e.edge] && !hiddenWhole_[i]) {
            const bool reversed = std::memcmp(e.start, edges_[first[i]].start, sizeof *e.start);
            for (size_t k = byEdge.start[first[i]]; k < byEdge.start[first[i] + 1]; ++k)
                cutValues_.push_back(reversed ? 1.0 - byEdge.items[k] : byEdge.items[k]);
            addPiercings(i, hiders, lastEdge);
            const auto [from, to] = leftOutOf(i);
            for (const LeftOut* l = from; l != to; ++l)
                cutValues_.insert(cutValues_.end(), {l->from, l->to});
            keepDistinctCuts(i);
        }
        cutStart_.push_back(cutValues_.size());
    }
}

// Sorts the edge's cuts and keeps one of those that lie within the tolerance of one another
// or of an end on the page. Planes through one line cut an edge there all at once: a fan of
// a thousand sheets around an axis made its top edges a thousand pieces each, all but one
// too short to see, and the visibility test of each asked every sheet.
void SoHiddenLines::keepDistinctCuts(size_t i) {
    const Edge& e = edges_[i];
    const double length = std::hypot(e.end->x - e.start->x, e.end->y - e.start->y);
    const auto from = cutValues_.begin() + static_cast<std::ptrdiff_t>(cutStart_.back());
    std::sort(from, cutValues_.end());
    double last = 0.0;
    auto kept = from;
    for (auto cut = from; cut != cutValues_.end(); ++cut) {
        if ((*cut - last) * length <= TOLERANCE || (1.0 - *cut) * length <= TOLERANCE) continue;
        *kept++ = last = *cut;
    }
    cutValues_.erase(kept, cutValues_.end());
}

// lastEdge, per polygon: the last edge it was asked about, so that it is asked once an edge.
void SoHiddenLines::addPiercings(size_t i, const SoLineGrid& hiders,
                                 std::vector<size_t>& lastEdge) {
    const Edge& e = edges_[i];
    const SoLinePoint &a = *e.start, &b = *e.end;
    auto pierce = [&](int o) {
        if (o == e.object || lastEdge[o] == i) return;
        lastEdge[o] = i;
        double t;
        if (SoPiercing::find(*objects_[o], a, b, TOLERANCE, t)) cutValues_.push_back(t);
    };
    SoPiercing::forEachCandidate(hiders, planes_, e.object, objects_, a, b, pierce);
}

int SoHiddenLines::findHider(const SoLinePoint& p, int object, const SoLineGrid& hiders,
                             int likely) const {
    if (likely >= 0 && objects_[size_t(likely)]->hidesPoint(p)) return likely;
    return planes_.findOutsideSetOfNear(object, likely, hiders.at(p.x, p.y),
                                        [&](int o) { return objects_[o]->hidesPoint(p); });
}

std::vector<char> SoHiddenLines::findVisiblePieces(const SoLineGrid& hiders) {
    std::vector<char> visible;
    for (size_t i = 0; i < edges_.size(); ++i) {
        if (!objects_[edges_[i].object]->drawn[edges_[i].edge]) continue;
        if (hiddenWhole_[i]) {
            visible.push_back(0);
            continue;
        }
        // Neighbouring pieces are mostly hidden by one polygon: it is asked first.
        int lastHider = -1;
        const auto leftOut = leftOutOf(i);
        double from = 0.0;
        for (size_t k = cutStart_[i]; k <= cutStart_[i + 1]; ++k) {
            const double to = k < cutStart_[i + 1] ? cutValues_[k] : 1.0;
            const double middle = (from + to) / 2;
            from = to;
            if (std::any_of(leftOut.first, leftOut.second,
                            [&](const LeftOut& l) { return middle > l.from && middle < l.to; })) {
                visible.push_back(LEFT_OUT);
                continue;
            }
            const SoLinePoint mid = lifted(pointAlong(edges_[i], middle));
            const int hider = findHider(mid, edges_[i].object, hiders, lastHider);
            visible.push_back(hider < 0 ? 1 : 0);
            if (hider >= 0) lastHider = hider;
        }
    }
    return visible;
}

void SoVisibleLine::extendTo(float x, float y) {
    const SbVec4f next(x, y, 0.0f, 0.0f);
    const size_t n = points.size();
    if (n >= 2) {
        const double ax = points[n - 1][0] - points[n - 2][0];
        const double ay = points[n - 1][1] - points[n - 2][1];
        const double bx = next[0] - points[n - 1][0], by = next[1] - points[n - 1][1];
        const double cross = ax * by - ay * bx, dot = ax * bx + ay * by;
        if (dot > 0 && std::fabs(cross) <= TOLERANCE * std::hypot(ax, ay) * std::hypot(bx, by)) {
            points[n - 1] = next;
            return;
        }
    }
    points.push_back(next);
}

void SoVisibleLine::append(const SoVisibleLine& next) {
    for (size_t k = 1; k < next.points.size(); ++k) extendTo(next.points[k][0], next.points[k][1]);
}

std::vector<SoVisibleLine> SoHiddenLines::joinPieces(const std::vector<char>& visible,
                                                     char drawn) const {
    // Where each drawn edge's pieces start in `visible`.
    std::vector<size_t> firstPiece(edges_.size(), 0);
    for (size_t i = 0, at = 0; i < edges_.size(); ++i) {
        firstPiece[i] = at;
        if (objects_[edges_[i].object]->drawn[edges_[i].edge])
            at += cutStart_[i + 1] - cutStart_[i] + 1;
    }
    std::vector<SoVisibleLine> lines;
    for (int o : listOrder()) {
        const SoLineObject& object = *objects_[o];
        const size_t firstOfObject = lines.size();
        auto start = [&](const SoLinePoint& p, float phase) {
            lines.push_back(
                {{SbVec4f(float(p.x), float(p.y), 0.0f, 0.0f)}, object.getAttributes(), phase});
        };
        bool open = false;  // whether the last line may go on
        for (int e = 0; e < object.getNumEdges(); ++e) {
            const size_t i = static_cast<size_t>(firstEdgeOf_[o] + e);
            if (!object.drawn[e]) {
                open = false;
                continue;
            }
            const size_t numCuts = cutStart_[i + 1] - cutStart_[i];
            double from = 0.0;
            for (size_t k = 0; k <= numCuts; ++k) {
                const double to = k < numCuts ? cutValues_[cutStart_[i] + k] : 1.0;
                if (visible[firstPiece[i] + k] != drawn) {
                    open = false;
                } else {
                    if (!open) start(pointAlong(edges_[i], from), object.patternAt(e, from));
                    const SoLinePoint end = pointAlong(edges_[i], to);
                    lines.back().extendTo(float(end.x), float(end.y));
                    open = true;
                }
                from = to;
            }
        }
        // A closed outline visible where it starts and ends is one line round its start.
        if (object.isClosed() && open && lines.size() - firstOfObject >= 2) {
            const SbVec4f& end = lines.back().points.back();
            const SbVec4f& begin = lines[firstOfObject].points.front();
            if (end == begin) {
                lines.back().append(lines[firstOfObject]);
                lines[firstOfObject] = std::move(lines.back());
                lines.pop_back();
            }
        }
    }
    return lines;
}
