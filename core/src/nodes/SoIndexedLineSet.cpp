#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoIndexedLineSet.h>

#include "nodes/shapes/SoFaceEmitter.h"
#include "nodes/shapes/SoIndexRuns.h"
#include "nodes/shapes/SoShapeBox.h"

SO_NODE_SOURCE(SoIndexedLineSet, SoVertexShape)

SoIndexedLineSet::SoIndexedLineSet() {
    SO_NODE_CONSTRUCTOR(SoIndexedLineSet);
    addField("coordIndex", coordIndex);
    addField("materialIndex", materialIndex);
    addField("normalIndex", normalIndex);
}

SoIndexedLineSet::~SoIndexedLineSet() = default;

void SoIndexedLineSet::generatePrimitives(SoAction* action) {
    const int num = coordIndex.getNum();
    if (num == 0) return;
    SoState* state = action->getState();
    SoShapeProblems problems("SoIndexedLineSet", "SoIndexedLineSet::generatePrimitives");
    SoVertexData data(state, &materialIndex, &normalIndex);
    chooseNormals(state, data, false);
    SoFaceEmitter emitter(this, action, data, problems, "line");

    const int32_t* indices = coordIndex.getValues(0);
    std::vector<SoCorner> corners(2);
    int vertex = 0;
    int segment = 0;
    SoIndexRuns runs(indices, num);
    for (int line = 0; runs.next(); ++line) {
        const int n = runs.getLength();
        if (static_cast<int>(corners.size()) < n) corners.resize(n);
        const int start = runs.getStart();
        for (int i = 0; i < n; ++i) {
            corners[i] = SoCorner{indices[start + i], start + i, vertex + i, vertex + i};
        }
        emitter.polyline(line, corners.data(), n, segment);
        vertex += n;
    }
}

void SoIndexedLineSet::countPrimitives(int numCoords, SoShapeCounts& counts) const {
    SoIndexRuns::count(coordIndex, numCoords, counts);
}

void SoIndexedLineSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    SoShapeBox::addIndexed(box, SoCoordinateElement::getInstance(action->getState()), coordIndex);
    center = SoShapeBox::centerOf(box);
}
