#pragma once

// What the hidden-surface and hidden-line benchmarks share: the lit sphere they print and
// the loop that prints it.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace bench {

/// A unit sphere of rings x sectors quads, two triangles each (one at the poles); with
/// smooth normals, each corner is lit for itself.
inline SoSeparator* sphereScene(int rings, int sectors, bool smoothNormals) {
    auto* root = new SoSeparator;
    root->ref();
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(0, 0, 3.2f));
    root->addChild(camera);
    auto* light = new SoDirectionalLight;
    light->direction.setValue(SbVec3f(-0.4f, -0.5f, -1));
    root->addChild(light);
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(0.3f, 0.5f, 0.9f));
    root->addChild(material);
    if (smoothNormals) {
        auto* hints = new SoShapeHints;
        hints->creaseAngle.setValue(1.0f);
        root->addChild(hints);
    }
    auto* coords = new SoCoordinate3;
    auto* faces = new SoIndexedFaceSet;
    int next = 0;
    for (int r = 0; r <= rings; ++r) {
        for (int s = 0; s <= sectors; ++s) {
            const double theta = M_PI * r / rings, phi = 2 * M_PI * s / sectors;
            coords->point.set1Value(
                next++, SbVec3f(float(std::sin(theta) * std::cos(phi)), float(std::cos(theta)),
                                float(std::sin(theta) * std::sin(phi))));
        }
    }
    int index = 0;
    auto corner = [&](int r, int s) { return r * (sectors + 1) + s; };
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sectors; ++s) {
            const int a = corner(r, s), b = corner(r + 1, s), c = corner(r + 1, s + 1),
                      d = corner(r, s + 1);
            if (r < rings - 1) {
                const int32_t t[4] = {a, b, c, -1};
                faces->coordIndex.setValues(index, 4, t);
                index += 4;
            }
            if (r > 0) {
                const int32_t t[4] = {a, c, d, -1};
                faces->coordIndex.setValues(index, 4, t);
                index += 4;
            }
        }
    }
    root->addChild(coords);
    root->addChild(faces);
    return root;
}

/// Prints the sphere as PostScript (output discarded) once per iteration with the given
/// removal mode, after configure(action); then report(state) adds the counters.
template <class Configure, class Report>
void printSphereEach(benchmark::State& state, int rings, int sectors, bool smoothNormals,
                     SoVectorizeAction::HLHSRMode mode, Configure configure, Report report) {
    SoPlotWerk::init();
    SoSeparator* root = sphereScene(rings, sectors, smoothNormals);
    {
        // The output object closes the stream it is given.
        SoVectorizePSAction action;
        action.getPSVectorOutput()->setFilePointer(std::fopen("/dev/null", "w"));
        configure(action);
        for (auto _ : state) {
            // An apply leaves the action without removal: set it every time.
            action.setHLHSRMode(mode);
            action.apply(root);
        }
        state.counters["triangles"] = 2.0 * rings * sectors - 2 * sectors;
        report(state);
        state.counters["peak_rss_kB"] = static_cast<double>(peakRssKb());
    }
    root->unref();
    SoPlotWerk::finish();
}

}  // namespace bench
