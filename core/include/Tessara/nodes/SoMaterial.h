#pragma once

#include <Tessara/nodes/SoNode.h>

/// The surface material of the shapes that follow; each field may hold several values, picked by
/// material index.
class SoMaterial : public SoNode {
    SO_NODE_HEADER(SoMaterial);

  public:
    SoMaterial();

    SoMFColor ambientColor{SbColor(0.2f, 0.2f, 0.2f)};
    SoMFColor diffuseColor{SbColor(0.8f, 0.8f, 0.8f)};
    SoMFColor specularColor{SbColor(0, 0, 0)};
    SoMFColor emissiveColor{SbColor(0, 0, 0)};
    SoMFFloat shininess{0.2f};
    SoMFFloat transparency{0.0f};
    void doAction(SoAction* action) override;

  protected:
    ~SoMaterial() override;
};
