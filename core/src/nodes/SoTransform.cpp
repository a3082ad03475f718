#include <Tessara/nodes/SoTransform.h>

SO_NODE_SOURCE(SoTransform, SoTransformation)

SoTransform::SoTransform() {
    SO_NODE_CONSTRUCTOR(SoTransform);
    addField("translation", translation);
    addField("rotation", rotation);
    addField("scaleFactor", scaleFactor);
    addField("scaleOrientation", scaleOrientation);
    addField("center", center);
}

SoTransform::~SoTransform() = default;

SbMatrix SoTransform::getMatrix() const {
    SbMatrix m;
    m.setTransform(translation.getValue(), rotation.getValue(), scaleFactor.getValue(),
                   scaleOrientation.getValue(), center.getValue());
    return m;
}
