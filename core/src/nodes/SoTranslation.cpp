#include <Tessara/nodes/SoTranslation.h>

SO_NODE_SOURCE(SoTranslation, SoTransformation)

SoTranslation::SoTranslation() {
    SO_NODE_CONSTRUCTOR(SoTranslation);
    addField("translation", translation);
}

SoTranslation::~SoTranslation() = default;

SbMatrix SoTranslation::getMatrix() const {
    SbMatrix m;
    m.setTranslate(translation.getValue());
    return m;
}
