#pragma once

#include <Tessara/nodes/SoNode.h>

/// A background shaded from color0 at the bottom to color1 at the top; it does not change the
/// state.
class SoGradientBackground : public SoNode {
    SO_NODE_HEADER(SoGradientBackground);

  public:
    SoGradientBackground();

    SoSFColor color0{SbColor(0.7f, 0.7f, 0.8f)};
    SoSFColor color1{SbColor(0.0f, 0.1f, 0.3f)};

    bool affectsState() const override { return false; }

  protected:
    ~SoGradientBackground() override;
};
