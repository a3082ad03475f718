// Region outlines from the identifier image.
//
// Every region is walked along the edges between its pixels and the rest (crack following),
// which visits each boundary edge exactly once and needs no recursion: the walk is a
// permutation of the region's boundary edges, so it always comes back to where it began.
// Cells that can start a walk carry a flag bit above the identifier bits; a walk clears the
// flags of the cells it passes, so each contour is walked once and the whole tile costs time
// in proportion to its pixels.
//
// Two neighbouring regions walk their shared boundary in opposite directions. For their
// polygons to meet without slivers the simplification must retain the same corners from both
// sides, so it never runs across a corner where the identifier on the other side changes
// (those corners are always kept), and each stretch between two such corners is simplified
// starting from its lexicographically smaller end whichever way the contour runs: both sides
// then make the same comparisons in the same order and break ties alike.

#include "SoPolygonsVectorizer.h"

#include <Tessara/base/SbString.h>

#include <cmath>
#include <memory>

#include "../SoPolygon.h"

namespace {
// Set on a cell that may start a contour walk.
constexpr std::uint32_t MARK = 0x01000000u;

// The value compared with an identifier: a flagged cell matches its identifier, the frame
// matches none.
std::uint32_t idOf(std::uint32_t cell) {
    return cell & ~MARK;
}

// The corner where the edge on side d ends, walking with the region on the right in the
// bordered image (its rows grow downwards there): the edge above ends at the cell's
// (+0.5, -0.5) corner, the one on the right at (+0.5, +0.5), below at (-0.5, +0.5), on the
// left at (-0.5, -0.5).
constexpr double CORNER_X[4] = {0.5, 0.5, -0.5, -0.5};
constexpr double CORNER_Y[4] = {-0.5, 0.5, 0.5, -0.5};
// The pixel step to the neighbour on each side.
constexpr int STEP_X[4] = {0, 1, 0, -1};
constexpr int STEP_Y[4] = {-1, 0, 1, 0};

bool lexLess(double ax, double ay, double bx, double by) {
    return ax < bx || (ax == bx && ay < by);
}
}  // namespace

SoPolygonsVectorizer::SoPolygonsVectorizer(double newTolerance) : SoImageVectorizer(newTolerance) {}

void SoPolygonsVectorizer::vectorize(const unsigned char* tile, int w, int h) {
    if (!loadBordered(tile, w, h)) return;
    markBoundaries();
    std::uint32_t* c = cells.data();
    const std::ptrdiff_t end = width * (height - 1) - 1;
    for (std::ptrdiff_t i = width + 1; i < end; ++i) {
        // The frame has every bit set, the mark included, but starts nothing.
        if (!(c[i] & MARK) || c[i] == BORDER) continue;
        const std::uint32_t id = c[i] & ID_MASK;
        // Scanning row by row, the first cell met of an outer contour has something else
        // above it; a hole's first cell has the region itself above.
        const bool outer = idOf(c[i - width]) != id;
        const bool keep = outer && id != 0;
        follow(i, keep);
        if (keep) emitOutline(id);
    }
}

// A cell can start a walk when one of its four neighbours differs from it. Background on the
// tile's outermost pixels is left unmarked: its outlines are dropped anyway, and that saves
// walking the background along the whole frame.
void SoPolygonsVectorizer::markBoundaries() {
    std::uint32_t* c = cells.data();
    const std::ptrdiff_t w = width - 2, h = height - 2;
    for (std::ptrdiff_t r = 1; r <= h; ++r) {
        const bool frameRow = r == 1 || r == h;
        for (std::ptrdiff_t col = 1; col <= w; ++col) {
            const std::ptrdiff_t i = r * width + col;
            const std::uint32_t v = c[i];
            if (v == 0 && (frameRow || col == 1 || col == w)) continue;
            if (idOf(c[i - 1]) == v && idOf(c[i - width]) == v && idOf(c[i + 1]) == v &&
                idOf(c[i + width]) == v)
                continue;
            c[i] = v | MARK;
        }
    }
}

void SoPolygonsVectorizer::follow(std::ptrdiff_t start, bool keep) {
    std::uint32_t* c = cells.data();
    const std::uint32_t id = c[start] & ID_MASK;
    const std::ptrdiff_t offset[4] = {-width, 1, width, -1};
    auto inRegion = [&](std::ptrdiff_t cell) { return idOf(c[cell]) == id; };

    int startSide = 0;
    while (startSide < 3 && inRegion(start + offset[startSide])) ++startSide;
    // The pixel position goes along with the cell, so that no point needs a division.
    int x = static_cast<int>(start % width) - 1, y = static_cast<int>(start / width) - 1;
    contour_.clear();
    if (keep) contour_.push_back({x, y, startSide, false});
    c[start] &= ~MARK;

    std::ptrdiff_t cell = start;
    int side = startSide;
    std::uint32_t across = idOf(c[start + offset[startSide]]);
    for (;;) {
        // From the end of the edge on `side`, the boundary goes on along the diagonal cell
        // (turning back by one side), the next cell straight on (same side), or turns around
        // the corner of this cell (next side).
        const int next = (side + 1) & 3;
        const std::ptrdiff_t diagonal = cell + offset[side] + offset[next];
        if (inRegion(diagonal)) {
            cell = diagonal;
            x += STEP_X[side] + STEP_X[next];
            y += STEP_Y[side] + STEP_Y[next];
            side = (side + 3) & 3;
        } else if (inRegion(cell + offset[next])) {
            cell += offset[next];
            x += STEP_X[next];
            y += STEP_Y[next];
        } else {
            // Turning with the frame across is turning round a corner of the tile, where
            // what lies across stays the frame: kept, so that the outline runs along the
            // tile's edges to the very corner, as the outlines of the next tiles do.
            if (keep && across == idOf(BORDER)) contour_.back().fixed = true;
            side = next;
        }
        c[cell] &= ~MARK;
        const std::uint32_t nowAcross = idOf(c[cell + offset[side]]);
        if (keep && nowAcross != across) contour_.back().fixed = true;
        across = nowAcross;
        if (cell == start && side == startSide) break;
        if (keep) contour_.push_back({x, y, side, false});
    }
}

void SoPolygonsVectorizer::emitOutline(std::uint32_t id) {
    const int n = static_cast<int>(contour_.size());
    corners_.resize(n);
    retained_.assign(n, 0);
    int fixedCount = 0, firstFixed = -1;
    for (int k = 0; k < n; ++k) {
        const Step& s = contour_[k];
        corners_[k] = {s.x + CORNER_X[s.side], s.y + CORNER_Y[s.side]};
        if (s.fixed) {
            retained_[k] = 1;
            if (fixedCount++ == 0) firstFixed = k;
        }
    }
    if (fixedCount == 0) {
        retained_[0] = 1;
        simplify({0, 0, 1});
    } else if (fixedCount == 1) {
        retained_.assign(n, 1);
    } else {
        int a = firstFixed;
        do {
            int b = a + 1 == n ? 0 : a + 1;
            while (!contour_[b].fixed) b = b + 1 == n ? 0 : b + 1;
            const Corner& ca = corners_[a];
            const Corner& cb = corners_[b];
            if (lexLess(ca.x, ca.y, cb.x, cb.y))
                simplify({a, b, 1});
            else
                simplify({b, a, -1});
            a = b;
        } while (a != firstFixed);
    }

    points_.clear();
    for (int k = 0; k < n; ++k) {
        if (retained_[k])
            points_.emplace_back(float(corners_[k].x), float(corners_[k].y), 0.0f, 1.0f);
    }
    colors_.resize(points_.size(), SbColor(0.0f, 0.0f, 0.0f));
    static const SbString none;
    auto polygon = std::make_unique<SoPolygon>();
    polygon->set(static_cast<int>(points_.size()), points_.data(), colors_.data(), 0, 0.0f, 0.0f,
                 0xFFFF, 1, 0, none, none, nullptr, 0.0f, 0.0f, 0.0f);
    polygon->sourceId = static_cast<int>(id);
    traced.add(polygon.release());
}

// Douglas-Peucker on an explicit stack: contours run to tens of thousands of points, too
// many for recursion. A stretch with distinct ends keeps its farthest point from the chord
// when that lies beyond the tolerance; fewer than three points between the ends are dropped
// without a look. A closed stretch (the whole contour when no corner is fixed, or a loop
// between two passes through one corner) has no chord: it keeps the point farthest from its
// end when that squared distance (not the distance) exceeds the tolerance.
void SoPolygonsVectorizer::simplify(Stretch first) {
    const int n = static_cast<int>(corners_.size());
    pending_.clear();
    pending_.push_back(first);
    while (!pending_.empty()) {
        const Stretch s = pending_.back();
        pending_.pop_back();
        const Corner& from = corners_[s.from];
        const Corner& to = corners_[s.to];
        const int span = s.step > 0 ? s.to - s.from : s.from - s.to;
        const int between = (s.from == s.to ? n : (span + n) % n) - 1;
        const bool closed = from.x == to.x && from.y == to.y;
        if (between < 1 || (!closed && between < 3)) continue;

        const double mx = from.y - to.y, my = to.x - from.x;
        int best = -1;
        double bestValue = -1.0;
        for (int k = s.from + s.step, left = between; left > 0; k += s.step, --left) {
            if (k == n) k = 0;
            if (k < 0) k = n - 1;
            const double dx = corners_[k].x - from.x, dy = corners_[k].y - from.y;
            const double value = closed ? dx * dx + dy * dy : std::fabs(mx * dx + my * dy);
            if (value > bestValue) {
                bestValue = value;
                best = k;
            }
        }
        const double limit = closed ? tolerance : tolerance * std::sqrt(mx * mx + my * my);
        if (!(bestValue > limit)) continue;
        retained_[best] = 1;
        pending_.push_back({s.from, best, s.step});
        pending_.push_back({best, s.to, s.step});
    }
}
