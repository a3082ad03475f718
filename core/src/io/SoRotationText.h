#pragma once

#include <Tessara/math/SbRotation.h>

#include <string>

/// The axis-angle text of rotations. SbRotation keeps a float quaternion that it normalises
/// on every set, so text can only reach some quaternions; the writer searches for text that
/// reads back to the very rotation it holds whenever one exists.
namespace SoRotationText {

/// The rotation that "x y z angle" stands for; a zero axis gives the identity.
SbRotation fromAxisAngle(const double axisAngle[4]);
/// "x y z angle" with the fewest digits that read back exactly (17 when nothing does).
std::string toAxisAngle(const SbRotation& rotation);

}  // namespace SoRotationText
