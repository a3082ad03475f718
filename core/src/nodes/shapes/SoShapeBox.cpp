#include "nodes/shapes/SoShapeBox.h"

#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/math/SbMathHelper.h>

void SoShapeBox::addPoint(SbBox3f& box, const SbVec3f& point) {
    const float* p = point.getValue();
    if (SbMathHelper::isNaN(p[0]) || SbMathHelper::isNaN(p[1]) || SbMathHelper::isNaN(p[2])) return;
    box.extendBy(point);
}

void SoShapeBox::addIndexed(SbBox3f& box, const SoCoordinateElement* coords,
                            const SoMFInt32& indices) {
    const int numCoords = coords->getArrayPtr3() ? coords->getNum() : 0;
    for (int i = 0; i < indices.getNum(); ++i) {
        const int index = indices[i];
        if (index >= 0 && index < numCoords) addPoint(box, coords->get3(index));
    }
}

void SoShapeBox::addRange(SbBox3f& box, const SoCoordinateElement* coords, int first, int count) {
    const int numCoords = coords->getArrayPtr3() ? coords->getNum() : 0;
    const int end = first + count < numCoords ? first + count : numCoords;
    for (int i = first < 0 ? 0 : first; i < end; ++i) addPoint(box, coords->get3(i));
}

SbVec3f SoShapeBox::centerOf(const SbBox3f& box) {
    return box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
}
