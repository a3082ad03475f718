#pragma once

#include <Tessara/nodes/SoNode.h>

/// How the current normals are bound to the shapes that follow.
class SoNormalBinding : public SoNode {
    SO_NODE_HEADER(SoNormalBinding);

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
    static const SoEnumEntry bindingEnums[7];

    SoNormalBinding();

    SoSFEnum value{bindingEnums, 7, PER_VERTEX_INDEXED};
    void doAction(SoAction* action) override;

  protected:
    ~SoNormalBinding() override;
};
