// The whole plotwerk command on a mesh of a million triangles: importing a binary PLY file
// (the benchmarks' grid, with a colour per vertex), adding camera and headlight, lighting,
// clipping and writing PostScript to a file. Each iteration starts the program afresh; the
// counters give its wall time and the command's peak resident memory, which the
// benchmark process's own figures would not show. Targets: under 3 s and under 1 GiB.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchGrid.h"

namespace {

using bench::kColumns;
using bench::kRows;

/// Writes the grid as a binary PLY file, each vertex coloured by its height.
bool writeMesh(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << "ply\nformat binary_little_endian 1.0\nelement vertex " << (kColumns + 1) * (kRows + 1)
         << "\nproperty float x\nproperty float y\nproperty float z\n"
            "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face "
         << bench::kTriangles << "\nproperty list uchar int vertex_indices\nend_header\n";
    for (int r = 0; r <= kRows; ++r) {
        for (int c = 0; c <= kColumns; ++c) {
            const float wave = bench::gridHeight(c, r);
            const float xyz[3] = {float(c), float(r), 20.0f * wave};
            const auto level = static_cast<uint8_t>(127.5f + 127.0f * wave);
            const char rgb[3] = {static_cast<char>(level), 90, static_cast<char>(255 - level)};
            file.write(reinterpret_cast<const char*>(xyz), sizeof xyz).write(rgb, sizeof rgb);
        }
    }
    bench::forEachGridTriangle([&](int32_t a, int32_t b, int32_t c) {
        const int32_t corners[3] = {a, b, c};
        file.put(3).write(reinterpret_cast<const char*>(corners), sizeof corners);
    });
    file.close();
    return !file.fail();
}

/// One run of the command on `mesh`: whether it succeeded. The shell waits for the command,
/// so the largest waited-for descendant, whose memory getrusage reports, is the command.
bool runCommand(const std::string& mesh, const std::string& drawing) {
    const std::string command = std::string("'") + PLOTWERK_COMMAND + "' '" + mesh + "' -o '" +
                                drawing + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CommandOnMillionTriangleMesh(benchmark::State& state) {
    std::string root = std::filesystem::temp_directory_path() / "plotwerk_bench_XXXXXX";
    if (!mkdtemp(root.data())) {
        state.SkipWithError("could not make a temporary directory");
        return;
    }
    const std::string mesh = root + "/grid.ply", drawing = root + "/grid.ps";
    double seconds = 0.0;
    if (!writeMesh(mesh)) state.SkipWithError("could not write the mesh file");
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!runCommand(mesh, drawing)) {
            state.SkipWithError("plotwerk failed");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    struct stat written {};
    stat(drawing.c_str(), &written);
    state.SetItemsProcessed(state.iterations() * bench::kTriangles);
    state.counters["wall_s"] = seconds / std::max<double>(1, state.iterations());
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["child_peak_rss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
    state.counters["output_MiB"] = static_cast<double>(written.st_size) / (1024.0 * 1024.0);
    std::remove(mesh.c_str());
    std::remove(drawing.c_str());
    rmdir(root.c_str());
}

}  // namespace

BENCHMARK(BM_CommandOnMillionTriangleMesh)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
