#include "nodes/shapes/SoVertexData.h"

#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/elements/SoMaterialElement.h>
#include <Tessara/elements/SoNormalBindingElement.h>
#include <Tessara/elements/SoNormalElement.h>

namespace {

const int32_t* valuesOf(const SoMFInt32* field) {
    return field && field->getNum() > 0 ? field->getValues(0) : nullptr;
}

int sizeOf(const SoMFInt32* field) {
    return field ? field->getNum() : 0;
}

}  // namespace

SoVertexData::SoVertexData(SoState* state, const SoMFInt32* materialIndex,
                           const SoMFInt32* normalIndex, const SoMFInt32* textureCoordIndex) {
    const SoCoordinateElement* coordinates = SoCoordinateElement::getInstance(state);
    coords = coordinates->getArrayPtr3();
    numCoords = coords ? coordinates->getNum() : 0;

    const int numMaterials = SoMaterialElement::getInstance(state)->getNumDiffuse();
    materials.init(SoMaterialBindingElement::get(state), valuesOf(materialIndex),
                   sizeOf(materialIndex), numMaterials);

    const SoNormalElement* normalElement = SoNormalElement::getInstance(state);
    normalValues = normalElement->getArrayPtr();
    numNormals = normalValues ? normalElement->getNum() : 0;
    normals.init(SoNormalBindingElement::get(state), valuesOf(normalIndex), sizeOf(normalIndex),
                 numNormals);

    texIndices = valuesOf(textureCoordIndex);
    numTexIndices = sizeOf(textureCoordIndex);
}
