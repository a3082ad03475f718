// The 3D export of the lit mesh of a million triangles: to a U3D file, and to a 3D PDF (the
// U3D file, a poster rendered offscreen and the document around them). Reports the file size,
// its ratio to the raw data (positions and indices as 32-bit numbers) and the peak resident
// memory of the process.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoToPDFAction.h>
#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/misc/SoPreferences.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchGrid.h"

namespace {

template <class Action>
void BM_ExportMillionTriangles(benchmark::State& state, const char* extension) {
    SoPlotWerk::init();
    SoPreferences::setValue("VXN_U3D_ENGINE", U3D_ENGINE);
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    const std::string file = std::filesystem::temp_directory_path() / "bench";
    const std::string path = file + extension;
    for (auto _ : state) {
        Action action;
        if (!action.openFile(path.c_str())) state.SkipWithError("cannot open the export");
        action.apply(root);
        if (!action.closeFile()) state.SkipWithError("the export failed");
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    const int positions = (bench::kColumns + 1) * (bench::kRows + 1);
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["of_raw_data"] = bytes / (12.0 * positions + 12.0 * bench::kTriangles);
    state.counters["peak_rss_MB"] = static_cast<double>(bench::peakRssKb()) / 1024.0;
    std::filesystem::remove(path);
    root->unref();
    SoLibPdf::release();
    SoPlotWerk::finish();
}

void BM_U3D(benchmark::State& state) {
    BM_ExportMillionTriangles<SoToU3DAction>(state, ".u3d");
}

void BM_Pdf3D(benchmark::State& state) {
    BM_ExportMillionTriangles<SoToPDFAction>(state, ".pdf");
}

}  // namespace

BENCHMARK(BM_U3D)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pdf3D)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
