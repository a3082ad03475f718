#pragma once

#include <Tessara/elements/SoSubElement.h>

class SoNode;

/// The depth offset applied to filled, line or point primitives.
class SoPolygonOffsetElement : public SoElement {
    SO_ELEMENT_HEADER(SoPolygonOffsetElement);

  public:
    /// Which primitives are offset (a bit set).
    enum Style { FILLED = 1, LINES = 2, POINTS = 4 };

    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, float factor, float units, int styles, bool on);
    static void get(SoState* state, float& factor, float& units, int& styles, bool& on);

  private:
    float factor_ = 0.0f;
    float units_ = 0.0f;
    int styles_ = FILLED;
    bool on_ = false;
};
