#include <Tessara/nodes/SoRotation.h>

SO_NODE_SOURCE(SoRotation, SoTransformation)

SoRotation::SoRotation() {
    SO_NODE_CONSTRUCTOR(SoRotation);
    addField("rotation", rotation);
}

SoRotation::~SoRotation() = default;

SbMatrix SoRotation::getMatrix() const {
    SbMatrix m;
    m.setRotate(rotation.getValue());
    return m;
}
