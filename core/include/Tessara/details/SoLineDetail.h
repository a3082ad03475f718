#pragma once

#include <Tessara/details/SoPointDetail.h>

/// One segment of a line shape: its polyline (line index), segment (part index) and ends.
class SoLineDetail : public SoDetail {
    SO_DETAIL_HEADER(SoLineDetail);

  public:
    SoDetail* copy() const override { return new SoLineDetail(*this); }

    const SoPointDetail* getPoint0() const { return &point0_; }
    const SoPointDetail* getPoint1() const { return &point1_; }
    int getLineIndex() const { return lineIndex_; }
    int getPartIndex() const { return partIndex_; }
    void setPoint0(const SoPointDetail* p) { point0_ = *p; }
    void setPoint1(const SoPointDetail* p) { point1_ = *p; }
    void setLineIndex(int i) { lineIndex_ = i; }
    void setPartIndex(int i) { partIndex_ = i; }

  private:
    SoPointDetail point0_;
    SoPointDetail point1_;
    int lineIndex_ = 0;
    int partIndex_ = 0;
};
