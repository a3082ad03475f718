// A comb of 20,000 and 80,000 corners (the teeth side by side) tessellated whole, as the GLU
// tessellator takes it, and in the bands the tessellator cuts it into.
// And one of 40,000 drawn in hidden lines: a flat face, its fans of long triangles in few buckets.

#include <Tessara/misc/SoPolygonTessellator.h>
#include <benchmark/benchmark.h>

#include <climits>

#include "../libPlotWerk/src/hlhsr/lines/SoHiddenLines.h"

static size_t drawInHiddenLines(const SoPolygonTessellator& tess) {
    SoHiddenLines lines;
    lines.setFeatureAngle(1.0f);
    const std::vector<int>& corners = tess.getTriangles();
    const SbColor colors[3];
    for (size_t t = 0; t + 2 < corners.size(); t += 3) {
        SbVec4f triangle[3];
        for (int k = 0; k < 3; ++k) {
            const SbVec3f& p = tess.getPoint(corners[t + size_t(k)]);
            triangle[k] = SbVec4f(0.9f * p[0], 0.9f * p[1], 0.5f, 1.0f);  // inside the page
        }
        lines.addPolygon(triangle, 3, colors, 1.0f, 0xFFFF, 1);
    }
    return lines.computeVisibleLines().size();
}

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
        benchmark::DoNotOptimize(state.range(2) ? drawInHiddenLines(tess)
                                                : tess.getTriangles().size());
    }
}
BENCHMARK(BM_TessellateComb)
    ->ArgNames({"corners", "whole", "lines"})
    ->ArgsProduct({{20000, 80000}, {0, 1}, {0}})
    ->Args({40000, 0, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
