#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoFaceSet.h>

#include "nodes/shapes/SoFaceEmitter.h"
#include "nodes/shapes/SoShapeBox.h"
#include "nodes/shapes/SoVertexRuns.h"

SO_NODE_SOURCE(SoFaceSet, SoVertexShape)

SoFaceSet::SoFaceSet() {
    SO_NODE_CONSTRUCTOR(SoFaceSet);
    addField("numVertices", numVertices);
}

SoFaceSet::~SoFaceSet() = default;

void SoFaceSet::generatePrimitives(SoAction* action) {
    if (numVertices.getNum() == 0) return;
    SoState* state = action->getState();
    SoShapeProblems problems("SoFaceSet", "SoFaceSet::generatePrimitives");
    SoVertexData data(state, nullptr, nullptr);
    chooseNormals(state, data, true);
    SoFaceEmitter emitter(this, action, data, problems, "face");

    std::vector<SoCorner> corners(4);
    SoVertexRuns runs(numVertices, data.numCoords, &problems, "face");
    while (runs.next()) {
        if (!runs.isValid()) continue;
        const int n = runs.getLength();
        if (static_cast<int>(corners.size()) < n) corners.resize(n);
        // Coordinates are consecutive, so one number serves as index, position and vertex.
        for (int i = 0; i < n; ++i) {
            const int v = runs.getFirst() + i;
            corners[i] = SoCorner{v, v, v, v};
        }
        emitter.polygon(runs.getIndex(), runs.getIndex(), corners.data(), n);
    }
}

void SoFaceSet::countPrimitives(int numCoords, SoShapeCounts& counts) const {
    counts = SoShapeCounts();
    SoVertexRuns runs(numVertices, numCoords, nullptr, "face");
    while (runs.next()) {
        ++counts.faces;
        counts.vertices += runs.getLength();
    }
    counts.parts = counts.faces;
    counts.coordsUsed = counts.vertices;
}

void SoFaceSet::buildFaceList(int numCoords, std::vector<int32_t>& corners,
                              std::vector<int32_t>& starts) const {
    corners.clear();
    starts.assign(1, 0);
    SoVertexRuns runs(numVertices, numCoords, nullptr, "face");
    while (runs.next()) {
        for (int i = 0; i < runs.getLength(); ++i) corners.push_back(runs.getFirst() + i);
        starts.push_back(static_cast<int32_t>(corners.size()));
    }
}

void SoFaceSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoCoordinateElement* coords = SoCoordinateElement::getInstance(action->getState());
    SoVertexRuns runs(numVertices, coords->getArrayPtr3() ? coords->getNum() : 0, nullptr, "face");
    int used = 0;
    while (runs.next()) used += runs.getLength();
    SoShapeBox::addRange(box, coords, 0, used);
    center = SoShapeBox::centerOf(box);
}
