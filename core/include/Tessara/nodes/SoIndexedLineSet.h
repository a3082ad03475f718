#pragma once

#include <Tessara/nodes/SoVertexShape.h>

/// Polylines whose vertices are picked from the current coordinates by index; each
/// polyline's indices end with -1 (the last may omit it). Parts and faces of the bindings are
/// polylines.
class SoIndexedLineSet : public SoVertexShape {
    SO_NODE_HEADER(SoIndexedLineSet);

  public:
    SoIndexedLineSet();

    SoMFInt32 coordIndex;
    /// Per polyline or per vertex (aligned with coordIndex), by the material binding.
    SoMFInt32 materialIndex;
    /// Per polyline or per vertex (aligned with coordIndex), by the normal binding.
    SoMFInt32 normalIndex;

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoIndexedLineSet() override;
    void generatePrimitives(SoAction* action) override;
    void countPrimitives(int numCoords, SoShapeCounts& counts) const override;
};
