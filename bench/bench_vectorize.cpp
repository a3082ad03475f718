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

using bench::gridFaceSet;
using bench::gridIndex;
using bench::kColumns;
using bench::kRows;
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

// A gently waving height field, so that the smooth normals differ from vertex to vertex.
SoCoordinate3* gridCoordinates() {
    auto* coords = new SoCoordinate3;
    coords->point.setNum((kColumns + 1) * (kRows + 1));
    SbVec3f* points = coords->point.startEditing();
    for (int r = 0; r <= kRows; ++r) {
        for (int c = 0; c <= kColumns; ++c) {
            const float x = static_cast<float>(c), y = static_cast<float>(r);
            points[gridIndex(c, r)].setValue(x, y,
                                             2.0f * std::sin(0.05f * x) * std::cos(0.07f * y));
        }
    }
    coords->point.finishEditing();
    return coords;
}

// The mesh seen from above its centre, filling a 2 : 1 drawing, under two lights.
SoSeparator* litMeshScene() {
    auto* root = new SoSeparator;
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(kColumns / 2.0f, kRows / 2.0f, 650.0f));
    camera->nearDistance.setValue(1.0f);
    camera->farDistance.setValue(1000.0f);
    root->addChild(camera);
    auto* model = new SoLightModel;
    model->model.setValue(SoLightModel::PHONG);
    root->addChild(model);
    auto* key = new SoDirectionalLight;
    key->direction.setValue(SbVec3f(-0.3f, -0.4f, -1.0f));
    root->addChild(key);
    auto* fill = new SoDirectionalLight;
    fill->direction.setValue(SbVec3f(0.5f, 0.2f, -1.0f));
    fill->intensity.setValue(0.4f);
    root->addChild(fill);
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(0.7f, 0.5f, 0.3f));
    material->specularColor.setValue(SbColor(0.3f, 0.3f, 0.3f));
    root->addChild(material);
    auto* hints = new SoShapeHints;
    hints->creaseAngle.setValue(0.5f);
    root->addChild(hints);
    root->addChild(gridCoordinates());
    root->addChild(gridFaceSet());
    return root;
}

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
