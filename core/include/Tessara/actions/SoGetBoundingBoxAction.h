#pragma once

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoSubAction.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbViewportRegion.h>

/// Computes the world-space box of a scene (or of what a path leads to) and its centre.
class SoGetBoundingBoxAction : public SoAction {
    SO_ACTION_HEADER(SoGetBoundingBoxAction);

  public:
    explicit SoGetBoundingBoxAction(const SbViewportRegion& region = SbViewportRegion());
    ~SoGetBoundingBoxAction() override;

    void setViewportRegion(const SbViewportRegion& region) { viewportRegion_ = region; }
    const SbViewportRegion& getViewportRegion() const { return viewportRegion_; }

    /// The box, in world coordinates; empty when nothing has a size.
    const SbBox3f& getBoundingBox() const { return box_; }
    /// The mean of the centres of the shapes met, in world coordinates.
    SbVec3f getCenter() const;
    bool isCenterSet() const { return numCenters_ > 0; }

    /// Adds an object-space box, transformed by the current model matrix.
    void extendBy(const SbBox3f& objectBox);
    /// Adds a shape centre, transformed by the model matrix when `transformCenter`.
    void setCenter(const SbVec3f& center, bool transformCenter);
    void resetCenter();

    void clearApplyResult() override;
    void beginTraversal(SoNode* node) override;

  private:
    SbViewportRegion viewportRegion_;
    SbBox3f box_;
    SbVec3f centerSum_{0, 0, 0};
    int numCenters_ = 0;
};
