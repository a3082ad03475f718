// The vectorizing path on the lit and smoothly shaded mesh of a million triangles under a
// perspective camera: traversal, capture, lighting, clipping and projection, alone (a backend
// that prints nothing) and with each backend writing every triangle as a statement of its format
// into a temporary file that is emptied after every run (so it stays in the page cache and
// the disk does not set the pace). The PDF and SVG backends write their document when the
// sheet ends, the PDF's streams compressed. Reports triangles per second, the document size and how
// much the peak resident memory grew over the timed iterations: it must not grow with the
// triangles delivered. The GDI backend writes its enhanced metafile by name, over the same
// temporary file each run.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePDFAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <type_traits>

#include "BenchGrid.h"

namespace {

bool empty(std::FILE* sink) {
    std::rewind(sink);
    return ftruncate(fileno(sink), 0) == 0;
}

struct MetafileAction : SoVectorizeGDIAction {
    MetafileAction() { getGDIVectorOutput()->openFile(path().c_str()); }
    ~MetafileAction() override { std::filesystem::remove(path()); }
    static const std::string& path() {
        static const std::string file = std::filesystem::temp_directory_path() / "bench.emf";
        return file;
    }
};

/// Times whole documents of an Action on the lit mesh, shaded smoothly or flat.
template <class Action>
void litMesh(benchmark::State& state, bool smooth) {
    SoPlotWerk::init();
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    {
        Action action;
        action.setDrawingDimensions(200.0f, 100.0f);
        action.enableLighting(1);
        if (smooth) action.setShadeModel(SoVectorizeAction::SMOOTH);
        std::FILE* sink = std::tmpfile();
        // The backend that prints nothing has no output object: its document stays empty.
        if (SoVectorOutput* output = action.getVectorOutput()) output->setFilePointer(sink);
        action.apply(root);  // warms the normal cache and grows the capture buffers once
        if (!empty(sink)) state.SkipWithError("cannot empty the output");
        const long before = bench::peakRssKb();
        long bytes = 0;
        for (auto _ : state) {
            action.apply(root);
            std::fflush(sink);
            bytes += std::ftell(sink);
            if constexpr (std::is_same_v<Action, MetafileAction>)
                bytes += static_cast<long>(std::filesystem::file_size(MetafileAction::path()));
            if (!empty(sink)) state.SkipWithError("cannot empty the output");
        }
        state.SetItemsProcessed(state.iterations() * bench::kTriangles);
        state.counters["document_MB"] = bytes / 1.0e6 / static_cast<double>(state.iterations());
        state.counters["peak_rss_growth_kB"] = static_cast<double>(bench::peakRssKb() - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

template <class Action>
void BM_LitSmoothMesh(benchmark::State& state) {
    litMesh<Action>(state, true);
}

// PostScript below level 3, as here, prints smooth polygons flat: this is the same drawing
// in PDF and SVG.
template <class Action>
void BM_LitFlatMesh(benchmark::State& state) {
    litMesh<Action>(state, false);
}

struct BinaryCGMAction : SoVectorizeCGMAction {
    BinaryCGMAction() { getCGMVectorOutput()->setBinary(1); }
};

void asDocuments(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK_TEMPLATE(BM_LitSmoothMesh, bench::NullAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, SoVectorizePSAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, SoVectorizeHPGLAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, SoVectorizeCGMAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, BinaryCGMAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, MetafileAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, SoVectorizePDFAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitSmoothMesh, SoVectorizeSVGAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitFlatMesh, SoVectorizePDFAction)->Apply(asDocuments);
BENCHMARK_TEMPLATE(BM_LitFlatMesh, SoVectorizeSVGAction)->Apply(asDocuments);

BENCHMARK_MAIN();
