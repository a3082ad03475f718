#include <Tessara/nodes/SoScale.h>

SO_NODE_SOURCE(SoScale, SoTransformation)

SoScale::SoScale() {
    SO_NODE_CONSTRUCTOR(SoScale);
    addField("scaleFactor", scaleFactor);
}

SoScale::~SoScale() = default;

SbMatrix SoScale::getMatrix() const {
    SbMatrix m;
    m.setScale(scaleFactor.getValue());
    return m;
}
