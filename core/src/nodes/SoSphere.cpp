#include <Tessara/nodes/SoSphere.h>

#include <cmath>

#include "nodes/shapes/SoSolidEmitter.h"

SO_NODE_SOURCE(SoSphere, SoShape)

namespace {

constexpr double kPi = 3.14159265358979323846;

// Unit direction of grid vertex (stack i, slice j): stack 0 is the north pole (+y), slice 0
// faces +z and slices advance towards +x.
SbVec3f direction(int i, int j, int stacks, int slices) {
    const double phi = kPi * i / stacks;
    const double theta = 2.0 * kPi * (j % slices) / slices;
    if (i == 0) return SbVec3f(0, 1, 0);
    if (i == stacks) return SbVec3f(0, -1, 0);
    return SbVec3f(static_cast<float>(std::sin(phi) * std::sin(theta)),
                   static_cast<float>(std::cos(phi)),
                   static_cast<float>(std::sin(phi) * std::cos(theta)));
}

}  // namespace

SoSphere::SoSphere() {
    SO_NODE_CONSTRUCTOR(SoSphere);
    addField("radius", radius);
}

SoSphere::~SoSphere() = default;

void SoSphere::generatePrimitives(SoAction* action) {
    const float r = std::fabs(radius.getValue());
    const int slices = SoSolidEmitter::slicesFor(getComplexityValue(action));
    const int stacks = slices / 2 < 3 ? 3 : slices / 2;
    SoSolidEmitter emitter(this, action);
    auto put = [&](int k, int i, int j) {
        const SbVec3f n = direction(i, j, stacks, slices);
        const int index = i * slices + j % slices;
        emitter.setVertex(k, n * r, n, index, index);
    };
    int face = 0;
    for (int j = 0; j < slices; ++j, ++face) {  // north cap
        emitter.beginFace(0, face, 3);
        put(0, 0, j);
        put(1, 1, j);
        put(2, 1, j + 1);
        emitter.endFace();
    }
    for (int i = 1; i + 1 < stacks; ++i) {
        for (int j = 0; j < slices; ++j, ++face) {
            emitter.beginFace(0, face, 4);
            put(0, i, j);
            put(1, i + 1, j);
            put(2, i + 1, j + 1);
            put(3, i, j + 1);
            emitter.endFace();
        }
    }
    for (int j = 0; j < slices; ++j, ++face) {  // south cap
        emitter.beginFace(0, face, 3);
        put(0, stacks - 1, j);
        put(1, stacks, j);
        put(2, stacks - 1, j + 1);
        emitter.endFace();
    }
}

void SoSphere::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    const float r = std::fabs(radius.getValue());
    center.setValue(0, 0, 0);
    if (!(r >= 0)) return;  // a NaN radius bounds nothing
    box.setBounds(-r, -r, -r, r, r, r);
}
