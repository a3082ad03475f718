#pragma once

#include <Tessara/nodes/SoNode.h>

/// What the application knows of the surfaces that follow: vertex ordering, closedness, convexity,
/// and the crease angle for generated normals.
class SoShapeHints : public SoNode {
    SO_NODE_HEADER(SoShapeHints);

  public:
    enum VertexOrdering { UNKNOWN_ORDERING = 0, CLOCKWISE = 1, COUNTERCLOCKWISE = 2 };
    enum ShapeType { UNKNOWN_SHAPE_TYPE = 0, SOLID = 1 };
    enum FaceType { UNKNOWN_FACE_TYPE = 0, CONVEX = 1 };
    static const SoEnumEntry orderingEnums[3];
    static const SoEnumEntry shapeTypeEnums[2];
    static const SoEnumEntry faceTypeEnums[2];

    SoShapeHints();

    SoSFEnum vertexOrdering{orderingEnums, 3, UNKNOWN_ORDERING};
    SoSFEnum shapeType{shapeTypeEnums, 2, UNKNOWN_SHAPE_TYPE};
    SoSFEnum faceType{faceTypeEnums, 2, CONVEX};
    /// Radians. Generated normals run smoothly across an edge where the faces meet at less
    /// than this, and faces meet wherever they have a corner at the same place, shared index
    /// or not. 0: every face flat.
    SoSFFloat creaseAngle{0.0f};
    void doAction(SoAction* action) override;

  protected:
    ~SoShapeHints() override;
};
