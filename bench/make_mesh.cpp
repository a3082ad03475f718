// Writes the benchmarks' grid mesh at any size, for measuring the command on meshes too big
// to keep: make_mesh COLUMNS ROWS out.ply gives 2 x COLUMNS x ROWS triangles (4000 1250 gives
// ten million).

#include <cstdio>
#include <cstdlib>

#include "GridMeshFile.h"

int main(int argc, char** argv) {
    const int columns = argc == 4 ? std::atoi(argv[1]) : 0;
    const int rows = argc == 4 ? std::atoi(argv[2]) : 0;
    // Vertex indices are 32-bit in the file.
    if (columns <= 0 || rows <= 0 || double(columns + 1) * (rows + 1) > 2e9) {
        std::fprintf(stderr,
                     "usage: make_mesh COLUMNS ROWS out.ply (a grid of at most 2e9 points)\n");
        return 2;
    }
    if (bench::writeGridPly(argv[3], columns, rows)) return 0;
    std::perror(argv[3]);
    return 2;
}
