#include "SoSplitEdges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>

#include "../SoBitsHash.h"
#include "../SoDisjointSets.h"

namespace {
// A corner where more lone edges meet than this joins none of them into runs: every pair
// there is compared, and a face split along its edge meets only a few.
constexpr size_t MOST_AT_ONE_CORNER = 64;
// Planes a run tells apart; the edges of others are left as they are. A run's polygons lie
// in the one or two planes of a split face, or of a face and the wall beside it.
constexpr size_t MOST_PLANES = 8;
// Stretches of one edge that the other side covers, apart, that are left out.
constexpr int MOST_PIECES = 16;
// How far off its line, on the page, a corner may lie: four times the width below which the
// vectorizer leaves a face out, so that a few such faces side by side still leave one line,
// and the short edges of a fine circle turn by more than this.
constexpr double OFF_LINE = 4e-5;

using LoneEdge = SoSplitEdges::LoneEdge;

double pageDot(const SoLinePoint& a, const SoLinePoint& b) {
    return a.x * b.x + a.y * b.y;
}
SoLinePoint pageMinus(const SoLinePoint& a, const SoLinePoint& b) {
    return {a.x - b.x, a.y - b.y, 0.0};
}
const SoLinePoint& startOf(const LoneEdge& e) {
    return e.object->edgeStart(e.edge);
}
const SoLinePoint& endOf(const LoneEdge& e) {
    return e.object->edgeEnd(e.edge);
}

/// The page's line through two points, with a parameter along it from 0 at the first to 1 at
/// the second. On the page: polygons that agree on their plane and meet at a corner lie in
/// one plane, where the page's lines are its lines, and there a face too narrow for the
/// vectorizer (its width taken on the page) is a line.
struct Line {
    SoLinePoint from, along;
    double length2;

    Line(const SoLinePoint& a, const SoLinePoint& b)
        : from(a), along(pageMinus(b, a)), length2(pageDot(along, along)) {}
    explicit Line(const LoneEdge& e) : Line(startOf(e), endOf(e)) {}
    double parameterOf(const SoLinePoint& p) const {
        return pageDot(pageMinus(p, from), along) / length2;
    }
    bool holds(const SoLinePoint& p) const {
        const double t = parameterOf(p);
        const SoLinePoint off = pageMinus(pageMinus(p, from), {t * along.x, t * along.y, 0.0});
        return pageDot(off, off) <= OFF_LINE * OFF_LINE;
    }
};

/// Whether the shorter edge lies on the longer's line: its own way is the less sure one.
bool onOneLine(const LoneEdge& a, const LoneEdge& b) {
    const Line la(a), lb(b);
    const bool aLonger = la.length2 >= lb.length2;
    const Line& longer = aLonger ? la : lb;
    const LoneEdge& shorter = aLonger ? b : a;
    return lb.length2 > 0 && la.length2 > 0 && longer.holds(startOf(shorter)) &&
           longer.holds(endOf(shorter));
}

std::uint64_t hashOf(const SoLinePoint& p) {
    SoBitsHash hash(0);
    hash.add(&p, sizeof p);
    return hash.value();
}

/// Joins the lone edges that meet at one corner, to the bit, on one line.
void joinAtCorners(const std::vector<LoneEdge>& lone, SoDisjointSets& runs) {
    struct End {
        std::uint64_t hash;
        SoLinePoint point;
        size_t edge;
        bool operator<(const End& o) const {
            return std::tie(hash, edge) < std::tie(o.hash, o.edge);
        }
    };
    std::vector<End> ends;
    for (size_t i = 0; i < lone.size(); ++i)
        for (const SoLinePoint& p :
             {lone[i].object->edgeStart(lone[i].edge), lone[i].object->edgeEnd(lone[i].edge)})
            ends.push_back({hashOf(p), p, i});
    std::sort(ends.begin(), ends.end());
    for (size_t from = 0, to = 0; from < ends.size(); from = to) {
        while (to < ends.size() && ends[to].hash == ends[from].hash) ++to;
        if (to - from > MOST_AT_ONE_CORNER) continue;
        for (size_t a = from; a < to; ++a)
            for (size_t b = a + 1; b < to; ++b)
                if (std::memcmp(&ends[a].point, &ends[b].point, sizeof(SoLinePoint)) == 0 &&
                    onOneLine(lone[ends[a].edge], lone[ends[b].edge]))
                    runs.join(std::int32_t(ends[a].edge), std::int32_t(ends[b].edge));
    }
}

double normalDot(const SoLinePoint& a, const SoLinePoint& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

/// The line from end to end of a run: the ends furthest along its longest edge either way.
Line lineOf(const std::vector<LoneEdge>& lone, const std::vector<size_t>& run) {
    size_t longest = run[0];
    for (size_t i : run)
        if (Line(lone[i]).length2 > Line(lone[longest]).length2) longest = i;
    const Line way(lone[longest]);
    SoLinePoint first = way.from, last = endOf(lone[longest]);
    double lowest = 0, highest = 1;
    for (size_t i : run)
        for (const SoLinePoint& p : {startOf(lone[i]), endOf(lone[i])}) {
            const double t = way.parameterOf(p);
            if (t < lowest) lowest = t, first = p;
            if (t > highest) highest = t, last = p;
        }
    return Line(first, last);
}

/// An edge's stretch of its run's line, by the plane of its polygon and the side it lies on.
struct Stretch {
    int plane;
    bool left;
    double from, to;
    size_t edge;
    bool operator<(const Stretch& o) const {
        return std::tie(plane, left, from) < std::tie(o.plane, o.left, o.from);
    }
};

/// The stretches of a run, each polygon's plane numbered by the first one within the limit;
/// empty where the run bends.
std::vector<Stretch> stretchesOf(const std::vector<LoneEdge>& lone, const std::vector<size_t>& run,
                                 const Line& line, double limit) {
    const SoLinePoint beyond = {line.from.x + line.along.x, line.from.y + line.along.y, 0.0};
    std::vector<const SoLinePoint*> planes;
    std::vector<Stretch> stretches;
    for (size_t i : run) {
        const SoLineObject& o = *lone[i].object;
        const SoLinePoint &p = startOf(lone[i]), &q = endOf(lone[i]);
        if (!line.holds(p) || !line.holds(q)) return {};
        const double side = o.pageSide(line.from, beyond);
        if (!o.hides() || side == 0) continue;
        const SoLinePoint& normal = o.getWindingNormal();
        auto plane = std::find_if(planes.begin(), planes.end(), [&](const SoLinePoint* n) {
            return normalDot(*n, normal) >= limit;
        });
        if (plane == planes.end() && planes.size() == MOST_PLANES) continue;
        if (plane == planes.end()) plane = planes.insert(plane, &normal);
        const double t = line.parameterOf(p), u = line.parameterOf(q);
        stretches.push_back(
            {int(plane - planes.begin()), side > 0, std::min(t, u), std::max(t, u), i});
    }
    std::sort(stretches.begin(), stretches.end());
    return stretches;
}

using Spans = std::vector<std::pair<double, double>>;

/// The stretches from `begin` to `end`, merged where they meet within gap.
Spans merged(const Stretch* begin, const Stretch* end, double gap) {
    Spans spans;
    for (const Stretch* s = begin; s != end; ++s) {
        if (!spans.empty() && s->from <= spans.back().second + gap)
            spans.back().second = std::max(spans.back().second, s->to);
        else
            spans.push_back({s->from, s->to});
    }
    return spans;
}

/// What the spans cover of each stretch from `begin` to `end`, in the edge's own parameter.
void addCovered(const std::vector<LoneEdge>& lone, const Line& line, const Stretch* begin,
                const Stretch* end, const Spans& spans, double gap,
                std::vector<SoSplitEdges::Covered>& covered) {
    for (const Stretch* s = begin; s != end; ++s) {
        const double start = line.parameterOf(startOf(lone[s->edge]));
        const double length = line.parameterOf(endOf(lone[s->edge])) - start;
        // The spans are apart and in order: those that may meet the stretch follow the
        // first that ends beyond its start. An edge covered in more places than a few
        // overlaps others on its own side, which no mesh does: it keeps the rest.
        auto span = std::lower_bound(spans.begin(), spans.end(), s->from,
                                     [](const auto& entry, double t) { return entry.second < t; });
        for (int kept = 0; span != spans.end() && span->first < s->to && kept < MOST_PIECES;
             ++span) {
            const double low = std::max(span->first, s->from), high = std::min(span->second, s->to);
            if (high - low <= gap) continue;
            const double x = (low - start) / length, y = (high - start) / length;
            covered.push_back({s->edge, std::min(x, y), std::max(x, y)});
            ++kept;
        }
    }
}

/// What of one run's edges the other side covers, in the same plane.
void findCoveredInRun(const std::vector<LoneEdge>& lone, const std::vector<size_t>& run,
                      double limit, double tolerance, std::vector<SoSplitEdges::Covered>& covered) {
    const Line line = lineOf(lone, run);
    const std::vector<Stretch> stretches = stretchesOf(lone, run, line, limit);
    const double gap = tolerance / std::sqrt(line.length2);
    const Stretch* const last = stretches.data() + stretches.size();
    for (const Stretch* plane = stretches.data(); plane != last;) {
        const Stretch* left = std::find_if(
            plane, last, [&](const Stretch& t) { return t.plane != plane->plane || t.left; });
        const Stretch* end =
            std::find_if(left, last, [&](const Stretch& t) { return t.plane != plane->plane; });
        if (plane != left && left != end) {
            addCovered(lone, line, plane, left, merged(left, end, gap), gap, covered);
            addCovered(lone, line, left, end, merged(plane, left, gap), gap, covered);
        }
        plane = end;
    }
}
}  // namespace

std::vector<SoSplitEdges::Covered> SoSplitEdges::findCovered(const std::vector<LoneEdge>& lone,
                                                             double limit, double tolerance) {
    SoDisjointSets runs;
    runs.reset(lone.size());
    joinAtCorners(lone, runs);
    std::vector<std::pair<size_t, size_t>> byRun;  // (run, edge)
    for (size_t i = 0; i < lone.size(); ++i)
        byRun.push_back({size_t(runs.find(std::int32_t(i))), i});
    std::sort(byRun.begin(), byRun.end());
    std::vector<size_t> run;
    std::vector<Covered> covered;
    for (size_t from = 0, to = 0; from < byRun.size(); from = to) {
        run.clear();
        for (to = from; to < byRun.size() && byRun[to].first == byRun[from].first; ++to)
            run.push_back(byRun[to].second);
        if (run.size() > 1) findCoveredInRun(lone, run, limit, tolerance, covered);
    }
    return covered;
}
