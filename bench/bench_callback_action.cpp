// Triangle throughput of SoCallbackAction over the lit mesh of a million triangles, whose
// smooth normals are generated once and cached. Besides items_per_second (triangles), the run
// reports how much the peak resident memory grew over its timed iterations: it must not grow
// with the triangles delivered.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <benchmark/benchmark.h>

#include "BenchGrid.h"

namespace {

struct Accumulator {
    double sum = 0;
    long triangles = 0;
};

// Touches what a printer would read of every triangle: points, a normal, the material.
void onTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex* v1,
                const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3) {
    auto* acc = static_cast<Accumulator*>(data);
    acc->sum += v1->getPoint()[0] + v2->getPoint()[1] + v3->getPoint()[2] + v1->getNormal()[2] +
                v3->getMaterialIndex();
    ++acc->triangles;
}

void traverse(SoSeparator* root, Accumulator& acc) {
    SoCallbackAction action;
    action.addTriangleCallback(SoIndexedFaceSet::getClassTypeId(), onTriangle, &acc);
    action.apply(root);
}

void BM_CallbackTriangles(benchmark::State& state) {
    SoDB::init();
    SoSeparator* root = bench::litMeshScene();
    root->ref();
    Accumulator warm;
    traverse(root, warm);  // fills the normal cache; its memory is per shape, not per frame
    if (warm.triangles != bench::kTriangles) state.SkipWithError("wrong triangle count");
    const long before = bench::peakRssKb();
    Accumulator acc;
    for (auto _ : state) {
        traverse(root, acc);
        benchmark::DoNotOptimize(acc.sum);
    }
    const long after = bench::peakRssKb();
    state.SetItemsProcessed(acc.triangles);
    state.counters["peak_rss_kB"] = static_cast<double>(after);
    state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    root->unref();
    SoDB::finish();
}

}  // namespace

BENCHMARK(BM_CallbackTriangles)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
