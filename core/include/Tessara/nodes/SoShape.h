#pragma once

#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/nodes/SoNode.h>

#include <memory>

class SoDetail;
class SoPrimitiveAssembler;
class SoPrimitiveVertex;
class SoState;

/// Base of every geometry node. A shape describes itself to actions by generating
/// primitives: triangles, line segments and points, with normals, material indices and
/// details. Shapes do not change the traversal state.
class SoShape : public SoNode {
    SO_NODE_ABSTRACT_HEADER(SoShape);

  public:
    /// How the vertices between beginShape() and endShape() form primitives.
    enum TriangleShape {
        TRIANGLE_STRIP,
        TRIANGLE_FAN,
        TRIANGLES,
        POLYGON,  // one polygon, convex or not, split into triangles
        QUADS,
        QUAD_STRIP,
        POINTS,
        LINES,
        LINE_STRIP
    };

    bool affectsState() const override { return false; }
    void callback(SoCallbackAction* action) override;
    void getBoundingBox(SoGetBoundingBoxAction* action) override;

    /// The shape's box and centre in object coordinates.
    virtual void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) = 0;

  protected:
    SoShape();
    ~SoShape() override;

    /// Generates every primitive of the shape for `action`.
    virtual void generatePrimitives(SoAction* action) = 0;

    void beginShape(SoAction* action, TriangleShape shapeType, SoDetail* detail = nullptr);
    /// One vertex; the vertex is copied, and its detail pointer must stay valid until
    /// endShape().
    void shapeVertex(const SoPrimitiveVertex* v);
    void endShape();

    void invokeTriangleCallbacks(SoAction* action, const SoPrimitiveVertex* v1,
                                 const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3);
    void invokeLineSegmentCallbacks(SoAction* action, const SoPrimitiveVertex* v1,
                                    const SoPrimitiveVertex* v2);
    void invokePointCallbacks(SoAction* action, const SoPrimitiveVertex* v);

    /// The complexity in force, 0 to 1.
    static float getComplexityValue(SoAction* action);

  private:
    friend class SoPrimitiveAssembler;
    std::unique_ptr<SoPrimitiveAssembler> assembler_;
    SoCallbackAction* callbackAction_ = nullptr;  // the action primitives are delivered to
};
