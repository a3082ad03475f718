#pragma once

#include <Tessara/nodes/SoVertexShape.h>

/// Polylines made of consecutive coordinates: polyline k takes the next numVertices[k] of
/// them (-1: all that remain). Parts and faces of the bindings are polylines.
class SoLineSet : public SoVertexShape {
    SO_NODE_HEADER(SoLineSet);

  public:
    SoLineSet();

    SoMFInt32 numVertices{-1};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoLineSet() override;
    void generatePrimitives(SoAction* action) override;
    void countPrimitives(int numCoords, SoShapeCounts& counts) const override;
};
