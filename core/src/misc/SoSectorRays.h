#pragma once

#include "SoPolygonBorders.h"

/// Rays from a point in the middle of a polygon that part its corners into sectors of about
/// equal numbers of corners: a star's or a gear's long edges cross every line that misses its
/// middle, but hardly a ray from there. The point lies between two corners, so that it mixes
/// two as the corners made on borders do; it is added to the corners.
///
/// None suit (no pieces) when a corner lies at the point or an edge passes through it, where
/// a corner would have no direction from it, or when a sector would take half a turn or
/// more: an edge turns round the point by less than half a turn, and the sectors of its two
/// ends tell which rays it crosses only while no sector is as wide.
class SoSectorRays : public SoPolygonBorders {
  public:
    SoSectorRays(std::vector<Corner>& corners, const std::vector<Contour>& contours, int axis,
                 int otherAxis, int count);
    int getPieceCount() const override { return static_cast<int>(rays_.size()); }
    int pieceOf(int corner) const override;
    void cross(int from, int to, std::vector<Crossing>& crossings) const override;
    int getMeetingCorner() const override { return middle_; }

  private:
    /// `used`: the corners of the contours.
    void placeMiddle(std::vector<Corner>& corners, const std::vector<int>& used);
    static Corner between(const std::vector<Corner>& corners, int a, int b,
                          const std::array<double, 3>& point);
    bool measureAngles(const std::vector<Contour>& contours, const std::vector<int>& used);
    void placeRays(const std::vector<int>& used, int count);
    /// Corner minus the middle, in the polygon's plane.
    std::array<double, 2> fromMiddle(int corner) const;
    /// The angle from a to b, within half a turn either way.
    double turn(int a, int b) const;
    Corner crossingOf(int ray, int low, int high) const;

    const std::vector<Corner>& corners_;
    int axis_, otherAxis_;
    int middle_ = -1;
    std::vector<double> angles_;  // per corner, round the middle
    std::vector<double> rays_;    // sorted angles, from -pi
};
