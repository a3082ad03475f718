#pragma once

#include <cstddef>
#include <vector>

#include "SoBucketedArray.h"

/// The ends of lines a pen may start a line from, filed in square cells over a fixed box,
/// to find the nearest end of a line not yet drawn. The cells are slices of one array, and
/// ends of drawn lines are moved past the live part of their slice when a search passes
/// them: a cell of its own for every few ends would cost an allocation each.
class SoLineEndGrid {
  public:
    /// One end: its line's number, whether it is the line's last point, and where it is.
    struct End {
        size_t line;
        bool last;
        float x, y;
    };

    /// The box every end and every searched point lies in.
    SoLineEndGrid(float xmin, float ymin, float xmax, float ymax);
    /// Files the ends in about one cell per two ends, replacing what was filed.
    void fill(const std::vector<End>& ends);
    /// The ends filed whose line `drawn` does not mark, gathered from every cell.
    std::vector<End> remaining(const std::vector<char>& drawn) const;
    size_t cellCount() const { return live_.size(); }
    /// The nearest end to (x, y) whose line `drawn` does not mark; false when there is none.
    bool nearest(float x, float y, const std::vector<char>& drawn, End& found);
    /// An end exactly at (x, y) whose line `drawn` does not mark; false when there is none.
    bool at(float x, float y, const std::vector<char>& drawn, End& found);

  private:
    /// Looks at the cells at ring distance r around (cx, cy); keeps the nearest end found.
    void searchRing(int cx, int cy, int r, float x, float y, const std::vector<char>& drawn,
                    float& best, End& found, bool& any);
    size_t cellOf(float x, float y) const;
    int columnOf(float x) const;
    int rowOf(float y) const;

    float xmin_, ymin_, xmax_, ymax_;
    float cellSize_ = 1.0f;
    int columns_ = 1, rows_ = 1;
    /// The ends by cell; the first live_[c] of cell c's are still live.
    SoBucketedArray<End> cells_;
    std::vector<size_t> live_;
};
