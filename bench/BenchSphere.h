#pragma once

// What the hidden-surface and hidden-line benchmarks share: the lit sphere they print and
// the loop that prints it.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoSeparator.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace bench {

/// A unit sphere of rings x sectors quads, two triangles each (one at the poles); with
/// smooth normals, each corner is lit for itself.
inline SoSeparator* sphereScene(int rings, int sectors, bool smoothNormals) {
    const std::string setting = std::string("#Tessara V1.0 ascii\n") +
                                "PerspectiveCamera { position 0 0 3.2 }\n"
                                "DirectionalLight { direction -0.4 -0.5 -1 }\n"
                                "Material { diffuseColor 0.3 0.5 0.9 }\n" +
                                (smoothNormals ? "ShapeHints { creaseAngle 1 }\n" : "");
    SoInput in;
    in.setBuffer(setting.c_str(), setting.size());
    SoSeparator* root = SoDB::readAll(&in);
    root->ref();
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
            // The pole rows keep the one triangle that is not a point.
            const int32_t lower[4] = {a, b, c, -1}, upper[4] = {a, c, d, -1};
            if (r < rings - 1) faces->coordIndex.setValues((index += 4) - 4, 4, lower);
            if (r > 0) faces->coordIndex.setValues((index += 4) - 4, 4, upper);
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
