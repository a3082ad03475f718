#pragma once

// The lit sphere the hidden-surface and hidden-line benchmarks print.

#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>

#include <cmath>

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

}  // namespace bench
