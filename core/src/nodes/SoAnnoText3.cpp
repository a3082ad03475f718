#include <Tessara/nodes/SoAnnoText3.h>

#include "text/SoTextGeometry.h"

SO_NODE_SOURCE(SoAnnoText3, SoShape)

const SoEnumEntry SoAnnoText3::justificationEnums[3] = {
    {"LEFT", SoAnnoText3::LEFT}, {"RIGHT", SoAnnoText3::RIGHT}, {"CENTER", SoAnnoText3::CENTER}};
const SoEnumEntry SoAnnoText3::partsEnums[4] = {{"FRONT", SoAnnoText3::FRONT},
                                                {"SIDES", SoAnnoText3::SIDES},
                                                {"BACK", SoAnnoText3::BACK},
                                                {"ALL", SoAnnoText3::ALL}};

SoAnnoText3::SoAnnoText3() {
    SO_NODE_CONSTRUCTOR(SoAnnoText3);
    addField("string", string);
    addField("spacing", spacing);
    addField("justification", justification);
    addField("parts", parts);
}

SoAnnoText3::~SoAnnoText3() = default;

void SoAnnoText3::generatePrimitives(SoAction* action) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.generate([&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                          const SoPrimitiveVertex* c) { invokeTriangleCallbacks(action, a, b, c); },
                      [&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) {
                          invokeLineSegmentCallbacks(action, a, b);
                      });
}

void SoAnnoText3::computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) {
    const SoTextGeometry geometry(action, string, spacing.getValue(), justification.getValue(),
                                  parts.getValue());
    geometry.computeBBox(box, center);
}
