#include <Tessara/nodes/SoGradientBackground.h>

SO_NODE_SOURCE(SoGradientBackground, SoNode)

SoGradientBackground::SoGradientBackground() {
    SO_NODE_CONSTRUCTOR(SoGradientBackground);
    addField("color0", color0);
    addField("color1", color1);
}

SoGradientBackground::~SoGradientBackground() = default;
