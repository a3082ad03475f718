#pragma once

#include <Tessara/elements/SoFloatElement.h>

/// Angle in radians below which generated normals are smoothed across an edge.
class SoCreaseAngleElement : public SoFloatElement {
    SO_ELEMENT_HEADER(SoCreaseAngleElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, float value) {
        SoFloatElement::set(state, getClassStackIndex(), value);
    }
    static float get(SoState* state) { return SoFloatElement::get(state, getClassStackIndex()); }
    static float getDefault() { return 0.0f; }
};
