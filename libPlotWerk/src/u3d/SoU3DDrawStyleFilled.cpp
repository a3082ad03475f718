#include "SoU3DDrawStyleFilled.h"

#include <PlotWerk/SoToU3DAction.h>

void SoToU3DActionPrivate::SoU3DDrawStyleFilled::line(const SoPrimitiveVertex* a,
                                                      const SoPrimitiveVertex* b) {
    engine()->addLine(callbackAction_, a, b);
}

void SoToU3DActionPrivate::SoU3DDrawStyleFilled::triangle(const SoPrimitiveVertex* a,
                                                          const SoPrimitiveVertex* b,
                                                          const SoPrimitiveVertex* c) {
    engine()->addTriangle(callbackAction_, a, b, c);
}

// Filled shapes are sent as they are, so the shape's own counts stand.
void SoToU3DActionPrivate::SoU3DDrawStyleFilled::adjustCounts(std::uint32_t* /*quads*/,
                                                              std::uint32_t* /*triangles*/,
                                                              std::uint32_t* /*lines*/,
                                                              std::uint32_t* /*points*/) {}

SoToU3DActionPrivate* SoToU3DActionPrivate::SoU3DDrawStyleFilled::engine() const {
    return action_->getImpl();
}
