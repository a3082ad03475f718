#pragma once

#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec4f.h>
#include <Tessara/nodes/SoImage.h>

/// Where an image lands on the page, in millimetres: its extent (requested pixels times the
/// pixel size) and its lower-left corner, moved from the origin as the alignments say.
struct SoImagePlacement {
    float x, y, width, height;

    static SoImagePlacement of(const SbVec4f& origin, const SbVec2s& requestedSize, float pixelSize,
                               SoImage::HorAlignment horAlignment,
                               SoImage::VertAlignment vertAlignment);
    SbBox2f box() const { return SbBox2f(x, y, x + width, y + height); }
};
