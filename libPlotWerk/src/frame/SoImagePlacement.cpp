#include "SoImagePlacement.h"

SoImagePlacement SoImagePlacement::of(const SbVec4f& origin, const SbVec2s& requestedSize,
                                      float pixelSize, SoImage::HorAlignment horAlignment,
                                      SoImage::VertAlignment vertAlignment) {
    SoImagePlacement p{origin[0], origin[1], requestedSize[0] * pixelSize,
                       requestedSize[1] * pixelSize};
    if (horAlignment == SoImage::CENTER) p.x -= p.width / 2;
    if (horAlignment == SoImage::RIGHT) p.x -= p.width;
    if (vertAlignment == SoImage::HALF) p.y -= p.height / 2;
    if (vertAlignment == SoImage::TOP) p.y -= p.height;
    return p;
}
