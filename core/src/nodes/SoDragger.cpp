#include <Tessara/nodes/SoDragger.h>

SO_NODE_SOURCE(SoDragger, SoSeparator)

SoDragger::SoDragger() {
    SO_NODE_CONSTRUCTOR(SoDragger);
}

SoDragger::~SoDragger() = default;
