// Triangle throughput of SoCallbackAction over an indexed face set of a million triangles,
// with generated flat or smooth normals, explicit per-vertex normals, and per-face materials.
// Besides items_per_second (triangles), each run reports how much the peak resident memory
// grew over its timed iterations: it must not grow with the triangles delivered.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchGrid.h"

using bench::gridFaceSet;
using bench::gridIndex;
using bench::kColumns;
using bench::kRows;
using bench::kTriangles;
using bench::peakRssKb;

namespace {

enum Variant { GENERATED_FLAT, EXPLICIT_NORMALS, GENERATED_SMOOTH, PER_FACE_MATERIALS };

// A gently waving height field, so that generated normals differ from face to face.
SbVec3f gridPoint(int column, int row) {
    const float x = static_cast<float>(column);
    const float y = static_cast<float>(row);
    return SbVec3f(x, y, 0.5f * std::sin(0.05f * x) * std::cos(0.07f * y));
}

SoSeparator* buildScene(Variant variant) {
    auto* root = new SoSeparator;
    auto* coords = new SoCoordinate3;
    coords->point.setNum((kColumns + 1) * (kRows + 1));
    SbVec3f* points = coords->point.startEditing();
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c <= kColumns; ++c) points[gridIndex(c, r)] = gridPoint(c, r);
    coords->point.finishEditing();
    root->addChild(coords);
    SoIndexedFaceSet* shape = gridFaceSet();
    if (variant == EXPLICIT_NORMALS) {
        // One normal per coordinate, bound through coordIndex (PER_VERTEX_INDEXED).
        auto* normals = new SoNormal;
        normals->vector.setNum(coords->point.getNum());
        SbVec3f* n = normals->vector.startEditing();
        for (int i = 0; i < coords->point.getNum(); ++i) n[i].setValue(0, 0, 1);
        normals->vector.finishEditing();
        root->addChild(normals);
    } else if (variant == GENERATED_SMOOTH) {
        auto* hints = new SoShapeHints;
        hints->creaseAngle.setValue(0.5f);
        root->addChild(hints);
    } else if (variant == PER_FACE_MATERIALS) {
        auto* material = new SoMaterial;
        material->diffuseColor.setNum(16);
        root->addChild(material);
        auto* binding = new SoMaterialBinding;
        binding->value.setValue(SoMaterialBinding::PER_FACE_INDEXED);
        root->addChild(binding);
        shape->materialIndex.setNum(kTriangles);
        int32_t* m = shape->materialIndex.startEditing();
        for (int i = 0; i < kTriangles; ++i) m[i] = i % 16;
        shape->materialIndex.finishEditing();
    }
    root->addChild(shape);
    return root;
}

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

void runVariant(benchmark::State& state, Variant variant) {
    SoDB::init();
    SoSeparator* root = buildScene(variant);
    root->ref();
    Accumulator warm;
    traverse(root, warm);  // fills the normal cache; its memory is per shape, not per frame
    if (warm.triangles != kTriangles) state.SkipWithError("wrong triangle count");
    const long before = peakRssKb();
    Accumulator acc;
    for (auto _ : state) {
        traverse(root, acc);
        benchmark::DoNotOptimize(acc.sum);
    }
    const long after = peakRssKb();
    state.SetItemsProcessed(acc.triangles);
    state.counters["peak_rss_kB"] = static_cast<double>(after);
    state.counters["peak_rss_growth_kB"] = static_cast<double>(after - before);
    root->unref();
    SoDB::finish();
}

void BM_GeneratedFlatNormals(benchmark::State& state) {
    runVariant(state, GENERATED_FLAT);
}
void BM_ExplicitNormals(benchmark::State& state) {
    runVariant(state, EXPLICIT_NORMALS);
}
void BM_GeneratedSmoothNormals(benchmark::State& state) {
    runVariant(state, GENERATED_SMOOTH);
}
void BM_PerFaceMaterials(benchmark::State& state) {
    runVariant(state, PER_FACE_MATERIALS);
}

// The cost of generating smooth normals afresh: a coordinate changes before every traversal.
void BM_SmoothNormalsRegenerated(benchmark::State& state) {
    SoDB::init();
    SoSeparator* root = buildScene(GENERATED_SMOOTH);
    root->ref();
    auto* coords = static_cast<SoCoordinate3*>(root->getChild(0));
    Accumulator acc;
    float lift = 0;
    for (auto _ : state) {
        coords->point.set1Value(0, SbVec3f(0, 0, lift += 0.01f));
        traverse(root, acc);
        benchmark::DoNotOptimize(acc.sum);
    }
    state.SetItemsProcessed(acc.triangles);
    root->unref();
    SoDB::finish();
}

}  // namespace

BENCHMARK(BM_GeneratedFlatNormals)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ExplicitNormals)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_GeneratedSmoothNormals)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_PerFaceMaterials)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SmoothNormalsRegenerated)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
