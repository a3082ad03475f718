#include "SoU3DDrawStyleLineWithOffsetQuad.h"

void SoToU3DActionPrivate::SoU3DDrawStyleLineWithOffsetQuad::mergedLine(
    const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) {
    engine()->addOffsetLine(callbackAction(), a, b);
}
