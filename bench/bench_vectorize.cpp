// The whole vectorizing path, traversal to print call, for the lit and smoothly shaded mesh
// of a million triangles under a perspective camera, and for a line set of a million segments
// that chain into one polyline. The backend prints nothing, so what is measured is capture,
// lighting, clipping and projection. Besides items_per_second (triangles or segments), each
// run reports how much the peak resident memory grew over its timed iterations: it must not
// grow with the primitives delivered.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <benchmark/benchmark.h>

#include "BenchGrid.h"

namespace {

constexpr int kSegments = 1000000;

// A zigzag of a million segments across the view: one polyline of a million and one points.
SoSeparator* longLineScene() {
    auto* root = new SoSeparator;
    auto* camera = new SoOrthographicCamera;
    camera->position.setValue(SbVec3f(0, 0, 8));
    camera->height.setValue(2.0f);
    root->addChild(camera);
    auto* coords = new SoCoordinate3;
    coords->point.setNum(kSegments + 1);
    SbVec3f* points = coords->point.startEditing();
    for (int i = 0; i <= kSegments; ++i)
        points[i].setValue(-0.9f + 1.8f * float(i) / kSegments, (i % 2) ? 0.5f : -0.5f, 0.0f);
    coords->point.finishEditing();
    root->addChild(coords);
    root->addChild(new SoLineSet);
    return root;
}

/// Times the action on root; `items` are what one apply delivers, `delivered` must say so.
void timeApply(benchmark::State& state, SoSeparator* root, bool lit, long items,
               bool (*delivered)(const bench::NullAction&)) {
    SoPlotWerk::init();
    root->ref();
    {
        bench::NullAction action;
        action.setDrawingDimensions(200.0f, 100.0f);
        action.enableLighting(lit ? 1 : 0);
        action.setShadeModel(lit ? SoVectorizeAction::SMOOTH : SoVectorizeAction::FLAT);
        action.apply(root);  // warms the normal cache and grows the capture buffers once
        if (!delivered(action)) state.SkipWithError("not everything reached the backend whole");
        const long before = bench::peakRssKb();
        for (auto _ : state) {
            action.apply(root);
            benchmark::DoNotOptimize(action.points);
        }
        const long after = bench::peakRssKb();
        state.SetItemsProcessed(state.iterations() * items);
        state.counters["peak_rss_kB"] = static_cast<double>(after);
        state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

void BM_LitSmoothMesh(benchmark::State& state) {
    timeApply(state, bench::litMeshScene(), true, bench::kTriangles,
              [](const bench::NullAction& a) { return a.polygons == bench::kTriangles; });
}

void BM_ChainedLineSegments(benchmark::State& state) {
    timeApply(state, longLineScene(), false, kSegments, [](const bench::NullAction& a) {
        return a.polylines == 1 && a.points == kSegments + 1;
    });
}

}  // namespace

BENCHMARK(BM_LitSmoothMesh)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ChainedLineSegments)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
