#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How the printed size of annotation text is derived from its font size.
class SoAnnoText3FontSizeHintElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoAnnoText3FontSizeHintElement);

  public:
    enum FontSizeHint { ANNOTATION = 0, FIT_TEXT_VECTOR = 1 };
    void init(SoState* state) override;
    static void set(SoState* state, FontSizeHint value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static FontSizeHint get(SoState* state) {
        return static_cast<FontSizeHint>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static FontSizeHint getDefault() { return static_cast<FontSizeHint>(ANNOTATION); }
};
