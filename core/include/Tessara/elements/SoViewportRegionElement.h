#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbViewportRegion.h>

class SoNode;

/// The viewport region the scene is drawn into; set by the action, changed by cameras.
class SoViewportRegionElement : public SoElement {
    SO_ELEMENT_HEADER(SoViewportRegionElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbViewportRegion& value);
    static const SbViewportRegion& get(SoState* state);

  private:
    SbViewportRegion value_;
};
