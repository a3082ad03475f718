#pragma once

// What the benchmarks share: the million-triangle grid mesh, a backend that prints nothing,
// and a peak-memory reading.

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoSeparator.h>
#include <sys/resource.h>

#include <cmath>
#include <cstring>

namespace bench {

// 1000 x 500 quads, two triangles each.
constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kTriangles = 2 * kColumns * kRows;

inline int gridIndex(int column, int row, int columns = kColumns) {
    return row * (columns + 1) + column;
}

/// A gently waving height field, so that smooth normals differ from vertex to vertex.
inline float gridHeight(int column, int row) {
    return std::sin(0.05f * static_cast<float>(column)) * std::cos(0.07f * static_cast<float>(row));
}

/// Calls visit(a, b, c) with the coordinate indices of every triangle, row by row, of a grid
/// of columns x rows quads.
template <class Visit>
void forEachGridTriangle(Visit visit, int columns = kColumns, int rows = kRows) {
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            visit(gridIndex(c, r, columns), gridIndex(c + 1, r, columns),
                  gridIndex(c + 1, r + 1, columns));
            visit(gridIndex(c, r, columns), gridIndex(c + 1, r + 1, columns),
                  gridIndex(c, r + 1, columns));
        }
    }
}

// The mesh seen from above its centre, filling a 2 : 1 drawing, under two lights, with
// smooth normals. The database must be initialised.
inline SoSeparator* litMeshScene() {
    const char* const setting =
        "#Tessara V1.0 ascii\n"
        "PerspectiveCamera { position 500 250 650  nearDistance 1  farDistance 1000 }\n"
        "LightModel { model PHONG }\n"
        "DirectionalLight { direction -0.3 -0.4 -1 }\n"
        "DirectionalLight { direction 0.5 0.2 -1  intensity 0.4 }\n"
        "Material { diffuseColor 0.7 0.5 0.3  specularColor 0.3 0.3 0.3 }\n"
        "ShapeHints { creaseAngle 0.5 }\n";
    SoInput in;
    in.setBuffer(setting, std::strlen(setting));
    SoSeparator* root = SoDB::readAll(&in);
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

/// A backend whose print operations do nothing, so that what is timed is the path to them.
class NullAction : public SoVectorizeAction {
  protected:
    void writeHeader() override {}
    void writeFooter() override {}
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
    void printPolygon(const SbVec4f*, int, const SbColor*, int, const SbString&, const SbString&,
                      const unsigned char*) override {}
    void printPolyLine(const SbVec4f*, int, const SbColor*, int, float, unsigned short,
                       int) override {}
    void printPolyMark(const SbVec4f*, int, const SbColor*, int, float) override {}
    void printPolyMark(const SbVec4f*, int, const SbColor*, int, SoMarkerSet*) override {}
    void printText2(SbVec4f, SbColor, const SbString&, float, const SbString&, int,
                    float) override {}
    void printImage(const SbVec4f&, const unsigned char*, SbVec2s&, SbVec2s&, int,
                    SoImage::HorAlignment, SoImage::VertAlignment) override {}
};

/// Peak resident set size in kB.
inline long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace bench
