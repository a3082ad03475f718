#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbViewVolume.h>

class SoNode;

/// The view volume of the current camera.
class SoViewVolumeElement : public SoElement {
    SO_ELEMENT_HEADER(SoViewVolumeElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbViewVolume& value);
    static const SbViewVolume& get(SoState* state);

  private:
    SbViewVolume value_;
};
