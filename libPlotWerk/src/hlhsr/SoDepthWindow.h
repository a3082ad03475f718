#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

/// The depths an orthographic pass over the stored records draws between: theirs, with a
/// thousandth of their range to spare on each side, or 0.01 when all are equal.
///
/// The spare is never less than a few steps of single precision at those depths: the faces
/// of a solid seen square on in perspective differ in depth by a hair, and rounding in the
/// projection then put the corners of the face beyond a window a thousandth of that hair
/// wide, where they were clipped away.
struct SoDepthWindow {
    float nearest, farthest;

    static SoDepthWindow of(float zmin, float zmax) {
        float spare = (zmax - zmin) * 0.001f;
        if (spare == 0.0f) return {zmin - 0.01f, zmax + 0.01f};
        const float scale = std::max({1.0f, std::fabs(zmin), std::fabs(zmax)});
        spare = std::max(spare, 64.0f * std::numeric_limits<float>::epsilon() * scale);
        return {zmin - spare, zmax + spare};
    }
};
