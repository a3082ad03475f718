#include "nodes/shapes/SoFaceEmitter.h"

SoFaceEmitter::SoFaceEmitter(SoShape* shape, SoAction* action, const SoVertexData& data,
                             SoShapeProblems& problems, const char* noun)
    : shape_(shape),
      action_(action),
      data_(data),
      problems_(problems),
      noun_(noun),
      segments_(shape) {}

void SoFaceEmitter::polygon(int part, int face, const SoCorner* corners, int n) {
    if (n < 3) {
        problems_.note("%s %d has %d vertices, fewer than 3; skipped", noun_, face, n);
        return;
    }
    if (static_cast<int>(vertices_.size()) < n) vertices_.resize(n);
    faceDetail_.setNumPoints(n);
    faceDetail_.setFaceIndex(face);
    faceDetail_.setPartIndex(part);
    SoPointDetail point;
    for (int i = 0; i < n; ++i) {
        if (!resolve(part, face, corners[i], vertices_[i], point)) return;
        vertices_[i].setDetail(&faceDetail_);
        faceDetail_.setPoint(i, &point);
    }
    SoPrimitiveAssembler::polygon(shape_, action_, vertices_.data(), n);
}

void SoFaceEmitter::polyline(int line, const SoCorner* corners, int n, int& segment) {
    if (n < 2) {
        problems_.note("%s %d has %d vertices, fewer than 2; skipped", noun_, line, n);
        segment += n > 0 ? n - 1 : 0;
        return;
    }
    if (static_cast<int>(vertices_.size()) < n) vertices_.resize(n);
    if (static_cast<int>(points_.size()) < n) points_.resize(n);
    for (int i = 0; i < n; ++i) {
        if (!resolve(line, line, corners[i], vertices_[i], points_[i])) {
            segment += n - 1;  // numbering stays tied to the fields, skipped or not
            return;
        }
        vertices_[i].setDetail(&lineDetail_);
    }
    lineDetail_.setLineIndex(line);
    segments_.begin(action_, SoShape::LINES, nullptr);
    for (int i = 0; i + 1 < n; ++i) {
        lineDetail_.setPartIndex(segment++);
        lineDetail_.setPoint0(&points_[i]);
        lineDetail_.setPoint1(&points_[i + 1]);
        segments_.vertex(vertices_[i]);
        segments_.vertex(vertices_[i + 1]);
    }
    segments_.end();
}

bool SoFaceEmitter::resolve(int part, int face, const SoCorner& corner, SoPrimitiveVertex& vertex,
                            SoPointDetail& point) {
    if (corner.coord < 0 || corner.coord >= data_.numCoords) {
        problems_.note("%s %d: coordinate index %d out of range (%d coordinates); skipped", noun_,
                       face, corner.coord, data_.numCoords);
        return false;
    }
    const int material =
        data_.materials.get(part, face, corner.vertex, corner.position, corner.coord);
    if (material < 0) {
        problems_.note("%s %d: material index out of range or missing; skipped", noun_, face);
        return false;
    }
    SbVec3f normal;
    int normalIndex = 0;
    if (!resolveNormal(part, face, corner, normal, normalIndex)) return false;
    vertex.setPoint(data_.coords[corner.coord]);
    vertex.setNormal(normal);
    vertex.setMaterialIndex(material);
    point.setCoordinateIndex(corner.coord);
    point.setMaterialIndex(material);
    point.setNormalIndex(normalIndex);
    point.setTextureCoordIndex(data_.getTextureCoordIndex(corner.position, corner.coord));
    return true;
}

bool SoFaceEmitter::resolveNormal(int part, int face, const SoCorner& corner, SbVec3f& normal,
                                  int& index) {
    switch (data_.normalSource) {
        case SoVertexData::GIVEN:
            index = data_.normals.get(part, face, corner.vertex, corner.position, corner.coord);
            if (index < 0 || index >= data_.numNormals) {
                problems_.note("%s %d: normal index out of range or missing; skipped", noun_, face);
                return false;
            }
            normal = data_.normalValues[index];
            return true;
        case SoVertexData::GENERATED_FLAT:
        case SoVertexData::GENERATED_SMOOTH:
            index = data_.normalSource == SoVertexData::GENERATED_FLAT ? face : corner.generated;
            if (index < 0 || index >= data_.numGenerated) {
                problems_.note("%s %d: no generated normal; skipped", noun_, face);
                return false;
            }
            normal = data_.generated[index];
            return true;
        case SoVertexData::NONE:
            break;
    }
    // Lines have no surface to take a normal from; they are drawn unlit.
    index = 0;
    normal.setValue(0, 0, 1);
    return true;
}
