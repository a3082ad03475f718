#include <Tessara/nodes/SoCube.h>

#include <cmath>

#include "nodes/shapes/SoSolidEmitter.h"

SO_NODE_SOURCE(SoCube, SoShape)

namespace {

// Corner signs of each face, counterclockwise seen from outside, and the face's normal.
struct CubeFace {
    float corners[4][3];
    float normal[3];
};

const CubeFace kFaces[6] = {
    {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, {0, 0, 1}},        // front
    {{{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}, {0, 0, -1}},   // back
    {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}, {-1, 0, 0}},   // left
    {{{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}, {1, 0, 0}},        // right
    {{{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}, {0, 1, 0}},        // top
    {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}, {0, -1, 0}}};  // bottom

}  // namespace

SoCube::SoCube() {
    SO_NODE_CONSTRUCTOR(SoCube);
    addField("width", width);
    addField("height", height);
    addField("depth", depth);
}

SoCube::~SoCube() = default;

// Sizes are magnitudes: a negative one would turn the faces inside out.
void SoCube::generatePrimitives(SoAction* action) {
    const float half[3] = {std::fabs(width.getValue()) / 2, std::fabs(height.getValue()) / 2,
                           std::fabs(depth.getValue()) / 2};
    SoSolidEmitter emitter(this, action);
    for (int f = 0; f < 6; ++f) {
        const CubeFace& face = kFaces[f];
        const SbVec3f normal(face.normal[0], face.normal[1], face.normal[2]);
        emitter.beginFace(f, f, 4);
        for (int i = 0; i < 4; ++i) {
            const float* sign = face.corners[i];
            const SbVec3f point(sign[0] * half[0], sign[1] * half[1], sign[2] * half[2]);
            emitter.setVertex(i, point, normal, 4 * f + i, f);
        }
        emitter.endFace();
    }
}

void SoCube::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    const float w = std::fabs(width.getValue()) / 2;
    const float h = std::fabs(height.getValue()) / 2;
    const float d = std::fabs(depth.getValue()) / 2;
    center.setValue(0, 0, 0);
    if (!(w >= 0 && h >= 0 && d >= 0)) return;  // NaN sizes bound nothing
    box.setBounds(-w, -h, -d, w, h, d);
}
