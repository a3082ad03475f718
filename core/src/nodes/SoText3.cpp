#include <Tessara/nodes/SoText3.h>

#include "text/SoTextGeometry.h"

SO_NODE_SOURCE(SoText3, SoShape)

const SoEnumEntry SoText3::justificationEnums[3] = {
    {"LEFT", SoText3::LEFT}, {"RIGHT", SoText3::RIGHT}, {"CENTER", SoText3::CENTER}};
const SoEnumEntry SoText3::partsEnums[4] = {{"FRONT", SoText3::FRONT},
                                            {"SIDES", SoText3::SIDES},
                                            {"BACK", SoText3::BACK},
                                            {"ALL", SoText3::ALL}};

SoText3::SoText3() {
    SO_NODE_CONSTRUCTOR(SoText3);
    addField("string", string);
    addField("spacing", spacing);
    addField("justification", justification);
    addField("parts", parts);
}

SoText3::~SoText3() = default;

void SoText3::generatePrimitives(SoAction* action) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.generate([&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                          const SoPrimitiveVertex* c) { invokeTriangleCallbacks(action, a, b, c); },
                      [&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) {
                          invokeLineSegmentCallbacks(action, a, b);
                      });
}

void SoText3::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.computeBBox(box, center);
}
