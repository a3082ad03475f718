#include <Tessara/nodes/SoImage.h>

SO_NODE_SOURCE(SoImage, SoShape)

const SoEnumEntry SoImage::horAlignmentEnums[3] = {
    {"LEFT", SoImage::LEFT}, {"CENTER", SoImage::CENTER}, {"RIGHT", SoImage::RIGHT}};
const SoEnumEntry SoImage::vertAlignmentEnums[3] = {
    {"BOTTOM", SoImage::BOTTOM}, {"HALF", SoImage::HALF}, {"TOP", SoImage::TOP}};

SoImage::SoImage() {
    SO_NODE_CONSTRUCTOR(SoImage);
    addField("image", image);
    addField("width", width);
    addField("height", height);
    addField("horAlignment", horAlignment);
    addField("vertAlignment", vertAlignment);
}

SoImage::~SoImage() = default;

// The image is placed in screen space by whoever prints it; there is nothing to emit in
// object space.
void SoImage::generatePrimitives(SoAction*) {}

void SoImage::computeBBox(SoAction*, SbBox3f& box, SbVec3f& center) {
    center.setValue(0, 0, 0);
    box.setBounds(center, center);
}
