#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// Whether printed annotation text follows the on-page direction of its baseline.
class SoAnnoText3CharOrientElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoAnnoText3CharOrientElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, bool value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static bool get(SoState* state) {
        return static_cast<bool>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static bool getDefault() { return static_cast<bool>(1); }
};
