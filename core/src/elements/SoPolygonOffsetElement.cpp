#include <Tessara/elements/SoPolygonOffsetElement.h>

SO_ELEMENT_SOURCE(SoPolygonOffsetElement, SoElement)

void SoPolygonOffsetElement::init(SoState*) {
    factor_ = 0.0f;
    units_ = 0.0f;
    styles_ = FILLED;
    on_ = false;
}

void SoPolygonOffsetElement::set(SoState* state, SoNode*, float factor, float units, int styles,
                                 bool on) {
    auto* e = static_cast<SoPolygonOffsetElement*>(getElement(state, getClassStackIndex()));
    e->factor_ = factor;
    e->units_ = units;
    e->styles_ = styles;
    e->on_ = on;
}

void SoPolygonOffsetElement::get(SoState* state, float& factor, float& units, int& styles,
                                 bool& on) {
    const auto* e =
        static_cast<const SoPolygonOffsetElement*>(getConstElement(state, getClassStackIndex()));
    factor = e->factor_;
    units = e->units_;
    styles = e->styles_;
    on = e->on_;
}
