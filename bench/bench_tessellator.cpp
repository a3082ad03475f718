// A comb of 20,000 and 80,000 corners (the teeth side by side) and a star of as many (its
// spikes round a disc) tessellated whole, as the GLU tessellator takes them, and in the pieces
// the tessellator cuts them into: bands of the comb, sectors of the star.
// And a comb of 40,000 drawn in hidden lines: a flat face, its fans of long triangles in few
// buckets.

#include <Tessara/misc/SoPolygonTessellator.h>
#include <benchmark/benchmark.h>

#include <climits>
#include <cmath>

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

static void addComb(SoPolygonTessellator& tess, int corners) {
    const int teeth = corners / 4;
    for (int k = 0; k < teeth; ++k) {
        const float x = -1.0f + 2.0f * float(k) / float(teeth), w = 1.0f / float(teeth);
        for (const SbVec3f& p :
             {SbVec3f(x, 0, 0), SbVec3f(x, 1, 0), SbVec3f(x + w, 1, 0), SbVec3f(x + w, 0, 0)})
            tess.addVertex(p);
    }
    tess.addVertex(SbVec3f(1, -1, 0));
    tess.addVertex(SbVec3f(-1, -1, 0));
}

static void addStar(SoPolygonTessellator& tess, int corners) {
    for (int k = 0; k < corners; ++k) {
        const float angle = 6.2831853f * float(k) / float(corners), r = k % 2 ? 0.5f : 1.0f;
        tess.addVertex(SbVec3f(r * std::cos(angle), r * std::sin(angle), 0.0f));
    }
}

void BM_Tessellate(benchmark::State& state) {
    for (auto _ : state) {
        SoPolygonTessellator tess(SoPolygonTessellator::ODD, state.range(2) ? INT_MAX : 4096);
        tess.beginPolygon();
        tess.beginContour();
        (state.range(0) ? addStar : addComb)(tess, int(state.range(1)));
        tess.endContour();
        tess.endPolygon();
        benchmark::DoNotOptimize(state.range(3) ? drawInHiddenLines(tess)
                                                : tess.getTriangles().size());
    }
}
BENCHMARK(BM_Tessellate)
    ->ArgNames({"star", "corners", "whole", "lines"})
    ->ArgsProduct({{0, 1}, {20000, 80000}, {0}, {0}})
    ->ArgsProduct({{0}, {20000, 80000}, {1}, {0}})
    ->Args({1, 20000, 1, 0})
    ->Args({0, 40000, 0, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
