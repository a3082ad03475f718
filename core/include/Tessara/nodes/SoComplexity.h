#pragma once

#include <Tessara/nodes/SoNode.h>

/// How finely the curved shapes that follow are tessellated.
class SoComplexity : public SoNode {
    SO_NODE_HEADER(SoComplexity);

  public:
    enum Type { OBJECT_SPACE = 0, SCREEN_SPACE = 1, BOUNDING_BOX = 2 };
    static const SoEnumEntry typeEnums[3];

    SoComplexity();

    SoSFEnum type{typeEnums, 3, OBJECT_SPACE};
    SoSFFloat value{0.5f};
    void doAction(SoAction* action) override;

  protected:
    ~SoComplexity() override;
};
