#include <Tessara/nodes/SoOutlineText.h>

#include "text/SoTextGeometry.h"

SO_NODE_ABSTRACT_SOURCE(SoOutlineText, SoShape)

const SoEnumEntry SoOutlineText::justificationEnums[3] = {
    {"LEFT", LEFT}, {"RIGHT", RIGHT}, {"CENTER", CENTER}};
const SoEnumEntry SoOutlineText::partsEnums[4] = {
    {"FRONT", FRONT}, {"SIDES", SIDES}, {"BACK", BACK}, {"ALL", ALL}};

SoOutlineText::SoOutlineText() {
    SO_NODE_CONSTRUCTOR(SoOutlineText);
    addField("string", string);
    addField("spacing", spacing);
    addField("justification", justification);
    addField("parts", parts);
}

SoOutlineText::~SoOutlineText() = default;

void SoOutlineText::generatePrimitives(SoAction* action) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.generate([&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                          const SoPrimitiveVertex* c) { invokeTriangleCallbacks(action, a, b, c); },
                      [&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) {
                          invokeLineSegmentCallbacks(action, a, b);
                      });
}

void SoOutlineText::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.computeBBox(box, center);
}
