#pragma once

// The benchmarks' grid as a mesh file, for measuring the command itself: a binary PLY file,
// each vertex coloured by its height. Written as it is made, so that meshes far larger than
// the memory of the writer come out.

#include <cstdint>
#include <fstream>
#include <string>

#include "BenchGrid.h"

namespace bench {

/// A grid of columns x rows quads, two triangles each; false when the file was not written.
inline bool writeGridPly(const std::string& path, int columns = kColumns, int rows = kRows) {
    std::ofstream file(path, std::ios::binary);
    file << "ply\nformat binary_little_endian 1.0\nelement vertex "
         << int64_t(columns + 1) * (rows + 1)
         << "\nproperty float x\nproperty float y\nproperty float z\n"
            "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face "
         << 2 * int64_t(columns) * rows << "\nproperty list uchar int vertex_indices\nend_header\n";
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= columns; ++c) {
            const float wave = gridHeight(c, r);
            const float xyz[3] = {float(c), float(r), 20.0f * wave};
            const auto level = static_cast<uint8_t>(127.5f + 127.0f * wave);
            const char rgb[3] = {static_cast<char>(level), 90, static_cast<char>(255 - level)};
            file.write(reinterpret_cast<const char*>(xyz), sizeof xyz).write(rgb, sizeof rgb);
        }
    }
    forEachGridTriangle(
        [&](int32_t a, int32_t b, int32_t c) {
            const int32_t corners[3] = {a, b, c};
            file.put(3).write(reinterpret_cast<const char*>(corners), sizeof corners);
        },
        columns, rows);
    file.close();
    return !file.fail();
}

}  // namespace bench
