#include "nodes/shapes/SoBindingIndexer.h"

#include <Tessara/elements/SoMaterialBindingElement.h>

void SoBindingIndexer::init(int binding, const int32_t* indices, int numIndices, int limit) {
    const bool hasList = indices != nullptr && numIndices > 0;
    indices_ = hasList ? indices : nullptr;
    numIndices_ = hasList ? numIndices : 0;
    limit_ = limit;
    // Normal and material bindings share their values, so one table serves both.
    using B = SoMaterialBindingElement;
    switch (binding) {
        case B::PER_PART:
            source_ = PART;
            break;
        case B::PER_PART_INDEXED:
            source_ = hasList ? LIST_PART : PART;
            break;
        case B::PER_FACE:
            source_ = FACE;
            break;
        case B::PER_FACE_INDEXED:
            source_ = hasList ? LIST_FACE : FACE;
            break;
        case B::PER_VERTEX:
            source_ = VERTEX;
            break;
        case B::PER_VERTEX_INDEXED:
            source_ = hasList ? LIST_POSITION : COORD;
            break;
        default:
            source_ = ZERO;
            break;  // OVERALL, and values no binding node writes
    }
}

int SoBindingIndexer::getRequired(int numParts, int numFaces, int numVertices,
                                  int numCoordsUsed) const {
    switch (source_) {
        case PART:
            return numParts;
        case FACE:
            return numFaces;
        case VERTEX:
            return numVertices;
        case COORD:
            return numCoordsUsed;
        default:
            return 1;
    }
}
