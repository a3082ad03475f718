#pragma once

#include <Tessara/nodes/SoShape.h>

#include <cstdint>
#include <memory>
#include <vector>

class SoNormalCache;
class SoState;
class SoVertexData;
struct SoShapeCounts;

/// Base of the shapes built from the current coordinates: face, strip and line sets. It
/// decides where their normals come from and keeps the normals a shape generated, so that
/// later traversals with unchanged input reuse them.
class SoVertexShape : public SoShape {
    SO_NODE_ABSTRACT_HEADER(SoVertexShape);

  protected:
    SoVertexShape();
    ~SoVertexShape() override;

    /// Makes `data` use the given normals when they cover the binding, else normals generated
    /// from the faces (for surfaces) or none (for lines).
    void chooseNormals(SoState* state, SoVertexData& data, bool surface);

    /// The shape's counts of parts, faces and vertices, and the coordinates it uses.
    virtual void countPrimitives(int numCoords, SoShapeCounts& counts) const = 0;
    /// The shape's faces as lists of coordinate indices, in the order and numbering its
    /// primitives use: face f is corners[starts[f]] .. corners[starts[f + 1] - 1].
    virtual void buildFaceList(int numCoords, std::vector<int32_t>& corners,
                               std::vector<int32_t>& starts) const;

  private:
    std::unique_ptr<SoNormalCache> normalCache_;
};
