#pragma once

#include <Tessara/nodes/SoVertexShape.h>

/// Polygons whose vertices are picked from the current coordinates by index; each face's
/// indices end with -1 (the last face may omit it). Faces may be concave.
class SoIndexedFaceSet : public SoVertexShape {
    SO_NODE_HEADER(SoIndexedFaceSet);

  public:
    SoIndexedFaceSet();

    SoMFInt32 coordIndex;
    /// Per face or per vertex (aligned with coordIndex), by the material binding.
    SoMFInt32 materialIndex;
    /// Per face or per vertex (aligned with coordIndex), by the normal binding.
    SoMFInt32 normalIndex;
    SoMFInt32 textureCoordIndex;

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoIndexedFaceSet() override;
    void generatePrimitives(SoAction* action) override;
    void countPrimitives(int numCoords, SoShapeCounts& counts) const override;
    void buildFaceList(int numCoords, std::vector<int32_t>& corners,
                       std::vector<int32_t>& starts) const override;
};
