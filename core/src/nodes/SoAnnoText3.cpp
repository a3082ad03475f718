#include <Tessara/nodes/SoAnnoText3.h>

SO_NODE_SOURCE(SoAnnoText3, SoOutlineText)

SoAnnoText3::SoAnnoText3() {
    SO_NODE_CONSTRUCTOR(SoAnnoText3);
}

SoAnnoText3::~SoAnnoText3() = default;
