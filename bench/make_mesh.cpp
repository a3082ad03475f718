// Writes a binary STL of N triangles for measuring the command on big meshes:
//   make_mesh N out.stl
// The surface is a gently rolling height field over a square grid, seen from above by the
// framing camera: every triangle faces the viewer and none hides another, so every one of
// them reaches the output. Meshes of hundreds of megabytes are made on demand, never kept.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Point {
    float x, y, z;
};

float heightAt(float x, float y) {
    return 0.05f * std::sin(6.0f * x) * std::cos(5.0f * y);
}

Point gridPoint(uint64_t column, uint64_t row, uint64_t quadsPerRow) {
    const float step = 2.0f / static_cast<float>(quadsPerRow);
    const float x = -1.0f + step * static_cast<float>(column);
    const float y = -1.0f + step * static_cast<float>(row);
    return {x, y, heightAt(x, y)};
}

Point normalOf(const Point& a, const Point& b, const Point& c) {
    const Point u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Point v{c.x - a.x, c.y - a.y, c.z - a.z};
    Point n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0) n = {n.x / length, n.y / length, n.z / length};
    return n;
}

// One STL record: normal, three corners, a zero attribute word; 50 bytes, no padding.
void appendTriangle(std::vector<char>& out, const Point& a, const Point& b, const Point& c) {
    const Point corners[4] = {normalOf(a, b, c), a, b, c};
    const size_t at = out.size();
    out.resize(at + 50, 0);
    std::memcpy(out.data() + at, corners, sizeof corners);
}

// Triangles are written row by row through a small buffer: the mesh never sits in memory.
bool writeMesh(FILE* file, uint64_t triangles) {
    const uint64_t quadsPerRow =
        static_cast<uint64_t>(std::ceil(std::sqrt(static_cast<double>(triangles) / 2.0)));
    std::vector<char> buffer;
    uint64_t written = 0;
    for (uint64_t row = 0; written < triangles; ++row) {
        buffer.clear();
        for (uint64_t column = 0; column < quadsPerRow && written < triangles; ++column) {
            const Point p00 = gridPoint(column, row, quadsPerRow);
            const Point p10 = gridPoint(column + 1, row, quadsPerRow);
            const Point p01 = gridPoint(column, row + 1, quadsPerRow);
            const Point p11 = gridPoint(column + 1, row + 1, quadsPerRow);
            appendTriangle(buffer, p00, p10, p11);
            if (++written < triangles) {
                appendTriangle(buffer, p00, p11, p01);
                ++written;
            }
        }
        if (std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) return false;
    }
    return true;
}

bool writeHeader(FILE* file, uint32_t triangles) {
    char header[80] = {};
    std::snprintf(header, sizeof header, "height field of %u triangles", triangles);
    return std::fwrite(header, 1, sizeof header, file) == sizeof header &&
           std::fwrite(&triangles, sizeof triangles, 1, file) == 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_mesh N out.stl\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long long count = std::strtoull(argv[1], &end, 10);
    if (!end || *end != '\0' || count == 0 || count > UINT32_MAX) {
        std::fprintf(stderr, "make_mesh: N must be a triangle count from 1 to %u\n", UINT32_MAX);
        return 2;
    }
    FILE* file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 2;
    }
    const bool ok = writeHeader(file, static_cast<uint32_t>(count)) && writeMesh(file, count);
    if (std::fclose(file) != 0 || !ok) {
        std::perror(argv[2]);
        return 2;
    }
    return 0;
}
