// The painter's ordering of the hidden-surface engine (engine mode 1: depth sort, pairwise
// ordering with splitting, then printing in order) on tessellated spheres of about 10,000 and
// 100,000 triangles, on 1,000 and 10,000 randomly placed triangles that pierce one another
// (fixed seed, as dense for both), on 200,000 marks at one point, which overlap but are
// never reordered among themselves, and on 100 and 200 triangles that all pierce all. Each
// iteration orders and prints a freshly filled record list; the time covers only the
// removal of covered copies, the ordering and the printing. Counters: pairs the pass compared
// (boxes overlapping, depths reaching), swaps, pieces made by splitting, records out, peak RSS.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "../libPlotWerk/src/hlhsr/SoCoveredCopies.h"
#include "../libPlotWerk/src/hlhsr/SoGraphicPrimitiveList.h"
#include "../libPlotWerk/src/hlhsr/SoHLHSRPainter.h"
#include "../libPlotWerk/src/hlhsr/SoHLHSRVectorize.h"
#include "../libPlotWerk/src/hlhsr/SoPolyMark.h"
#include "../libPlotWerk/src/hlhsr/SoPolygon.h"
#include "BenchGrid.h"

namespace {

using Triangle = std::array<SbVec4f, 3>;

/// A sphere of radius 0.8 in normalised view coordinates, seen from +z: rings x sectors
/// quads cut into two triangles each (the pole rows into one), depth 0.5 - 0.4 z.
std::vector<Triangle> sphere(int rings, int sectors) {
    auto at = [&](int ring, int sector) {
        const double theta = M_PI * ring / rings, phi = 2.0 * M_PI * sector / sectors;
        const double x = std::sin(theta) * std::cos(phi), y = std::cos(theta);
        const double z = std::sin(theta) * std::sin(phi);
        return SbVec4f(float(0.8 * x), float(0.8 * y), float(0.5 - 0.4 * z), 1.0f);
    };
    std::vector<Triangle> triangles;
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sectors; ++s) {
            const SbVec4f a = at(r, s), b = at(r, s + 1), c = at(r + 1, s + 1), d = at(r + 1, s);
            if (r > 0) triangles.push_back({a, b, c});
            if (r < rings - 1) triangles.push_back({a, c, d});
        }
    }
    return triangles;
}

/// Triangles about 0.3 across at random places and depths: most pierce several others.
std::vector<Triangle> piercingTriangles(int count) {
    std::mt19937 random(20240611);
    const float half = 0.15f * std::sqrt(1000.0f / static_cast<float>(count));
    std::uniform_real_distribution<float> centre(-0.8f, 0.8f), depth(0.2f, 0.8f),
        offset(-half, half);
    std::vector<Triangle> triangles;
    for (int k = 0; k < count; ++k) {
        const float cx = centre(random), cy = centre(random), cz = depth(random);
        Triangle t;
        for (SbVec4f& p : t) {
            p.setValue(cx + offset(random), cy + offset(random), cz + offset(random), 1.0f);
        }
        triangles.push_back(t);
    }
    return triangles;
}

/// Triangles between random points of the whole page: each pierces nearly every other, and
/// the pieces grow with the cube of their number (200 reach the work limit).
std::vector<Triangle> pageSpanningTriangles(int count) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> across(-0.8f, 0.8f), depth(0.2f, 0.8f);
    std::vector<Triangle> triangles(count);
    for (Triangle& t : triangles)
        for (SbVec4f& p : t) p.setValue(across(random), across(random), depth(random), 1.0f);
    return triangles;
}

void fill(SoGraphicPrimitiveList& list, const std::vector<Triangle>& triangles, int marks) {
    const SbVec4f point(0.1f, 0.2f, 0.5f, 1.0f);
    const SbColor black(0, 0, 0);
    for (int k = 0; k < marks; ++k) {
        auto* mark = new SoPolyMark;
        mark->set(1, &point, &black, 0, 1.0f, nullptr, 0.0f);
        list.add(mark);
    }
    const SbColor colors[3] = {SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)};
    for (size_t k = 0; k < triangles.size(); ++k) {
        auto* polygon = new SoPolygon;
        polygon->set(3, triangles[k].data(), colors, 0, 0.0f, 0.0f, 0xFFFF, 1, 0, SbString(),
                     SbString(), nullptr, 0.0f, 0.0f, 0.0f);
        polygon->id = static_cast<int>(k);
        list.add(polygon);
    }
}

void orderAndPrint(benchmark::State& state, const std::vector<Triangle>& triangles, int marks = 0) {
    SoPlotWerk::init();
    {
        bench::NullAction action;
        action.setDrawingDimensions(200.0f, 200.0f);
        SoHLHSRVectorize engine(&action, 1);
        long long pairs = 0, swaps = 0, pieces = 0;
        for (auto _ : state) {
            auto list = std::make_unique<SoGraphicPrimitiveList>();
            fill(*list, triangles, marks);
            const auto start = std::chrono::steady_clock::now();
            SoCoveredCopies::remove(*list);
            SoHLHSRPainter painter(*list, engine);
            painter.run();
            for (int i = 0; i < list->getLength(); ++i) list->getPrimitive(i)->print(&engine);
            const auto end = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            pairs = painter.getPairsTested();
            swaps = painter.getSwapsMade();
            pieces = painter.getPiecesMade();
            state.counters["records_out"] = list->getLength();
        }
        state.counters["pairs_tested"] = static_cast<double>(pairs);
        state.counters["swaps"] = static_cast<double>(swaps);
        state.counters["pieces_made"] = static_cast<double>(pieces);
        state.counters["peak_rss_kB"] = static_cast<double>(bench::peakRssKb());
    }
    SoPlotWerk::finish();
}

/// Times are of the ordering and printing alone, in milliseconds.
void manual(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseManualTime();
}

}  // namespace

BENCHMARK_CAPTURE(orderAndPrint, Sphere10k, sphere(71, 71))->Apply(manual)->MinTime(1.0);
BENCHMARK_CAPTURE(orderAndPrint, Sphere100k, sphere(224, 224))->Apply(manual)->MinTime(2.0);
BENCHMARK_CAPTURE(orderAndPrint, Piercing1000, piercingTriangles(1000))->Apply(manual)->MinTime(1);
BENCHMARK_CAPTURE(orderAndPrint, Piercing10000, piercingTriangles(10000))->Apply(manual);
BENCHMARK_CAPTURE(orderAndPrint, CoincidentMarks200k, {}, 200000)->Apply(manual);
BENCHMARK_CAPTURE(orderAndPrint, AllPierceAll100, pageSpanningTriangles(100))->Apply(manual);
BENCHMARK_CAPTURE(orderAndPrint, AllPierceAll200, pageSpanningTriangles(200))->Apply(manual);

BENCHMARK_MAIN();
