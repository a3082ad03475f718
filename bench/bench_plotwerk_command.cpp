// The whole plotwerk command on a mesh of a million triangles: importing a binary PLY file
// (the benchmarks' grid, with a colour per vertex), adding camera and headlight, lighting,
// clipping and writing PostScript to a file, once in each mode of hidden-line and
// hidden-surface removal. Each iteration starts the program afresh; the counters give its
// wall time and the command's peak resident memory, which the benchmark process's own
// figures would not show. Targets without removal: under 3 s and under 1 GiB.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "GridMeshFile.h"

namespace {

/// One run of the command on `mesh`: whether it succeeded; peakKb is its peak resident memory.
bool runCommand(const std::string& mesh, const std::string& drawing, const std::string& mode,
                long& peakKb) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execl(PLOTWERK_COMMAND, PLOTWERK_COMMAND, mesh.c_str(), "--hidden", mode.c_str(), "-o",
              drawing.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return false;
    peakKb = std::max(peakKb, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CommandOnMillionTriangleMesh(benchmark::State& state, const std::string& mode) {
    std::string root = std::filesystem::temp_directory_path() / "plotwerk_bench_XXXXXX";
    if (!mkdtemp(root.data())) {
        state.SkipWithError("could not make a temporary directory");
        return;
    }
    const std::string mesh = root + "/grid.ply", drawing = root + "/grid.ps";
    double seconds = 0.0;
    long peakKb = 0;
    if (!bench::writeGridPly(mesh)) state.SkipWithError("could not write the mesh file");
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!runCommand(mesh, drawing, mode, peakKb)) {
            state.SkipWithError("plotwerk failed");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    struct stat written {};
    stat(drawing.c_str(), &written);
    state.SetItemsProcessed(state.iterations() * bench::kTriangles);
    state.counters["wall_s"] = seconds / std::max<double>(1, state.iterations());
    state.counters["child_peak_rss_MiB"] = static_cast<double>(peakKb) / 1024.0;
    state.counters["output_MiB"] = static_cast<double>(written.st_size) / (1024.0 * 1024.0);
    std::remove(mesh.c_str());
    std::remove(drawing.c_str());
    rmdir(root.c_str());
}

void threeRuns(benchmark::internal::Benchmark* run) {
    run->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();
}

}  // namespace

BENCHMARK_CAPTURE(BM_CommandOnMillionTriangleMesh, off, std::string("off"))->Apply(threeRuns);
BENCHMARK_CAPTURE(BM_CommandOnMillionTriangleMesh, painter, std::string("painter"))
    ->Apply(threeRuns);
BENCHMARK_CAPTURE(BM_CommandOnMillionTriangleMesh, raster, std::string("raster"))->Apply(threeRuns);
BENCHMARK_CAPTURE(BM_CommandOnMillionTriangleMesh, lines, std::string("lines"))->Apply(threeRuns);

BENCHMARK_MAIN();
