#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>

#include "nodes/shapes/SoFaceEmitter.h"
#include "nodes/shapes/SoIndexRuns.h"
#include "nodes/shapes/SoShapeBox.h"

SO_NODE_SOURCE(SoIndexedFaceSet, SoVertexShape)

SoIndexedFaceSet::SoIndexedFaceSet() {
    SO_NODE_CONSTRUCTOR(SoIndexedFaceSet);
    addField("coordIndex", coordIndex);
    addField("materialIndex", materialIndex);
    addField("normalIndex", normalIndex);
    addField("textureCoordIndex", textureCoordIndex);
}

SoIndexedFaceSet::~SoIndexedFaceSet() = default;

void SoIndexedFaceSet::generatePrimitives(SoAction* action) {
    const int num = coordIndex.getNum();
    if (num == 0) return;
    SoState* state = action->getState();
    SoShapeProblems problems("SoIndexedFaceSet", "SoIndexedFaceSet::generatePrimitives");
    SoVertexData data(state, &materialIndex, &normalIndex, &textureCoordIndex);
    chooseNormals(state, data, true);
    SoFaceEmitter emitter(this, action, data, problems, "face");

    const int32_t* indices = coordIndex.getValues(0);
    std::vector<SoCorner> corners(4);
    int vertex = 0;
    SoIndexRuns runs(indices, num);
    for (int face = 0; runs.next(); ++face) {
        const int n = runs.getLength();
        if (static_cast<int>(corners.size()) < n) corners.resize(n);
        const int start = runs.getStart();
        for (int i = 0; i < n; ++i) {
            corners[i] = SoCorner{indices[start + i], start + i, vertex + i, vertex + i};
        }
        emitter.polygon(face, face, corners.data(), n);
        vertex += n;
    }
}

void SoIndexedFaceSet::countPrimitives(int numCoords, SoShapeCounts& counts) const {
    SoIndexRuns::count(coordIndex, numCoords, counts);
}

void SoIndexedFaceSet::buildFaceList(int, std::vector<int32_t>& corners,
                                     std::vector<int32_t>& starts) const {
    SoIndexRuns::buildFaceList(coordIndex, corners, starts);
}

void SoIndexedFaceSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    SoShapeBox::addIndexed(box, SoCoordinateElement::getInstance(action->getState()), coordIndex);
    center = SoShapeBox::centerOf(box);
}
