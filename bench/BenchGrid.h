#pragma once

// What the benchmarks share: the million-triangle grid mesh and a peak-memory reading.

#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>

#include <cmath>

#include <cstdio>
#include <cstring>

namespace bench {

// 1000 x 500 quads, two triangles each.
constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kTriangles = 2 * kColumns * kRows;

inline int gridIndex(int column, int row) {
    return row * (kColumns + 1) + column;
}

/// The grid's faces as triangle triples of coordinate indices, row by row.
inline SoIndexedFaceSet* gridFaceSet() {
    auto* shape = new SoIndexedFaceSet;
    shape->coordIndex.setNum(4 * kTriangles);
    int32_t* out = shape->coordIndex.startEditing();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int a = gridIndex(c, r), b = gridIndex(c + 1, r);
            const int d = gridIndex(c, r + 1), e = gridIndex(c + 1, r + 1);
            const int32_t quad[8] = {a, b, e, -1, a, e, d, -1};
            std::memcpy(out, quad, sizeof(quad));
            out += 8;
        }
    }
    shape->coordIndex.finishEditing();
    return shape;
}

// A gently waving height field, so that the smooth normals differ from vertex to vertex.
inline SoCoordinate3* gridCoordinates() {
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
inline SoSeparator* litMeshScene() {
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

/// Peak resident set size in kB, from /proc/self/status; -1 when unknown.
inline long peakRssKb() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof(line), f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

}  // namespace bench
