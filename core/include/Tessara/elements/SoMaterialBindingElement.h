#pragma once

#include <Tessara/elements/SoInt32Element.h>

/// How materials are bound to the parts, faces or vertices of shapes.
class SoMaterialBindingElement : public SoInt32Element {
    SO_ELEMENT_HEADER(SoMaterialBindingElement);

  public:
    enum Binding {
        OVERALL = 2,
        PER_PART = 3,
        PER_PART_INDEXED = 4,
        PER_FACE = 5,
        PER_FACE_INDEXED = 6,
        PER_VERTEX = 7,
        PER_VERTEX_INDEXED = 8
    };
    void init(SoState* state) override;
    static void set(SoState* state, Binding value) {
        SoInt32Element::set(state, getClassStackIndex(), static_cast<int32_t>(value));
    }
    static Binding get(SoState* state) {
        return static_cast<Binding>(SoInt32Element::get(state, getClassStackIndex()));
    }
    static Binding getDefault() { return static_cast<Binding>(OVERALL); }
};
