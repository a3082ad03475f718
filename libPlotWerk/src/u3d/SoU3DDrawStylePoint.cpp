#include "SoU3DDrawStylePoint.h"

void SoToU3DActionPrivate::SoU3DDrawStylePoint::line(const SoPrimitiveVertex* a,
                                                     const SoPrimitiveVertex* b) {
    engine()->addPoint(callbackAction(), a);
    engine()->addPoint(callbackAction(), b);
}

void SoToU3DActionPrivate::SoU3DDrawStylePoint::triangle(const SoPrimitiveVertex* a,
                                                         const SoPrimitiveVertex* b,
                                                         const SoPrimitiveVertex* c) {
    engine()->addPoint(callbackAction(), a);
    engine()->addPoint(callbackAction(), b);
    engine()->addPoint(callbackAction(), c);
}

// Shared corners are not merged, so each triangle adds three points and each line two.
void SoToU3DActionPrivate::SoU3DDrawStylePoint::adjustCounts(std::uint32_t* /*quads*/,
                                                             std::uint32_t* triangles,
                                                             std::uint32_t* lines,
                                                             std::uint32_t* points) {
    *points += 3 * *triangles + 2 * *lines;
    *triangles = 0;
    *lines = 0;
}
