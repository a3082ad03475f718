#pragma once

#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec4f.h>

class SoDetail;

/// One vertex of a generated triangle, segment or point, in object coordinates.
class SoPrimitiveVertex {
  public:
    const SbVec3f& getPoint() const { return point_; }
    const SbVec3f& getNormal() const { return normal_; }
    const SbVec4f& getTextureCoords() const { return textureCoords_; }
    int getMaterialIndex() const { return materialIndex_; }
    /// What part of the shape the vertex belongs to; owned by the shape, valid during the
    /// callback only.
    const SoDetail* getDetail() const { return detail_; }

    void setPoint(const SbVec3f& p) { point_ = p; }
    void setNormal(const SbVec3f& n) { normal_ = n; }
    void setTextureCoords(const SbVec4f& t) { textureCoords_ = t; }
    void setMaterialIndex(int index) { materialIndex_ = index; }
    void setDetail(const SoDetail* detail) { detail_ = detail; }

  private:
    SbVec3f point_{0, 0, 0};
    SbVec3f normal_{0, 0, 1};
    SbVec4f textureCoords_{0, 0, 0, 1};
    int materialIndex_ = 0;
    const SoDetail* detail_ = nullptr;
};
