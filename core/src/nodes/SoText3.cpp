#include <Tessara/nodes/SoText3.h>

SO_NODE_SOURCE(SoText3, SoOutlineText)

SoText3::SoText3() {
    SO_NODE_CONSTRUCTOR(SoText3);
}

SoText3::~SoText3() = default;
