#include <Tessara/nodes/SoCone.h>

#include <cmath>

#include "nodes/shapes/SoSolidEmitter.h"

SO_NODE_SOURCE(SoCone, SoShape)
const SoEnumEntry SoCone::partEnums[3] = {{"SIDES", 1}, {"BOTTOM", 2}, {"ALL", 3}};

namespace {

constexpr double kPi = 3.14159265358979323846;

// Slice 0 faces +z and slices advance towards +x, so that (apex, ring j, ring j + 1) runs
// counterclockwise seen from outside.
void ringDirection(int j, int slices, double offset, float& sx, float& cz) {
    const double theta = 2.0 * kPi * ((j % slices) + offset) / slices;
    sx = static_cast<float>(std::sin(theta));
    cz = static_cast<float>(std::cos(theta));
}

}  // namespace

SoCone::SoCone() {
    SO_NODE_CONSTRUCTOR(SoCone);
    addField("parts", parts);
    addField("bottomRadius", bottomRadius);
    addField("height", height);
}

SoCone::~SoCone() = default;

void SoCone::generatePrimitives(SoAction* action) {
    const float r = std::fabs(bottomRadius.getValue());
    const float h = std::fabs(height.getValue());
    const int slices = SoSolidEmitter::slicesFor(getComplexityValue(action));
    SoSolidEmitter emitter(this, action);
    // The side normal leans up by the slope: (h sin, r, h cos), normalised.
    const float slope = std::sqrt(h * h + r * r);
    const float ny = slope > 0 ? r / slope : 0.0f;
    const float nr = slope > 0 ? h / slope : 1.0f;
    const SbVec3f apex(0, h / 2, 0);
    float sx0, cz0, sx1, cz1, sxm, czm;
    if (parts.getValue() & SIDES) {
        for (int j = 0; j < slices; ++j) {
            ringDirection(j, slices, 0.0, sx0, cz0);
            ringDirection(j + 1, slices, 0.0, sx1, cz1);
            ringDirection(j, slices, 0.5, sxm, czm);  // the apex takes the slice's mid normal
            emitter.beginFace(0, j, 3);
            emitter.setVertex(0, apex, SbVec3f(nr * sxm, ny, nr * czm), slices, slices + j);
            emitter.setVertex(1, SbVec3f(r * sx0, -h / 2, r * cz0), SbVec3f(nr * sx0, ny, nr * cz0),
                              j, j);
            emitter.setVertex(2, SbVec3f(r * sx1, -h / 2, r * cz1), SbVec3f(nr * sx1, ny, nr * cz1),
                              (j + 1) % slices, (j + 1) % slices);
            emitter.endFace();
        }
    }
    if (parts.getValue() & BOTTOM) {
        const SbVec3f down(0, -1, 0);
        for (int j = 0; j < slices; ++j) {
            ringDirection(j, slices, 0.0, sx0, cz0);
            ringDirection(j + 1, slices, 0.0, sx1, cz1);
            emitter.beginFace(1, slices + j, 3);
            emitter.setVertex(0, SbVec3f(0, -h / 2, 0), down, slices + 1, 2 * slices);
            emitter.setVertex(1, SbVec3f(r * sx1, -h / 2, r * cz1), down, (j + 1) % slices,
                              2 * slices);
            emitter.setVertex(2, SbVec3f(r * sx0, -h / 2, r * cz0), down, j, 2 * slices);
            emitter.endFace();
        }
    }
}

void SoCone::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    const float r = std::fabs(bottomRadius.getValue());
    const float h = std::fabs(height.getValue()) / 2;
    const int mask = parts.getValue();
    center.setValue(0, 0, 0);
    if (!(r >= 0 && h >= 0) || (mask & ALL) == 0) return;
    // The bottom alone is a flat disk; the sides reach the apex.
    box.setBounds(-r, -h, -r, r, (mask & SIDES) ? h : -h, r);
    center = box.getCenter();
}
