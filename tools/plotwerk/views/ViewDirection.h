#pragma once

#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec3f.h>

#include <string>

/// The side from which the camera that the command adds looks at a scene. The named sides
/// are those of a model standing on its up axis: y for most scene and mesh formats (glTF,
/// OBJ), whose front faces +z, or z for STL and most CAD models, whose front faces -y; the
/// right side faces +x in both. A direction given as numbers is taken in the model's own
/// coordinates, whatever its up axis.
class ViewDirection {
  public:
    /// "front", "back", "left", "right", "top", "bottom", "iso" (front, right and top at
    /// once), or "X,Y,Z", the direction from the model towards the eye. A CommandError names
    /// the option otherwise.
    void choose(const std::string& option, const std::string& text);
    /// Whether `text` names a side.
    static bool isNamed(const std::string& text);
    /// "y" or "z"; a CommandError names the option otherwise.
    void chooseUpAxis(const std::string& option, const std::string& text);
    /// Whether either was chosen, rather than left as front with y up.
    bool chosen() const { return chosen_; }
    /// Whether the side is one of the six a drafter projects onto: front, back, left, right,
    /// top or bottom.
    bool principal() const;

    /// A camera turned by this looks at the model from the chosen side, with the up axis
    /// upwards on the drawing. Seen from straight above, the model's back is at the top of
    /// the drawing; from straight below, its front: as drafters lay out those views.
    SbRotation cameraOrientation() const;

  private:
    SbVec3f side_{0.0f, 0.0f, 1.0f};  ///< for a named side: as if y were up
    bool named_ = true;
    bool zUp_ = false;
    bool chosen_ = false;
};
