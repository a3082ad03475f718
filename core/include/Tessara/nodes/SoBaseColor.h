#pragma once

#include <Tessara/nodes/SoNode.h>

/// The diffuse colours of the shapes that follow, leaving the rest of the material alone.
class SoBaseColor : public SoNode {
    SO_NODE_HEADER(SoBaseColor);

  public:
    SoBaseColor();

    SoMFColor rgb{SbColor(0.8f, 0.8f, 0.8f)};
    void doAction(SoAction* action) override;

  protected:
    ~SoBaseColor() override;
};
