#pragma once

#include <Tessara/details/SoPointDetail.h>

#include <vector>

/// One face of a shape: its index among the shape's faces, the part it belongs to, and
/// its vertices.
class SoFaceDetail : public SoDetail {
    SO_DETAIL_HEADER(SoFaceDetail);

  public:
    SoDetail* copy() const override { return new SoFaceDetail(*this); }

    int getFaceIndex() const { return faceIndex_; }
    int getPartIndex() const { return partIndex_; }
    int getNumPoints() const { return static_cast<int>(points_.size()); }
    const SoPointDetail* getPoint(int i) const { return &points_[i]; }
    void setFaceIndex(int i) { faceIndex_ = i; }
    void setPartIndex(int i) { partIndex_ = i; }
    void setNumPoints(int num) { points_.resize(num < 0 ? 0 : num); }
    void setPoint(int i, const SoPointDetail* p) { points_[i] = *p; }
    void incFaceIndex() { ++faceIndex_; }
    void incPartIndex() { ++partIndex_; }

  private:
    int faceIndex_ = 0;
    int partIndex_ = 0;
    std::vector<SoPointDetail> points_;
};
