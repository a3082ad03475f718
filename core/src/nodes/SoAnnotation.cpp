#include <Tessara/nodes/SoAnnotation.h>

SO_NODE_SOURCE(SoAnnotation, SoSeparator)

SoAnnotation::SoAnnotation() {
    SO_NODE_CONSTRUCTOR(SoAnnotation);
}

SoAnnotation::~SoAnnotation() = default;
