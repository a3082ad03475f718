#pragma once

// Scenes whose clipping is easy to predict on paper. The drawing is 200 × 200 mm and the
// orthographic camera looks down -z from z = 15 with height 2, near 0 and far 20: a point
// (x, y, z) lands at ((x + 1) × 100, (y + 1) × 100) mm with the normalised depth 0.5 - z / 10,
// so depth is kept between world z = -5 (far) and z = 15 (the camera: with a near distance
// of 0 the near plane passes through it).

#include <string>

#include "plotwerk/support/SceneText.h"

namespace cliptest {

constexpr float kPageSize = 200.0f;

/// Page millimetres of a normalised coordinate.
inline float mm(float normalised) {
    return (normalised + 1.0f) * kPageSize / 2.0f;
}

/// An orthographic camera looking down -z from (0, 0, z), two units high, and unlit colours.
inline std::string ortho(float z = 15, float nearDistance = 0, float farDistance = 20) {
    return "OrthographicCamera { position 0 0 " + std::to_string(z) + "  height 2  nearDistance " +
           std::to_string(nearDistance) + "  farDistance " + std::to_string(farDistance) +
           " } LightModel { model BASE_COLOR } ";
}

/// A camera at the origin looking down -z with a 90° field of view, near 1 and far 10:
/// camera point (x, y, -e) has clip coordinates (x, y, (11e - 20) / 9, e).
const std::string kPerspective =
    "PerspectiveCamera { position 0 0 0  heightAngle 1.5707963  nearDistance 1  farDistance 10 }"
    " LightModel { model BASE_COLOR } ";

}  // namespace cliptest
