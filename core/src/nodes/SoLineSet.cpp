#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoLineSet.h>

#include "nodes/shapes/SoFaceEmitter.h"
#include "nodes/shapes/SoShapeBox.h"
#include "nodes/shapes/SoVertexRuns.h"

SO_NODE_SOURCE(SoLineSet, SoVertexShape)

SoLineSet::SoLineSet() {
    SO_NODE_CONSTRUCTOR(SoLineSet);
    addField("numVertices", numVertices);
}

SoLineSet::~SoLineSet() = default;

void SoLineSet::generatePrimitives(SoAction* action) {
    if (numVertices.getNum() == 0) return;
    SoState* state = action->getState();
    SoShapeProblems problems("SoLineSet", "SoLineSet::generatePrimitives");
    SoVertexData data(state, nullptr, nullptr);
    chooseNormals(state, data, false);
    SoFaceEmitter emitter(this, action, data, problems, "line");

    std::vector<SoCorner> corners(2);
    SoVertexRuns runs(numVertices, data.numCoords, &problems, "line");
    int segment = 0;
    while (runs.next()) {
        if (!runs.isValid()) continue;
        const int n = runs.getLength();
        if (static_cast<int>(corners.size()) < n) corners.resize(n);
        for (int i = 0; i < n; ++i) {
            const int v = runs.getFirst() + i;
            corners[i] = SoCorner{v, v, v, v};
        }
        emitter.polyline(runs.getIndex(), corners.data(), n, segment);
    }
}

void SoLineSet::countPrimitives(int numCoords, SoShapeCounts& counts) const {
    counts = SoShapeCounts();
    SoVertexRuns runs(numVertices, numCoords, nullptr, "line");
    while (runs.next()) {
        ++counts.faces;
        counts.vertices += runs.getLength();
    }
    counts.parts = counts.faces;
    counts.coordsUsed = counts.vertices;
}

void SoLineSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoCoordinateElement* coords = SoCoordinateElement::getInstance(action->getState());
    SoVertexRuns runs(numVertices, coords->getArrayPtr3() ? coords->getNum() : 0, nullptr, "line");
    int used = 0;
    while (runs.next()) used += runs.getLength();
    SoShapeBox::addRange(box, coords, 0, used);
    center = SoShapeBox::centerOf(box);
}
