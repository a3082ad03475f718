#pragma once

#include <Tessara/nodes/SoVertexShape.h>

/// Triangle strips made of consecutive coordinates: strip k takes the next numVertices[k]
/// of them (-1: all that remain). Every triangle keeps the orientation of the strip's first.
/// Parts are strips, faces are triangles.
class SoTriangleStripSet : public SoVertexShape {
    SO_NODE_HEADER(SoTriangleStripSet);

  public:
    SoTriangleStripSet();

    SoMFInt32 numVertices{-1};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoTriangleStripSet() override;
    void generatePrimitives(SoAction* action) override;
    void countPrimitives(int numCoords, SoShapeCounts& counts) const override;
    void buildFaceList(int numCoords, std::vector<int32_t>& corners,
                       std::vector<int32_t>& starts) const override;
};
