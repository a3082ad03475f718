#pragma once

#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoNode.h>

class SoPath;

/// Base of the cameras: where the viewer stands, where it looks, and what it sees.
/// A camera sets the view volume and the viewing and projection matrices for what follows.
class SoCamera : public SoNode {
    SO_NODE_ABSTRACT_HEADER(SoCamera);

  public:
    /// How a camera whose aspect ratio differs from the viewport's is fitted to it.
    enum ViewportMapping {
        CROP_VIEWPORT_FILL_FRAME = 0,
        CROP_VIEWPORT_LINE_FRAME = 1,
        CROP_VIEWPORT_NO_FRAME = 2,
        ADJUST_CAMERA = 3,
        LEAVE_ALONE = 4
    };
    static const SoEnumEntry mappingEnums[5];

    SoSFEnum viewportMapping{mappingEnums, 5, ADJUST_CAMERA};
    SoSFVec3f position{SbVec3f(0, 0, 1)};
    SoSFRotation orientation;
    SoSFFloat aspectRatio{1.0f};
    SoSFFloat nearDistance{1.0f};
    SoSFFloat farDistance{10.0f};
    SoSFFloat focalDistance{5.0f};

    /// The view volume for a window of `useAspectRatio` (0: the aspectRatio field).
    virtual SbViewVolume getViewVolume(float useAspectRatio = 0.0f) const = 0;
    /// Sets position, clipping planes and size so that the whole of `root` is seen in a
    /// viewport of this region; slack > 1 leaves room around it.
    void viewAll(SoNode* root, const SbViewportRegion& region, float slack = 1.0f);
    void viewAll(SoPath* path, const SbViewportRegion& region, float slack = 1.0f);
    /// Turns the camera towards `target`, keeping +y up as far as possible.
    void pointAt(const SbVec3f& target);

    void doAction(SoAction* action) override;

  protected:
    SoCamera();
    ~SoCamera() override;
    /// Fits the camera around a world box seen with the given window aspect.
    virtual void viewBoundingBox(const SbBox3f& box, float aspect, float slack) = 0;

  private:
    SbViewVolume fitToViewport(SbViewportRegion& region) const;
};
