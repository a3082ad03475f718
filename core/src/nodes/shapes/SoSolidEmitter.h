#pragma once

#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/misc/SoPrimitiveVertex.h>

class SoAction;
class SoShape;

/// Emits the faces of the solid primitives (cube, sphere, cone, cylinder): each face a
/// triangle or a convex quad with its face detail. Materials bind per part unless the binding
/// is OVERALL.
class SoSolidEmitter {
  public:
    SoSolidEmitter(SoShape* shape, SoAction* action);
    SoSolidEmitter(const SoSolidEmitter&) = delete;
    SoSolidEmitter& operator=(const SoSolidEmitter&) = delete;

    /// Slices around the axis of a round shape for a complexity of 0 to 1.
    static int slicesFor(float complexity);

    /// Starts face `face` of part `part` with `n` vertices (3 or 4).
    void beginFace(int part, int face, int n);
    /// Vertex i of the current face, counterclockwise seen from outside.
    void setVertex(int i, const SbVec3f& point, const SbVec3f& normal, int coordIndex,
                   int normalIndex);
    /// Delivers the current face as triangles.
    void endFace();

  private:
    SoShape* shape_;
    SoAction* action_;
    bool perPart_;
    int material_ = 0;
    int numVertices_ = 0;
    SoPrimitiveVertex vertices_[4];
    SoFaceDetail detail_;
};
