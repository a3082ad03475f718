#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoTriangleStripSet.h>

#include "nodes/shapes/SoFaceEmitter.h"
#include "nodes/shapes/SoShapeBox.h"
#include "nodes/shapes/SoVertexRuns.h"

SO_NODE_SOURCE(SoTriangleStripSet, SoVertexShape)

namespace {

// Vertex j (0..2) of triangle t of a strip, as an offset from the strip's first vertex:
// odd triangles swap their first two vertices so that all keep the first one's winding.
int stripOffset(int t, int j) {
    if (j == 2) return t + 2;
    return (t % 2 == 0) ? t + j : t + 1 - j;
}

}  // namespace

SoTriangleStripSet::SoTriangleStripSet() {
    SO_NODE_CONSTRUCTOR(SoTriangleStripSet);
    addField("numVertices", numVertices);
}

SoTriangleStripSet::~SoTriangleStripSet() = default;

void SoTriangleStripSet::generatePrimitives(SoAction* action) {
    if (numVertices.getNum() == 0) return;
    SoState* state = action->getState();
    SoShapeProblems problems("SoTriangleStripSet", "SoTriangleStripSet::generatePrimitives");
    SoVertexData data(state, nullptr, nullptr);
    chooseNormals(state, data, true);
    SoFaceEmitter emitter(this, action, data, problems, "triangle");

    SoVertexRuns runs(numVertices, data.numCoords, &problems, "strip");
    int triangle = 0;
    while (runs.next()) {
        const int n = runs.getLength();
        if (!runs.isValid()) continue;
        if (n < 3) {
            problems.note("strip %d has %d vertices, fewer than 3; skipped", runs.getIndex(), n);
            continue;
        }
        for (int t = 0; t < n - 2; ++t, ++triangle) {
            SoCorner corners[3];
            for (int j = 0; j < 3; ++j) {
                const int v = runs.getFirst() + stripOffset(t, j);
                corners[j] = SoCorner{v, v, v, 3 * triangle + j};
            }
            emitter.polygon(runs.getIndex(), triangle, corners, 3);
        }
    }
}

void SoTriangleStripSet::countPrimitives(int numCoords, SoShapeCounts& counts) const {
    counts = SoShapeCounts();
    SoVertexRuns runs(numVertices, numCoords, nullptr, "strip");
    while (runs.next()) {
        ++counts.parts;
        counts.faces += runs.getLength() > 2 ? runs.getLength() - 2 : 0;
        counts.vertices += runs.getLength();
    }
    counts.coordsUsed = counts.vertices;
}

void SoTriangleStripSet::buildFaceList(int numCoords, std::vector<int32_t>& corners,
                                       std::vector<int32_t>& starts) const {
    corners.clear();
    starts.assign(1, 0);
    SoVertexRuns runs(numVertices, numCoords, nullptr, "strip");
    while (runs.next()) {
        for (int t = 0; t + 2 < runs.getLength(); ++t) {
            for (int j = 0; j < 3; ++j) corners.push_back(runs.getFirst() + stripOffset(t, j));
            starts.push_back(static_cast<int32_t>(corners.size()));
        }
    }
}

void SoTriangleStripSet::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoCoordinateElement* coords = SoCoordinateElement::getInstance(action->getState());
    SoVertexRuns runs(numVertices, coords->getArrayPtr3() ? coords->getNum() : 0, nullptr, "strip");
    int used = 0;
    while (runs.next()) used += runs.getLength();
    SoShapeBox::addRange(box, coords, 0, used);
    center = SoShapeBox::centerOf(box);
}
