#pragma once

#include <Tessara/nodes/SoNode.h>

/// Base of the light nodes: a light shines on the shapes that follow it in its separator.
class SoLight : public SoNode {
    SO_NODE_ABSTRACT_HEADER(SoLight);

  public:
    SoLight();

    SoSFBool on{true};
    SoSFFloat intensity{1.0f};
    SoSFColor color{SbColor(1, 1, 1)};
    void doAction(SoAction* action) override;

  protected:
    ~SoLight() override;
};
