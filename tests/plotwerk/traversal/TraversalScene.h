#pragma once

// A page and a camera whose numbers are easy to follow: a 100 × 100 mm drawing seen through an
// orthographic camera two units high looking down -z from z = 8, near 1 and far 10, so that an
// object point (x, y, 0) lands on the page at ((x + 1) × 50, (y + 1) × 50) millimetres with
// the normalised depth (2 × 8 - 11) / 9. Colours are unlit unless a scene says otherwise.

#include <string>

#include "plotwerk/support/SceneText.h"

namespace traversal {

const std::string kCamera =
    "OrthographicCamera { position 0 0 8  height 2  nearDistance 1  farDistance 10 } ";
const std::string kUnlit = "LightModel { model BASE_COLOR } ";

/// A page point in millimetres at the depth of the z = 0 plane.
inline SbVec3f onPage(float x, float y) {
    return SbVec3f(x, y, 5.0f / 9.0f);
}

/// Where an object point of the z = 0 plane lands on the page.
inline SbVec3f pageOf(float x, float y) {
    return onPage((x + 1.0f) * 50.0f, (y + 1.0f) * 50.0f);
}

/// A line set from (-0.5, y) to (0.5, y) in a separator of its own.
inline std::string lineAcross(float y) {
    const std::string at = std::to_string(y);
    return "Separator { Coordinate3 { point [ -0.5 " + at + " 0, 0.5 " + at +
           " 0 ] } LineSet { } } ";
}

using TraversalTest = PrintTest;

}  // namespace traversal
