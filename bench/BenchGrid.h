#pragma once

// What the benchmarks share: the million-triangle grid mesh, a backend that only counts what
// it is given, and a peak-memory reading.

#include <PlotWerk/SoVectorizeAction.h>
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

namespace bench {

// 1000 x 500 quads, two triangles each.
constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kTriangles = 2 * kColumns * kRows;

inline int gridIndex(int column, int row) {
    return row * (kColumns + 1) + column;
}

/// A gently waving height field, so that smooth normals differ from vertex to vertex.
inline float gridHeight(int column, int row) {
    return std::sin(0.05f * static_cast<float>(column)) * std::cos(0.07f * static_cast<float>(row));
}

/// Calls visit(a, b, c) with the coordinate indices of every triangle, row by row.
template <class Visit>
void forEachGridTriangle(Visit visit) {
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            visit(gridIndex(c, r), gridIndex(c + 1, r), gridIndex(c + 1, r + 1));
            visit(gridIndex(c, r), gridIndex(c + 1, r + 1), gridIndex(c, r + 1));
        }
    }
}

// The mesh seen from above its centre, filling a 2 : 1 drawing, under two lights, with
// smooth normals.
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
    for (const SbVec3f& direction : {SbVec3f(-0.3f, -0.4f, -1.0f), SbVec3f(0.5f, 0.2f, -1.0f)}) {
        auto* light = new SoDirectionalLight;
        light->direction.setValue(direction);
        root->addChild(light);
    }
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(0.7f, 0.5f, 0.3f));
    material->specularColor.setValue(SbColor(0.3f, 0.3f, 0.3f));
    root->addChild(material);
    auto* hints = new SoShapeHints;
    hints->creaseAngle.setValue(0.5f);
    root->addChild(hints);
    auto* coords = new SoCoordinate3;
    coords->point.setNum((kColumns + 1) * (kRows + 1));
    SbVec3f* points = coords->point.startEditing();
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c <= kColumns; ++c)
            points[gridIndex(c, r)].setValue(float(c), float(r), 2.0f * gridHeight(c, r));
    coords->point.finishEditing();
    root->addChild(coords);
    auto* shape = new SoIndexedFaceSet;
    shape->coordIndex.setNum(4 * kTriangles);
    int32_t* index = shape->coordIndex.startEditing();
    forEachGridTriangle([&](int a, int b, int c) {
        for (int corner : {a, b, c, -1}) *index++ = corner;
    });
    shape->coordIndex.finishEditing();
    root->addChild(shape);
    return root;
}

/// A backend whose print operations only count what they receive.
class NullAction : public SoVectorizeAction {
  public:
    long polygons = 0, polylines = 0, marks = 0, points = 0;

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
    void printPolyMark(const SbVec4f*, int n, const SbColor*, int, float) override {
        ++marks;
        points += n;
    }
    void printPolyMark(const SbVec4f*, int n, const SbColor*, int, SoMarkerSet*) override {
        ++marks;
        points += n;
    }
    void printText2(SbVec4f, SbColor, const SbString&, float, const SbString&, int,
                    float) override {}
    void printImage(const SbVec4f&, const unsigned char*, SbVec2s&, SbVec2s&, int,
                    SoImage::HorAlignment, SoImage::VertAlignment) override {}
};

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
