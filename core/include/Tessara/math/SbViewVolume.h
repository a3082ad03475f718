#pragma once

#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbPlane.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec3f.h>

class SbLine;

/// The region of space a camera sees.
///
/// It is set up in camera space (eye at the origin, looking down -z, y up) by ortho(),
/// perspective() or frustum(), then placed in the world with rotateCamera() and
/// translateCamera(). Window extents (width, height, left...) are measured on the near plane.
class SbViewVolume {
  public:
    enum ProjectionType { ORTHOGRAPHIC = 0, PERSPECTIVE = 1 };

    /// ortho(-1, 1, -1, 1, 0, 1) with the camera at the origin.
    SbViewVolume();

    /// Parallel projection. Near may be zero or negative (the volume then reaches behind the
    /// camera position), which lets an orthographic camera see its whole scene. Invalid
    /// bounds are reported and leave the volume unchanged. The camera placement is reset.
    void ortho(float left, float right, float bottom, float top, float nearDist, float farDist);
    /// Symmetric perspective: fovy is the full vertical angle in radians, aspect is width over
    /// height. Needs 0 < fovy < pi, aspect > 0, 0 < near < far; otherwise reported, unchanged.
    void perspective(float fovy, float aspect, float nearDist, float farDist);
    /// Perspective with an arbitrary window [left, right] x [bottom, top] on the near plane.
    void frustum(float left, float right, float bottom, float top, float nearDist, float farDist);

    /// Turns the volume about its eye by q (in world space), on top of earlier placements.
    void rotateCamera(const SbRotation& q);
    /// Moves the volume (and its eye) by v in world space.
    void translateCamera(const SbVec3f& v);

    /// affine maps world to camera space (the inverse of the camera placement); proj maps
    /// camera space to clip space: after p x proj and the division by w, x, y, z lie in [-1, 1]
    /// inside the volume, z = -1 on the near plane and +1 on the far plane.
    void getMatrices(SbMatrix& affine, SbMatrix& proj) const;
    /// affine x proj: world straight to clip space.
    SbMatrix getMatrix() const;
    /// World to camera space: the affine part of getMatrices().
    SbMatrix getCameraSpaceMatrix() const;

    /// World point to normalised screen coordinates: x, y in 0..1 across the window (0, 0 at
    /// lower left), z in 0..1 from near to far. A point in the eye plane of a perspective volume
    /// has no projection; its coordinates are then meaningless but finite.
    void projectToScreen(const SbVec3f& src, SbVec3f& dst) const;
    /// The world line seen at a normalised screen point, from the near plane towards the far
    /// plane.
    void projectPointToLine(const SbVec2f& pt, SbLine& line) const;
    /// As above, as the points where that line meets the near and far planes.
    void projectPointToLine(const SbVec2f& pt, SbVec3f& line0, SbVec3f& line1) const;

    ProjectionType getProjectionType() const { return type_; }
    /// The eye: apex of a perspective volume, camera position of an orthographic one.
    SbVec3f getProjectionPoint() const { return position_; }
    /// Unit viewing direction in world space.
    SbVec3f getProjectionDirection() const;
    float getNearDist() const { return nearDist_; }
    /// Window width and height on the near plane.
    float getWidth() const { return right_ - left_; }
    float getHeight() const { return top_ - bottom_; }
    /// Distance from the near to the far plane.
    float getDepth() const { return farDist_ - nearDist_; }

    /// Scales the window width (or height) about its centre; ratio must be positive.
    void scaleWidth(float ratio);
    void scaleHeight(float ratio);
    /// The sub-volume seen through [left, right] x [bottom, top] of this one's window, in 0..1
    /// coordinates (0, 0 at lower left). Bad bounds are reported and give an unchanged copy.
    SbViewVolume narrow(float left, float bottom, float right, float top) const;

    /// The point at distance from the eye along the projection direction.
    SbVec3f getSightPoint(float distFromEye) const;
    /// The plane across the view at distance from the eye, its normal facing the eye.
    SbPlane getPlane(float distFromEye) const;
    /// Unit vector pointing back towards the viewer: camera +z in world space.
    SbVec3f zVector() const { return -getProjectionDirection(); }

  private:
    bool setWindow(const char* where, float l, float r, float b, float t, float n, float f);
    SbVec3f toWorld(const SbVec3f& cameraPoint) const;

    ProjectionType type_ = ORTHOGRAPHIC;
    float left_ = -1.0f, right_ = 1.0f, bottom_ = -1.0f, top_ = 1.0f;
    float nearDist_ = 0.0f, farDist_ = 1.0f;
    SbRotation orientation_;  // camera space to world, about the eye
    SbVec3f position_;        // the eye in world space
};
