#include "SoGraphicPrimitive.h"

#include "SoHLHSRGLFunctions.h"

SbBox2f* SoGraphicPrimitive::getBBox() {
    return &bbox;
}

SbColor* SoGraphicPrimitive::getColor(int) {
    return nullptr;
}

int SoGraphicPrimitive::getType() const {
    return GRAPHIC_PRIMITIVE;
}

bool SoGraphicPrimitive::cutBy(const SoPolygon&, SoGraphicPrimitive*& front,
                               SoGraphicPrimitive*& back) const {
    front = back = nullptr;
    return false;
}

SoGraphicPrimitive::~SoGraphicPrimitive() = default;

bool SoGraphicPrimitive::beginIdColor(unsigned mode, std::uint32_t idColor) {
    const SoHLHSRGLFunctions& gl = SoHLHSRGLFunctions::get();
    if (!gl.isComplete()) return false;
    const GLubyte rgba[4] = {static_cast<GLubyte>(idColor & 0xFFu),
                             static_cast<GLubyte>((idColor >> 8) & 0xFFu),
                             static_cast<GLubyte>((idColor >> 16) & 0xFFu),
                             static_cast<GLubyte>((idColor >> 24) & 0xFFu)};
    gl.Begin(mode);
    gl.Color4ubv(rgba);
    return true;
}
