#include "SoLineEndGrid.h"

#include <algorithm>
#include <cmath>

SoLineEndGrid::SoLineEndGrid(float xmin, float ymin, float xmax, float ymax)
    : xmin_(xmin), ymin_(ymin), xmax_(xmax), ymax_(ymax) {}

// Square cells, about two ends a cell; a box without width or height gets its cells along
// the other side. Either way there are at most three cells an end, plus one.
void SoLineEndGrid::fill(const std::vector<End>& ends) {
    const double width = std::isfinite(xmax_ - xmin_) ? std::max(0.0f, xmax_ - xmin_) : 0.0;
    const double height = std::isfinite(ymax_ - ymin_) ? std::max(0.0f, ymax_ - ymin_) : 0.0;
    const double wanted = std::max(1.0, static_cast<double>(ends.size()) / 2.0);
    const double size =
        std::max({std::sqrt(width * height / wanted), std::max(width, height) / wanted, 1e-12});
    cellSize_ = static_cast<float>(size);
    columns_ = static_cast<int>(width / size) + 1;
    rows_ = static_cast<int>(height / size) + 1;
    const size_t cells = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
    cells_.fill(
        ends, cells, [this](const End& end) { return cellOf(end.x, end.y); },
        [](const End& end) { return end; });
    live_.resize(cells);
    for (size_t c = 0; c < cells; ++c) live_[c] = cells_.count(c);
}

std::vector<SoLineEndGrid::End> SoLineEndGrid::remaining(const std::vector<char>& drawn) const {
    std::vector<End> ends;
    for (size_t c = 0; c < live_.size(); ++c)
        for (size_t k = cells_.start[c]; k < cells_.start[c] + live_[c]; ++k)
            if (!drawn[cells_.items[k].line]) ends.push_back(cells_.items[k]);
    return ends;
}

// A point lies in its cell, or beyond the box next to it: every end in a ring farther than
// r lies at least r cells away.
bool SoLineEndGrid::nearest(float x, float y, const std::vector<char>& drawn, End& found) {
    const int cx = columnOf(x), cy = rowOf(y);
    float best = 0.0f;
    bool any = false;
    for (int r = 0; r <= std::max(columns_, rows_); ++r) {
        searchRing(cx, cy, r, x, y, drawn, best, found, any);
        if (any && std::sqrt(best) <= static_cast<float>(r) * cellSize_) return true;
    }
    return any;
}

bool SoLineEndGrid::at(float x, float y, const std::vector<char>& drawn, End& found) {
    float best = 0.0f;
    bool any = false;
    searchRing(columnOf(x), rowOf(y), 0, x, y, drawn, best, found, any);
    return any && found.x == x && found.y == y;
}

void SoLineEndGrid::searchRing(int cx, int cy, int r, float x, float y,
                               const std::vector<char>& drawn, float& best, End& found, bool& any) {
    for (int row = std::max(cy - r, 0); row <= std::min(cy + r, rows_ - 1); ++row) {
        // Rows inside the ring hold only its two side cells.
        const int step = (row == cy - r || row == cy + r) ? 1 : 2 * r;
        for (int column = cx - r; column <= cx + r; column += step) {
            if (column < 0 || column >= columns_) continue;
            const size_t c = static_cast<size_t>(row) * columns_ + column;
            std::vector<End>& ends = cells_.items;
            for (size_t k = cells_.start[c]; k < cells_.start[c] + live_[c];) {
                if (drawn[ends[k].line]) {
                    std::swap(ends[k], ends[cells_.start[c] + --live_[c]]);
                    continue;
                }
                const float dx = ends[k].x - x, dy = ends[k].y - y, d = dx * dx + dy * dy;
                if (!any || d < best) best = d, found = ends[k], any = true;
                ++k;
            }
        }
    }
}

size_t SoLineEndGrid::cellOf(float x, float y) const {
    return static_cast<size_t>(rowOf(y)) * static_cast<size_t>(columns_) +
           static_cast<size_t>(columnOf(x));
}

int SoLineEndGrid::columnOf(float x) const {
    const float c = (x - xmin_) / cellSize_;
    if (!(c > 0.0f)) return 0;
    return c >= static_cast<float>(columns_) ? columns_ - 1 : static_cast<int>(c);
}

int SoLineEndGrid::rowOf(float y) const {
    const float r = (y - ymin_) / cellSize_;
    if (!(r > 0.0f)) return 0;
    return r >= static_cast<float>(rows_) ? rows_ - 1 : static_cast<int>(r);
}
