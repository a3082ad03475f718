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
    // Counted, then placed: each cell's ends one slice of the array.
    const size_t cells = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
    live_.assign(cells, 0);
    for (const End& end : ends) ++live_[cellOf(end.x, end.y)];
    first_.assign(cells + 1, 0);
    for (size_t c = 0; c < cells; ++c) first_[c + 1] = first_[c] + live_[c];
    std::vector<size_t> next(first_.begin(), first_.end() - 1);
    ends_.resize(ends.size());
    for (const End& end : ends) ends_[next[cellOf(end.x, end.y)]++] = end;
}

std::vector<SoLineEndGrid::End> SoLineEndGrid::remaining(const std::vector<char>& drawn) const {
    std::vector<End> ends;
    for (size_t c = 0; c < live_.size(); ++c)
        for (size_t k = first_[c]; k < first_[c] + live_[c]; ++k)
            if (!drawn[ends_[k].line]) ends.push_back(ends_[k]);
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

void SoLineEndGrid::searchRing(int cx, int cy, int r, float x, float y,
                               const std::vector<char>& drawn, float& best, End& found, bool& any) {
    for (int row = std::max(cy - r, 0); row <= std::min(cy + r, rows_ - 1); ++row) {
        // Rows inside the ring hold only its two side cells.
        const int step = (row == cy - r || row == cy + r) ? 1 : 2 * r;
        for (int column = cx - r; column <= cx + r; column += step) {
            if (column < 0 || column >= columns_) continue;
            const size_t c = static_cast<size_t>(row) * columns_ + column;
            for (size_t k = first_[c]; k < first_[c] + live_[c];) {
                if (drawn[ends_[k].line]) {
                    std::swap(ends_[k], ends_[first_[c] + --live_[c]]);
                    continue;
                }
                const float dx = ends_[k].x - x, dy = ends_[k].y - y, d = dx * dx + dy * dy;
                if (!any || d < best) best = d, found = ends_[k], any = true;
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
