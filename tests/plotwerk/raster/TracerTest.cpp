// The tracers of the raster hidden-surface mode: region outlines that cover their own pixels,
// keep out of other regions and meet their neighbours edge for edge, and line runs reduced to
// the segment between their ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "../../../libPlotWerk/src/hlhsr/SoGraphicPrimitive.h"
#include "../../../libPlotWerk/src/hlhsr/raster/SoLinesVectorizer.h"
#include "../../../libPlotWerk/src/hlhsr/raster/SoPolygonsVectorizer.h"
#include "../../../libPlotWerk/src/hlhsr/raster/SoTileRegionMerger.h"

namespace {

using Pt = std::pair<double, double>;
struct Outline {
    std::uint32_t id;
    std::vector<Pt> pts;
};

/// An identifier image, rows in buffer order: pixel (c, r) is ids[r * w + c].
struct Image {
    int w = 0, h = 0;
    std::vector<std::uint32_t> ids;
    bool is(int c, int r, std::uint32_t id) const {
        return c >= 0 && r >= 0 && c < w && r < h && ids[r * w + c] == id;
    }
};

/// Rows split by '/'; '.' is the background, letters identifiers using all three colour bytes
/// (plus `bits`).
Image fromRows(const std::string& rows, std::uint32_t bits = 0) {
    Image im{int(rows.find('/')), 0, {}};
    for (char ch : rows) {
        const std::uint32_t k = ch == '.' ? 0 : std::uint32_t(ch - 'a' + 1);
        if (ch != '/') im.ids.push_back(k ? k | (k * 3) << 8 | (k * 5) << 16 | bits : 0);
    }
    im.h = int(im.ids.size()) / im.w;
    return im;
}

/// The image as RGBA pixels read back, alpha set to what no tracer must read.
std::vector<unsigned char> rgba(const Image& im) {
    std::vector<unsigned char> tile;
    for (std::uint32_t v : im.ids)
        for (int b = 0; b < 4; ++b) tile.push_back((unsigned char)(b < 3 ? v >> 8 * b : 0x5A));
    return tile;
}

std::vector<Outline> trace(SoImageVectorizer& tracer, const Image& im) {
    const std::vector<unsigned char> tile = rgba(im);
    tracer.vectorize(tile.data(), im.w, im.h);
    std::vector<Outline> out;
    for (int i = 0; i < tracer.getTraced().getLength(); ++i) {
        SoGraphicPrimitive* p = tracer.getTraced().getPrimitive(i);
        out.push_back({std::uint32_t(p->sourceId), {}});
        for (int k = 0; k < p->getNumPoints(); ++k)
            out.back().pts.emplace_back((*p->getPoint(k))[0], (*p->getPoint(k))[1]);
    }
    return out;
}

/// For outline p and point q: the area of p, whether q lies inside (even-odd) and how far q
/// is from p's edges.
struct Where {
    double area = 0.0, distance = 1e9;
    bool inside = false;
};
Where locate(const std::vector<Pt>& p, Pt q) {
    Where w;
    for (size_t k = 0; k < p.size(); ++k) {
        const auto [ax, ay] = p[k];
        const auto [bx, by] = p[(k + 1) % p.size()];
        const double ex = bx - ax, ey = by - ay, dx = q.first - ax, dy = q.second - ay;
        const double t =
            std::clamp((dx * ex + dy * ey) / std::max(ex * ex + ey * ey, 1e-9), 0., 1.);
        w.area += (ax * by - bx * ay) / 2;
        w.inside ^= (ay > q.second) != (by > q.second) && dx < dy * ex / ey;
        w.distance = std::min(w.distance, std::hypot(t * ex - dx, t * ey - dy));
    }
    w.area = std::fabs(w.area);
    return w;
}

/// The pixels an outer outline of id covers: its own and those it closes in (no 4-connected
/// path of other pixels leads out of the tile from them).
std::vector<bool> enclosedBy(const Image& im, std::uint32_t id) {
    std::vector<bool> in(im.ids.size(), true);
    std::vector<std::pair<int, int>> todo;
    for (int i = 0; i < std::max(im.w, im.h); ++i)
        todo.insert(todo.end(), {{i, -1}, {i, im.h}, {-1, i}, {im.w, i}});
    while (!todo.empty()) {
        const auto [c, r] = todo.back();
        todo.pop_back();
        for (auto [x, y] : {std::pair{c + 1, r}, {c - 1, r}, {c, r + 1}, {c, r - 1}}) {
            if (x < 0 || y < 0 || x >= im.w || y >= im.h || !in[y * im.w + x] || im.is(x, y, id))
                continue;
            in[y * im.w + x] = false;
            todo.push_back({x, y});
        }
    }
    return in;
}

/// A pixel centre farther than `allowance`
/// from the outlines of an identifier is inside them exactly when that identifier encloses
/// it; with `exact`, the outlines of an identifier have the area of the pixels it encloses.
void checkOutlines(const Image& im, const std::vector<Outline>& outlines, double allowance,
                   bool exact) {
    for (const Outline& o : outlines) EXPECT_NE(o.id, 0u);
    for (std::uint32_t id : std::set<std::uint32_t>(im.ids.begin(), im.ids.end())) {
        const std::vector<bool> enclosed = enclosedBy(im, id);
        for (int i = 0; i < im.w * im.h && id != 0; ++i) {
            Where all;
            for (const Outline& o : outlines) {
                const Where w = locate(o.pts, {i % im.w, i / im.w});
                all.area += o.id == id ? w.area : 0.0;
                all.inside |= o.id == id && w.inside && o.pts.size() > 2;
                all.distance = std::min(all.distance, o.id == id ? w.distance : 1e9);
            }
            EXPECT_TRUE(all.distance <= allowance || all.inside == enclosed[i]) << "pixel " << i;
            EXPECT_TRUE(!exact || all.area == std::count(enclosed.begin(), enclosed.end(), true));
        }
    }
}

/// Neighbours meet edge for edge: every edge that does not run along a side of the tile's
/// frame (where the next tile's outlines run) is walked backwards as often by the others.
void checkShared(const Image& im, const std::vector<Outline>& outlines) {
    std::map<std::pair<Pt, Pt>, int> edges;
    for (const Outline& o : outlines)
        for (size_t k = 0; k < o.pts.size(); ++k)
            ++edges[{o.pts[k], o.pts[(k + 1) % o.pts.size()]}];
    auto alongTheFrame = [&](Pt a, Pt b) {
        return (a.first == b.first && (a.first < 0 || a.first > im.w - 1)) ||
               (a.second == b.second && (a.second < 0 || a.second > im.h - 1));
    };
    for (const auto& [e, n] : edges) {
        const auto back = edges.find({e.second, e.first});
        EXPECT_TRUE(alongTheFrame(e.first, e.second) || (back != edges.end() && back->second == n));
    }
}

TEST(PolygonTracer, RegionsTable) {
    struct Case {
        const char* name;
        std::string rows;
        double tolerance;            // below half a pixel, every corner of these shapes stays
        size_t polygons, maxPoints;  // corners, plus where the walk started
    };
    const std::vector<Case> cases = {
        {"square", "...../.aaa./.aaa./.aaa./.....", 0.25, 1, 5},
        {"hole of another id", "aaaaaaa./aaaaaaa./aabbbaa./aabbbaa./aabbbaa./aaaaaaa.", 0.25, 2, 5},
        {"background hole", "aaaaaa./aaaaaa./aa..aa./aa..aa./aa..aa./aaaaaa.", 0.25, 1, 5},
        {"one pixel", "..../.a../....", 1.0, 1, 5},
        {"pixels meeting at a corner", "a....../.a...../..aaaaa/..aaaaa", 1.0, 1, 11},
        {"two pieces of one id", "aaa...bbb/aaa...bbb/........./...aaa.../...aaa...", 0.25, 3, 5},
        {"regions at the tile border", "aaabbb/aaabbb/aaabbb/cccccc/cccccc", 0.25, 3, 5},
        {"staircase", "aaaaaaabbbbbbbbb/aaaaaaaaabbbbbbb/aaaaaaaaaaaabbbb/aaaaaaaaaaaaaabb", 1.5, 2,
         4},
        {"symmetric bump", "aaaaaaaaa/aaaaaaaaa/aaabbbaaa/bbbbbbbbb/bbbbbbbbb", 0.9, 2, 7},
        {"only background", "..../....", 0.25, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Image im = fromRows(k.rows);
        SoPolygonsVectorizer tracer(k.tolerance);
        const std::vector<Outline> outlines = trace(tracer, im);
        EXPECT_EQ(outlines.size(), k.polygons);
        for (const Outline& o : outlines) EXPECT_LE(o.pts.size(), k.maxPoints);
        checkOutlines(im, outlines, tracer.getTolerance(), tracer.getTolerance() < 0.5);
        if (std::count(im.ids.begin(), im.ids.end(), 0u) == 0) checkShared(im, outlines);
    }
}

TEST(PolygonTracer, RandomRegionsMeetAndCoverTheirPixels) {
    std::mt19937 rng(1234567);
    auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(rng);
    };
    for (int trial = 0; trial < 30; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        Image im{int(uniform(6, 48)), int(uniform(6, 48)), {}};
        std::vector<Pt> seeds(int(uniform(2, 12)));
        for (Pt& s : seeds) s = {uniform(0, im.w), uniform(0, im.h)};
        for (int i = 0; i < im.w * im.h; ++i) {  // Voronoi cells: convex, meeting at no X crossing
            auto far = [&](size_t s) {
                return std::hypot(seeds[s].first - i % im.w, seeds[s].second - i / im.w);
            };
            size_t best = 0;
            for (size_t s = 1; s < seeds.size(); ++s) best = far(s) < far(best) ? s : best;
            im.ids.push_back(std::uint32_t((best + 1) * 0x9E3779 & 0xFFFFFF));
        }
        SoPolygonsVectorizer tracer(uniform(1.0, 3.0));
        const std::vector<Outline> outlines = trace(tracer, im);
        checkOutlines(im, outlines, tracer.getTolerance(), false);
        checkShared(im, outlines);
    }
}

TEST(LineTracer, RunsBecomeSegmentsBetweenTheirEnds) {
    struct Case {
        const char* name;
        std::string rows;
        std::uint32_t bits;
        std::vector<Pt> ends;  // none when nothing is traced
    };
    const std::uint32_t line = SoLinesVectorizer::LINE_BIT;
    const std::vector<Case> cases = {
        {"horizontal", "......../......../..aaaa../........", line, {{2, 2}, {5, 2}}},
        {"vertical", "......../....a.../....a.../....a...", line, {{4, 1}, {4, 3}}},
        {"diagonal", ".a....../..a...../...a..../....a...", line, {{1, 0}, {4, 3}}},
        {"falling diagonal", ".....a../....a.../...a..../..a.....", line, {{5, 0}, {2, 3}}},
        {"stair-step", "......../aaa...../...aaa../......aa", line, {{0, 1}, {7, 3}}},
        {"along the tile border", "aaa...../......../......../........", line, {{0, 0}, {2, 0}}},
        {"one pixel", "......../...a..../......../........", line, {}},
        {"not a line identifier", "......../..aaaa../......../........", 0, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Image im = fromRows(k.rows, k.bits);
        SoLinesVectorizer tracer(1.0);
        const std::vector<Outline> lines = trace(tracer, im);
        ASSERT_EQ(lines.size(), k.ends.empty() ? 0u : 1u);
        if (k.ends.empty()) continue;
        EXPECT_EQ(lines[0].pts, k.ends);
        EXPECT_TRUE(im.is(int(k.ends[0].first), int(k.ends[0].second), lines[0].id));
    }
}

TEST(Tracers, EmptyOrMissingTileTracesNothing) {
    const unsigned char pixel[4] = {1, 0, 0x80, 0};
    SoPolygonsVectorizer polygons(1.0);
    SoLinesVectorizer lines(1.0);
    for (SoImageVectorizer* tracer : {(SoImageVectorizer*)&polygons, (SoImageVectorizer*)&lines}) {
        for (auto [tile, w, h] : {std::tuple{pixel, 1, -3}, {pixel, 0, 1}, {nullptr, 4, 4}})
            tracer->vectorize(tile, w, h);
        EXPECT_EQ(tracer->getTraced().getLength(), 0);
    }
}

// Before tracing: specks of fewer than three pixels join a region beside them (never the
// background), identifiers given as alike become one, and a tile with background closed in
// is left whole, since an outline around it would paint it over.
TEST(RegionMerger, SpecksJoinNeighboursAndAlikeRegionsMerge) {
    const struct {
        const char *name, *rows, *expected;
        bool bAlikeA;
    } cases[] = {
        {"speck inside", "aaaa/abaa/aaaa", "aaaa/aaaa/aaaa", false},
        {"speck by the background", "....../..caaa/..aaaa", "....../..aaaa/..aaaa", false},
        {"speck on the last row", "aaaa/aaaa/aaba", "aaaa/aaaa/aaaa", false},
        {"speck over its one neighbour", "..c./aaaa", "..a./aaaa", false},
        {"speck under its one neighbour", "aaaa/..c.", "aaaa/..a.", false},
        {"speck alone", "..../.c../....", "..../.c../....", false},
        {"pieces large enough", "aabb/aabb", "aabb/aabb", false},
        {"alike regions", "aabb/aabb", "aaaa/aaaa", true},
        {"background closed in", "aaab/a..b/abbb", "aaab/a..b/abbb", true},
    };
    const Image b = fromRows("b/"), a = fromRows("a/");
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<std::uint32_t> canonical(b.ids[0] + 1);
        std::iota(canonical.begin(), canonical.end(), 0u);
        if (k.bAlikeA) canonical[b.ids[0]] = a.ids[0];
        SoTileRegionMerger merger(canonical, 3);
        const Image in = fromRows(k.rows), expected = fromRows(k.expected);
        const std::vector<unsigned char> tile = rgba(in);
        const unsigned char* out = merger.apply(tile.data(), in.w, in.h);
        for (size_t i = 0; i < in.ids.size(); ++i)
            EXPECT_EQ(out[4 * i] | out[4 * i + 1] << 8 | out[4 * i + 2] << 16, int(expected.ids[i]))
                << i;
    }
}

}  // namespace
