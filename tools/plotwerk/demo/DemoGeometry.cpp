#include "demo/DemoGeometry.h"

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

/// Vertices, optional normals and colours, and faces of up to four corners (-1 pads).
struct Mesh {
    std::vector<SbVec3f> points;
    std::vector<SbVec3f> normals;
    std::vector<SbColor> colors;
    std::vector<std::vector<int>> faces;
};

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", std::fabs(value) < 1e-5f ? 0.0f : value);
    return text;
}

std::string triple(const SbVec3f& v) {
    return number(v[0]) + " " + number(v[1]) + " " + number(v[2]);
}

std::string list(const char* node, const char* field, const std::vector<SbVec3f>& values) {
    std::string text = std::string(node) + " { " + field + " [";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? ", " : " ") + triple(values[i]);
    return text + " ] }\n";
}

float depthAfter(const Mesh& mesh, const std::vector<int>& face, const SbRotation& tilt) {
    SbVec3f centre(0, 0, 0);
    for (int index : face) centre += mesh.points[static_cast<size_t>(index)];
    centre /= static_cast<float>(face.size());
    SbVec3f turned;
    tilt.multVec(centre, turned);
    return turned[2];
}

// Painter's order: the viewer looks down -z, so the lowest z is drawn first.
void sortFarToNear(Mesh& mesh, const SbRotation& tilt) {
    std::vector<float> depth;
    for (const std::vector<int>& face : mesh.faces) depth.push_back(depthAfter(mesh, face, tilt));
    std::vector<size_t> order(mesh.faces.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return depth[a] < depth[b]; });
    std::vector<std::vector<int>> sorted;
    for (size_t i : order) sorted.push_back(mesh.faces[i]);
    mesh.faces.swap(sorted);
}

std::string faceSet(const Mesh& mesh) {
    std::string text = "IndexedFaceSet { coordIndex [";
    bool first = true;
    for (const std::vector<int>& face : mesh.faces) {
        for (int index : face) {
            text += (first ? " " : ", ") + std::to_string(index);
            first = false;
        }
        text += ", -1";
    }
    return text + " ] }\n";
}

std::string sceneText(Mesh mesh, const SbRotation& tilt) {
    sortFarToNear(mesh, tilt);
    std::string text = DemoGeometry::rotationNode(tilt);
    if (!mesh.colors.empty()) {
        std::vector<SbVec3f> colors(mesh.colors.begin(), mesh.colors.end());
        text += list("Material", "diffuseColor", colors);
        text += "MaterialBinding { value PER_VERTEX_INDEXED }\n";
    }
    if (!mesh.normals.empty()) {
        text += list("Normal", "vector", mesh.normals);
        text += "NormalBinding { value PER_VERTEX_INDEXED }\n";
    }
    text += list("Coordinate3", "point", mesh.points);
    return text + faceSet(mesh);
}

// Quads of a (columns + 1) x (rows + 1) vertex grid; `wrapColumns` joins the last column to
// the first, as around a sphere or a torus.
void addGridFaces(Mesh& mesh, int columns, int rows, bool wrapColumns, bool wrapRows) {
    const int stride = wrapColumns ? columns : columns + 1;
    const int rowCount = wrapRows ? rows : rows + 1;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int nextColumn = wrapColumns ? (column + 1) % columns : column + 1;
            const int nextRow = (row + 1) % rowCount;
            mesh.faces.push_back({row * stride + column, row * stride + nextColumn,
                                  nextRow * stride + nextColumn, nextRow * stride + column});
        }
    }
}

}  // namespace

std::string DemoGeometry::rotationNode(const SbRotation& tilt) {
    SbVec3f axis;
    float angle = 0.0f;
    tilt.getValue(axis, angle);
    return "Rotation { rotation " + triple(axis) + " " + number(angle) + " }\n";
}

std::string DemoGeometry::sphere(float radius, int slices, int stacks, const SbRotation& tilt) {
    Mesh mesh;
    for (int stack = 0; stack <= stacks; ++stack) {
        const float polar = kPi * static_cast<float>(stack) / static_cast<float>(stacks);
        for (int slice = 0; slice < slices; ++slice) {
            const float around =
                2.0f * kPi * static_cast<float>(slice) / static_cast<float>(slices);
            const SbVec3f normal(std::sin(polar) * std::sin(around), -std::cos(polar),
                                 std::sin(polar) * std::cos(around));
            mesh.normals.push_back(normal);
            mesh.points.push_back(normal * radius);
        }
    }
    addGridFaces(mesh, slices, stacks, true, false);
    return sceneText(mesh, tilt);
}

std::string DemoGeometry::box(float width, float height, float depth, const SbRotation& tilt) {
    Mesh mesh;
    for (int corner = 0; corner < 8; ++corner)
        mesh.points.emplace_back((corner & 1 ? 0.5f : -0.5f) * width,
                                 (corner & 2 ? 0.5f : -0.5f) * height,
                                 (corner & 4 ? 0.5f : -0.5f) * depth);
    // Counter-clockwise seen from outside.
    mesh.faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    return sceneText(mesh, tilt);
}

std::string DemoGeometry::torus(float ring, float tube, int segments, int sides,
                                const SbRotation& tilt) {
    Mesh mesh;
    for (int side = 0; side < sides; ++side) {
        const float v = 2.0f * kPi * static_cast<float>(side) / static_cast<float>(sides);
        for (int segment = 0; segment < segments; ++segment) {
            const float u = 2.0f * kPi * static_cast<float>(segment) / static_cast<float>(segments);
            const SbVec3f outward(std::cos(u), std::sin(u), 0.0f);
            const SbVec3f normal = outward * std::cos(v) + SbVec3f(0, 0, std::sin(v));
            mesh.normals.push_back(normal);
            mesh.points.push_back(outward * ring + normal * tube);
        }
    }
    addGridFaces(mesh, segments, sides, true, true);
    return sceneText(mesh, tilt);
}

SbColor DemoGeometry::heightColor(float level) {
    // Blue through cyan, green and yellow to red, like a relief map.
    static const SbColor stops[] = {SbColor(0.1f, 0.2f, 0.8f), SbColor(0.1f, 0.7f, 0.8f),
                                    SbColor(0.2f, 0.75f, 0.25f), SbColor(0.95f, 0.85f, 0.2f),
                                    SbColor(0.85f, 0.15f, 0.1f)};
    const float scaled = std::clamp(level, 0.0f, 1.0f) * 4.0f;
    const int low = std::min(3, static_cast<int>(scaled));
    const float t = scaled - static_cast<float>(low);
    return stops[low] * (1.0f - t) + stops[low + 1] * t;
}

std::string DemoGeometry::surface(float width, float depth, float amplitude, int columns, int rows,
                                  const SbRotation& tilt) {
    Mesh mesh;
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const float x = (static_cast<float>(column) / static_cast<float>(columns) - 0.5f);
            const float y = (static_cast<float>(row) / static_cast<float>(rows) - 0.5f);
            const float wave =
                std::sin(7.0f * x) * std::cos(6.0f * y) * std::exp(-2.0f * (x * x + y * y));
            mesh.points.emplace_back(x * width, y * depth, wave * amplitude);
            mesh.colors.push_back(heightColor(0.5f + 0.5f * wave));
        }
    }
    addGridFaces(mesh, columns, rows, false, false);
    return sceneText(mesh, tilt);
}
