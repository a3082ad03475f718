#pragma once

// What the benchmarks share: the million-triangle grid mesh and a peak-memory reading.

#include <Tessara/nodes/SoIndexedFaceSet.h>

#include <cstdio>
#include <cstring>

namespace bench {

// 1000 x 500 quads, two triangles each.
constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kTriangles = 2 * kColumns * kRows;

inline int gridIndex(int column, int row) {
    return row * (kColumns + 1) + column;
}

/// The grid's faces as triangle triples of coordinate indices, row by row.
inline SoIndexedFaceSet* gridFaceSet() {
    auto* shape = new SoIndexedFaceSet;
    shape->coordIndex.setNum(4 * kTriangles);
    int32_t* out = shape->coordIndex.startEditing();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int a = gridIndex(c, r), b = gridIndex(c + 1, r);
            const int d = gridIndex(c, r + 1), e = gridIndex(c + 1, r + 1);
            const int32_t quad[8] = {a, b, e, -1, a, e, d, -1};
            std::memcpy(out, quad, sizeof(quad));
            out += 8;
        }
    }
    shape->coordIndex.finishEditing();
    return shape;
}

/// Peak resident set size in kB, from /proc/self/status; -1 when unknown.
inline long peakRssKb() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof(line), f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

}  // namespace bench
