#pragma once

#include <Tessara/elements/SoSubElement.h>

class SoNode;

/// What the application tells about its surfaces: vertex ordering, closedness, convexity.
class SoShapeHintsElement : public SoElement {
    SO_ELEMENT_HEADER(SoShapeHintsElement);

  public:
    enum VertexOrdering { UNKNOWN_ORDERING = 0, CLOCKWISE = 1, COUNTERCLOCKWISE = 2 };
    enum ShapeType { UNKNOWN_SHAPE_TYPE = 0, SOLID = 1 };
    enum FaceType { UNKNOWN_FACE_TYPE = 0, CONVEX = 1 };

    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, VertexOrdering ordering, ShapeType shapeType,
                    FaceType faceType);
    static void get(SoState* state, VertexOrdering& ordering, ShapeType& shapeType,
                    FaceType& faceType);
    static VertexOrdering getVertexOrdering(SoState* state);
    static ShapeType getShapeType(SoState* state);
    static FaceType getFaceType(SoState* state);

  private:
    static const SoShapeHintsElement* instance(SoState* state);
    VertexOrdering ordering_ = UNKNOWN_ORDERING;
    ShapeType shapeType_ = UNKNOWN_SHAPE_TYPE;
    FaceType faceType_ = CONVEX;
};
