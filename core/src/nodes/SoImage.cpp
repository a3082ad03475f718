#include <Tessara/nodes/SoImage.h>

SO_NODE_SOURCE(SoImage, SoShape)

namespace {

const SoEnumEntry kHorAlignments[] = {
    {"LEFT", SoImage::LEFT}, {"CENTER", SoImage::CENTER}, {"RIGHT", SoImage::RIGHT}};
const SoEnumEntry kVertAlignments[] = {
    {"BOTTOM", SoImage::BOTTOM}, {"HALF", SoImage::HALF}, {"TOP", SoImage::TOP}};

}  // namespace

SoImage::SoImage()
    : horAlignment(kHorAlignments, 3, LEFT), vertAlignment(kVertAlignments, 3, BOTTOM) {
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
