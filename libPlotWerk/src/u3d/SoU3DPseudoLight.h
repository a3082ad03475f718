#pragma once

#include <Tessara/math/SbVec3f.h>

/// The one light the pseudo lighting assumes: a unit vector shining from (1, 1, 2) towards the
/// origin, so that faces turned up and towards the viewer's upper right come out brightest.
inline SbVec3f pseudoLightDirection() {
    return SbVec3f(-0.40824828f, -0.40824828f, -0.8164966f);
}
