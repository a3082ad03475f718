#pragma once

#include <Tessara/fields/SoFields.h>
#include <Tessara/math/SbVec3f.h>

#include "nodes/shapes/SoBindingIndexer.h"

class SoState;

/// Counts a binding may need to know whether the given normals cover a shape.
struct SoShapeCounts {
    int parts = 0;
    int faces = 0;
    int vertices = 0;
    int coordsUsed = 0;  // the largest coordinate index used, plus one
};

/// Where the vertices of a face, strip or line set get their values during one traversal:
/// the coordinates, the material and normal bindings with the shape's index lists, and the
/// normals (given, generated, or none).
class SoVertexData {
  public:
    enum NormalSource { GIVEN, GENERATED_FLAT, GENERATED_SMOOTH, NONE };

    /// Reads coordinates, material count, normals and bindings from `state`; the index lists
    /// are the shape's fields, null for shapes without them.
    SoVertexData(SoState* state, const SoMFInt32* materialIndex, const SoMFInt32* normalIndex,
                 const SoMFInt32* textureCoordIndex = nullptr);

    /// The texture coordinate index a vertex reports in its detail.
    int getTextureCoordIndex(int position, int coord) const {
        if (position >= 0 && position < numTexIndices) return texIndices[position];
        return coord;
    }

    const SbVec3f* coords = nullptr;
    int numCoords = 0;
    SoBindingIndexer materials;
    SoBindingIndexer normals;
    const SbVec3f* normalValues = nullptr;
    int numNormals = 0;
    NormalSource normalSource = GIVEN;
    const SbVec3f* generated = nullptr;  // generated normals, per face or per corner
    int numGenerated = 0;
    const int32_t* texIndices = nullptr;
    int numTexIndices = 0;
};
