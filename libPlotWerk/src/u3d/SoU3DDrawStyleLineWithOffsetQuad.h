#pragma once

#include "SoU3DDrawStyleLineWithQuad.h"

/// Like SoU3DDrawStyleLineWithQuad, but the edges found while merging are sent as offset lines,
/// which the engine lifts off their faces by the offset so that they do not sink into a
/// filled copy of the same shape.
class SoToU3DActionPrivate::SoU3DDrawStyleLineWithOffsetQuad
    : public SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad {
  public:
    explicit SoU3DDrawStyleLineWithOffsetQuad(float offset) : offset_(offset) {}
    float getNormalOffset() override { return offset_; }

  protected:
    void mergedLine(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) override;

  private:
    float offset_;
};
