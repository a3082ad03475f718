#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCreaseAngleElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/elements/SoShapeHintsElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoShapeHints.h>

SO_NODE_SOURCE(SoShapeHints, SoNode)
const SoEnumEntry SoShapeHints::orderingEnums[3] = {
    {"UNKNOWN_ORDERING", 0}, {"CLOCKWISE", 1}, {"COUNTERCLOCKWISE", 2}};
const SoEnumEntry SoShapeHints::shapeTypeEnums[2] = {{"UNKNOWN_SHAPE_TYPE", 0}, {"SOLID", 1}};
const SoEnumEntry SoShapeHints::faceTypeEnums[2] = {{"UNKNOWN_FACE_TYPE", 0}, {"CONVEX", 1}};

SoShapeHints::SoShapeHints() {
    SO_NODE_CONSTRUCTOR(SoShapeHints);
    addField("vertexOrdering", vertexOrdering);
    addField("shapeType", shapeType);
    addField("faceType", faceType);
    addField("creaseAngle", creaseAngle);
}

SoShapeHints::~SoShapeHints() = default;

void SoShapeHints::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (!SoOverrideElement::mayChange(state, this, SoOverrideElement::SHAPE_HINTS)) return;
    SoShapeHintsElement::set(
        state, this, static_cast<SoShapeHintsElement::VertexOrdering>(vertexOrdering.getValue()),
        static_cast<SoShapeHintsElement::ShapeType>(shapeType.getValue()),
        static_cast<SoShapeHintsElement::FaceType>(faceType.getValue()));
    if (!creaseAngle.isIgnored()) SoCreaseAngleElement::set(state, creaseAngle.getValue());
}
