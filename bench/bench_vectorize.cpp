// The whole vectorizing path, traversal to print call, for a lit and smoothly shaded mesh of
// a million triangles under a perspective camera, and for a line set of a million segments
// that chain into one polyline. The backend prints nothing, so what is measured is capture,
// lighting, clipping and projection. Besides items_per_second (triangles or segments), each
// run reports how much the peak resident memory grew over its timed iterations: it must not
// grow with the primitives delivered.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "BenchGrid.h"

using bench::litMeshScene;
using bench::kTriangles;
using bench::peakRssKb;

namespace {

constexpr int kSegments = 1000000;

/// A backend whose print operations only count what they receive.
class NullAction : public SoVectorizeAction {
  public:
    long polygons = 0;
    long polylines = 0;
    long points = 0;

  protected:
    void writeHeader() override {}
    void writeFooter() override {}
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
    void printPolygon(const SbVec4f*, int n, const SbColor*, int, const SbString&, const SbString&,
                      const unsigned char*) override {
        ++polygons;
        points += n;
    }
    void printPolyLine(const SbVec4f*, int n, const SbColor*, int, float, unsigned short,
                       int) override {
        ++polylines;
        points += n;
    }
    void printPolyMark(const SbVec4f*, int n, const SbColor*, int, float) override { points += n; }
    void printPolyMark(const SbVec4f*, int n, const SbColor*, int, SoMarkerSet*) override {
        points += n;
    }
    void printText2(SbVec4f, SbColor, const SbString&, float, const SbString&, int,
                    float) override {}
    void printImage(const SbVec4f&, const unsigned char*, SbVec2s&, SbVec2s&, int,
                    SoImage::HorAlignment, SoImage::VertAlignment) override {}
};

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
    for (int i = 0; i <= kSegments; ++i) {
        const float x = -0.9f + 1.8f * static_cast<float>(i) / kSegments;
        points[i].setValue(x, (i % 2) ? 0.5f : -0.5f, 0.0f);
    }
    coords->point.finishEditing();
    root->addChild(coords);
    root->addChild(new SoLineSet);
    return root;
}

void BM_LitSmoothMesh(benchmark::State& state) {
    SoPlotWerk::init();
    SoSeparator* root = litMeshScene();
    root->ref();
    {
        NullAction action;
        action.setDrawingDimensions(200.0f, 100.0f);
        action.enableLighting(1);
        action.setShadeModel(SoVectorizeAction::SMOOTH);
        action.apply(root);  // warms the normal cache and the action's buffers
        if (action.polygons != kTriangles) {
            state.SkipWithError("not every triangle reached the backend");
        }
        const long before = peakRssKb();
        long delivered = 0;
        for (auto _ : state) {
            action.polygons = 0;
            action.apply(root);
            delivered += action.polygons;
            benchmark::DoNotOptimize(action.points);
        }
        const long after = peakRssKb();
        state.SetItemsProcessed(delivered);
        state.counters["peak_rss_kB"] = static_cast<double>(after);
        state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

void BM_ChainedLineSegments(benchmark::State& state) {
    SoPlotWerk::init();
    SoSeparator* root = longLineScene();
    root->ref();
    {
        NullAction action;
        action.setDrawingDimensions(100.0f, 100.0f);
        action.apply(root);  // grows the capture buffer to the polyline's size once
        if (action.polylines != 1 || action.points != kSegments + 1) {
            state.SkipWithError("the segments did not chain into one polyline");
        }
        const long before = peakRssKb();
        long segments = 0;
        for (auto _ : state) {
            action.apply(root);
            segments += kSegments;
            benchmark::DoNotOptimize(action.points);
        }
        const long after = peakRssKb();
        state.SetItemsProcessed(segments);
        state.counters["peak_rss_kB"] = static_cast<double>(after);
        state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace

BENCHMARK(BM_LitSmoothMesh)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ChainedLineSegments)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
