#include <Tessara/nodes/SoText2.h>

SO_NODE_SOURCE(SoText2, SoShape)

const SoEnumEntry SoText2::justificationEnums[3] = {
    {"LEFT", SoText2::LEFT}, {"RIGHT", SoText2::RIGHT}, {"CENTER", SoText2::CENTER}};

SoText2::SoText2() {
    SO_NODE_CONSTRUCTOR(SoText2);
    addField("string", string);
    addField("spacing", spacing);
    addField("justification", justification);
}

SoText2::~SoText2() = default;

// The text is laid out in screen space by whoever prints it; there is nothing to emit in
// object space.
void SoText2::generatePrimitives(SoAction*) {}

void SoText2::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    center.setValue(0, 0, 0);
    box.setBounds(center, center);
}
