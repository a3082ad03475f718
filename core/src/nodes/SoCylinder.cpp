#include <Tessara/nodes/SoCylinder.h>

#include <cmath>

#include "nodes/shapes/SoSolidEmitter.h"

SO_NODE_SOURCE(SoCylinder, SoShape)
const SoEnumEntry SoCylinder::partEnums[4] = {{"SIDES", 1}, {"TOP", 2}, {"BOTTOM", 4}, {"ALL", 7}};

namespace {

constexpr double kPi = 3.14159265358979323846;

// Slice 0 faces +z and slices advance towards +x: seen from outside, going down a side and
// then along the ring runs counterclockwise.
SbVec3f ringDirection(int j, int slices) {
    const double theta = 2.0 * kPi * (j % slices) / slices;
    return SbVec3f(static_cast<float>(std::sin(theta)), 0, static_cast<float>(std::cos(theta)));
}

}  // namespace

SoCylinder::SoCylinder() {
    SO_NODE_CONSTRUCTOR(SoCylinder);
    addField("parts", parts);
    addField("radius", radius);
    addField("height", height);
}

SoCylinder::~SoCylinder() = default;

void SoCylinder::generatePrimitives(SoAction* action) {
    const float r = std::fabs(radius.getValue());
    const float h = std::fabs(height.getValue()) / 2;
    const int slices = SoSolidEmitter::slicesFor(getComplexityValue(action));
    const int mask = parts.getValue();
    if (mask & SIDES) {
        SoSolidEmitter emitter(this, action);
        for (int j = 0; j < slices; ++j) {
            const SbVec3f d0 = ringDirection(j, slices);
            const SbVec3f d1 = ringDirection(j + 1, slices);
            const int k = (j + 1) % slices;
            emitter.beginFace(0, j, 4);
            emitter.setVertex(0, d0 * r + SbVec3f(0, h, 0), d0, j, j);
            emitter.setVertex(1, d0 * r - SbVec3f(0, h, 0), d0, slices + j, j);
            emitter.setVertex(2, d1 * r - SbVec3f(0, h, 0), d1, slices + k, k);
            emitter.setVertex(3, d1 * r + SbVec3f(0, h, 0), d1, k, k);
            emitter.endFace();
        }
    }
    if (mask & TOP) generateDisk(action, 1, h, r, slices);
    if (mask & BOTTOM) generateDisk(action, 2, -h, r, slices);
}

// A fan of triangles around the disk's centre, facing away from the cylinder.
void SoCylinder::generateDisk(SoAction* action, int part, float y, float r, int slices) {
    SoSolidEmitter emitter(this, action);
    const bool top = part == 1;
    const SbVec3f normal(0, top ? 1.0f : -1.0f, 0);
    const int ring = top ? 0 : slices;  // coordinate numbering of the sides
    const int centre = 2 * slices + (top ? 0 : 1);
    const int normalIndex = slices + (top ? 0 : 1);
    for (int j = 0; j < slices; ++j) {
        const int k = (j + 1) % slices;
        const SbVec3f p0 = ringDirection(j, slices) * r + SbVec3f(0, y, 0);
        const SbVec3f p1 = ringDirection(k, slices) * r + SbVec3f(0, y, 0);
        emitter.beginFace(part, part * slices + j, 3);
        emitter.setVertex(0, SbVec3f(0, y, 0), normal, centre, normalIndex);
        emitter.setVertex(1, top ? p0 : p1, normal, ring + (top ? j : k), normalIndex);
        emitter.setVertex(2, top ? p1 : p0, normal, ring + (top ? k : j), normalIndex);
        emitter.endFace();
    }
}

void SoCylinder::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    const float r = std::fabs(radius.getValue());
    const float h = std::fabs(height.getValue()) / 2;
    const int mask = parts.getValue();
    center.setValue(0, 0, 0);
    if (!(r >= 0 && h >= 0) || (mask & ALL) == 0) return;
    // Without the sides, only the disks present bound the shape.
    const float low = (mask & (SIDES | BOTTOM)) ? -h : h;
    const float high = (mask & (SIDES | TOP)) ? h : -h;
    box.setBounds(-r, low, -r, r, high, r);
    center = box.getCenter();
}
