#include <Tessara/elements/SoCreaseAngleElement.h>
#include <Tessara/elements/SoShapeHintsElement.h>
#include <Tessara/nodes/SoVertexShape.h>

#include "nodes/shapes/SoNormalCache.h"
#include "nodes/shapes/SoVertexData.h"

SO_NODE_ABSTRACT_SOURCE(SoVertexShape, SoShape)

SoVertexShape::SoVertexShape() {
    SO_NODE_CONSTRUCTOR(SoVertexShape);
}

SoVertexShape::~SoVertexShape() = default;

void SoVertexShape::chooseNormals(SoState* state, SoVertexData& data, bool surface) {
    if (data.numNormals > 0) {
        int required = 1;
        if (data.normals.needsCounts()) {
            SoShapeCounts counts;
            countPrimitives(data.numCoords, counts);
            required = data.normals.getRequired(counts.parts, counts.faces, counts.vertices,
                                                counts.coordsUsed);
        }
        if (data.numNormals >= required) {
            data.normalSource = SoVertexData::GIVEN;
            return;
        }
    }
    if (!surface) {
        data.normalSource = SoVertexData::NONE;
        return;
    }
    if (!normalCache_) normalCache_ = std::make_unique<SoNormalCache>();
    const float crease = SoCreaseAngleElement::get(state);
    const bool clockwise =
        SoShapeHintsElement::getVertexOrdering(state) == SoShapeHintsElement::CLOCKWISE;
    SoNormalGenerator& generator = normalCache_->getGenerator();
    if (!normalCache_->matches(getChangeCount(), data.coords, data.numCoords, crease, clockwise)) {
        std::vector<int32_t> corners;
        std::vector<int32_t> starts;
        buildFaceList(data.numCoords, corners, starts);
        if (starts.empty()) starts.push_back(0);
        generator.generate(data.coords, data.numCoords, corners.data(), starts.data(),
                           static_cast<int>(starts.size()) - 1, crease, clockwise);
        normalCache_->remember(getChangeCount(), data.coords, data.numCoords, crease, clockwise);
    }
    const std::vector<SbVec3f>& normals =
        generator.isSmooth() ? generator.getCornerNormals() : generator.getFaceNormals();
    data.normalSource =
        generator.isSmooth() ? SoVertexData::GENERATED_SMOOTH : SoVertexData::GENERATED_FLAT;
    data.generated = normals.data();
    data.numGenerated = static_cast<int>(normals.size());
}

void SoVertexShape::buildFaceList(int, std::vector<int32_t>& corners,
                                  std::vector<int32_t>& starts) const {
    corners.clear();
    starts.assign(1, 0);
}
