// The whole plotwerk command on a mesh of a million triangles: importing a binary PLY file
// (a displaced grid with a colour per vertex), adding camera and headlight, lighting,
// clipping and writing PostScript to a file. Each iteration starts the program afresh; the
// counters give its wall time and the child's peak resident memory (from wait4), which the
// benchmark process's own figures would not show. Targets: under 3 s and under 1 GiB.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// 1000 x 500 quads of two triangles.
constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kTriangles = 2 * kColumns * kRows;

/// A temporary directory for the mesh and the drawings, removed at the end of the run.
class Workspace {
  public:
    Workspace() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/plotwerk_bench_XXXXXX";
        if (mkdtemp(pattern.data())) root = pattern;
    }
    ~Workspace() {
        std::remove(mesh().c_str());
        std::remove(drawing().c_str());
        rmdir(root.c_str());
    }
    bool ok() const { return !root.empty(); }
    std::string mesh() const { return root + "/grid.ply"; }
    std::string drawing() const { return root + "/grid.ps"; }

  private:
    std::string root;
};

#pragma pack(push, 1)
struct PlyVertex {
    float x, y, z;
    uint8_t r, g, b;
};
struct PlyTriangle {
    uint8_t count;
    int32_t index[3];
};
#pragma pack(pop)

std::string plyHeader() {
    return "ply\nformat binary_little_endian 1.0\n"
           "element vertex " +
           std::to_string((kColumns + 1) * (kRows + 1)) +
           "\n"
           "property float x\nproperty float y\nproperty float z\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\n"
           "element face " +
           std::to_string(kTriangles) +
           "\n"
           "property list uchar int vertex_indices\nend_header\n";
}

std::vector<PlyVertex> gridVertices() {
    std::vector<PlyVertex> vertices;
    vertices.reserve(static_cast<size_t>((kColumns + 1) * (kRows + 1)));
    for (int r = 0; r <= kRows; ++r) {
        for (int c = 0; c <= kColumns; ++c) {
            const float x = static_cast<float>(c), y = static_cast<float>(r);
            const float wave = std::sin(0.05f * x) * std::cos(0.07f * y);
            const auto level = static_cast<uint8_t>(127.5f + 127.0f * wave);
            vertices.push_back({x, y, 20.0f * wave, level, 90, static_cast<uint8_t>(255 - level)});
        }
    }
    return vertices;
}

std::vector<PlyTriangle> gridTriangles() {
    std::vector<PlyTriangle> triangles;
    triangles.reserve(kTriangles);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int32_t a = r * (kColumns + 1) + c, b = a + 1;
            const int32_t d = a + kColumns + 1, e = d + 1;
            triangles.push_back({3, {a, b, e}});
            triangles.push_back({3, {a, e, d}});
        }
    }
    return triangles;
}

bool writeMesh(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::string header = plyHeader();
    const std::vector<PlyVertex> vertices = gridVertices();
    const std::vector<PlyTriangle> triangles = gridTriangles();
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    ok = ok &&
         std::fwrite(vertices.data(), sizeof(PlyVertex), vertices.size(), file) == vertices.size();
    ok = ok && std::fwrite(triangles.data(), sizeof(PlyTriangle), triangles.size(), file) ==
                   triangles.size();
    return std::fclose(file) == 0 && ok;
}

/// One run of the command: its exit status and peak resident memory in kB.
struct ChildRun {
    bool ok = false;
    long peakRssKb = 0;
};

ChildRun runCommand(const Workspace& workspace) {
    std::string command = PLOTWERK_COMMAND, mesh = workspace.mesh(), out = "-o",
                drawing = workspace.drawing();
    char* argv[] = {command.data(), mesh.data(), out.data(), drawing.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, command.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ChildRun run;
    if (spawned != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakRssKb = usage.ru_maxrss;
    return run;
}

void BM_CommandOnMillionTriangleMesh(benchmark::State& state) {
    static const Workspace workspace;
    static const bool written = workspace.ok() && writeMesh(workspace.mesh());
    if (!written) {
        state.SkipWithError("could not write the mesh file");
        return;
    }
    long peakRssKb = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const ChildRun run = runCommand(workspace);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!run.ok) {
            state.SkipWithError("plotwerk failed");
            break;
        }
        seconds += elapsed.count();
        peakRssKb = std::max(peakRssKb, run.peakRssKb);
    }
    struct stat drawing {};
    stat(workspace.drawing().c_str(), &drawing);
    state.SetItemsProcessed(state.iterations() * kTriangles);
    state.counters["wall_s"] =
        seconds / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.counters["child_peak_rss_MiB"] = static_cast<double>(peakRssKb) / 1024.0;
    state.counters["output_MiB"] = static_cast<double>(drawing.st_size) / (1024.0 * 1024.0);
}

}  // namespace

BENCHMARK(BM_CommandOnMillionTriangleMesh)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
