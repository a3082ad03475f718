#pragma once

#include "SoPolygonBorders.h"

/// Lines across one coordinate that part a polygon's corners into bands of about equal
/// numbers of corners.
class SoBandLines : public SoPolygonBorders {
  public:
    SoBandLines(const std::vector<Corner>& corners, const std::vector<Contour>& contours, int axis,
                int count);
    int getPieceCount() const override { return static_cast<int>(lines_.size()) + 1; }
    int pieceOf(int corner) const override;
    void cross(int from, int to, std::vector<Crossing>& crossings) const override;

  private:
    double valueOf(int corner) const { return corners_[std::size_t(corner)].point[axis_]; }

    const std::vector<Corner>& corners_;
    int axis_;
    std::vector<double> lines_;
};
