#pragma once

#include <Tessara/nodes/SoVertexShape.h>

/// Polygons made of consecutive coordinates: face k takes the next numVertices[k] of them,
/// starting with coordinate 0; -1 takes all that remain. Faces may be concave.
class SoFaceSet : public SoVertexShape {
    SO_NODE_HEADER(SoFaceSet);

  public:
    SoFaceSet();

    SoMFInt32 numVertices{-1};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoFaceSet() override;
    void generatePrimitives(SoAction* action) override;
    void countPrimitives(int numCoords, SoShapeCounts& counts) const override;
    void buildFaceList(int numCoords, std::vector<int32_t>& corners,
                       std::vector<int32_t>& starts) const override;
};
