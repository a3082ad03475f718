#pragma once

#include "SoGraphicPrimitive.h"

/// A stored primitive anchored at one point with one colour: text and images.
class SoPrimitiveMonoPoint : public SoGraphicPrimitive {
  public:
    /// Both depths are the anchor's.
    float getZMax() const override { return point[2]; }
    float getZMin() const override { return point[2]; }
    /// The anchor, whatever i.
    SbVec4f* getPoint(int i) override;
    int getNumPoints() const override { return 1; }
    SbColor* getColor(int i) override;
    int getType() const override;

    SbVec4f point;
    SbColor color;

  protected:
    /// Stores the anchor and makes the box that single point.
    void setAnchor(const SbVec4f& anchor);
};
