// A comb of 20,000 and 80,000 corners (the teeth side by side) tessellated whole, as the GLU
// tessellator takes it, and in the bands the tessellator cuts it into.

#include <Tessara/misc/SoPolygonTessellator.h>
#include <benchmark/benchmark.h>

#include <climits>

void BM_TessellateComb(benchmark::State& state) {
    const int teeth = int(state.range(0)) / 4;
    for (auto _ : state) {
        SoPolygonTessellator tess(SoPolygonTessellator::ODD, state.range(1) ? INT_MAX : 4096);
        tess.beginPolygon();
        tess.beginContour();
        for (int k = 0; k < teeth; ++k) {
            const float x = -1.0f + 2.0f * float(k) / float(teeth), w = 1.0f / float(teeth);
            for (const SbVec3f& p :
                 {SbVec3f(x, 0, 0), SbVec3f(x, 1, 0), SbVec3f(x + w, 1, 0), SbVec3f(x + w, 0, 0)})
                tess.addVertex(p);
        }
        tess.addVertex(SbVec3f(1, -1, 0));
        tess.addVertex(SbVec3f(-1, -1, 0));
        tess.endContour();
        tess.endPolygon();
        benchmark::DoNotOptimize(tess.getTriangles().size());
    }
}
BENCHMARK(BM_TessellateComb)
    ->ArgNames({"corners", "whole"})
    ->ArgsProduct({{20000, 80000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
