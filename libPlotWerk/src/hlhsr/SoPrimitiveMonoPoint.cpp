#include "SoPrimitiveMonoPoint.h"

#include <Tessara/math/SbVec2f.h>

SbVec4f* SoPrimitiveMonoPoint::getPoint(int) {
    return &point;
}

SbColor* SoPrimitiveMonoPoint::getColor(int) {
    return nullptr;
}

int SoPrimitiveMonoPoint::getType() const {
    return PRIMITIVE_MONO_POINT;
}

void SoPrimitiveMonoPoint::setAnchor(const SbVec4f& anchor) {
    point = anchor;
    bbox.makeEmpty();
    bbox.extendBy(SbVec2f(point[0], point[1]));
}
