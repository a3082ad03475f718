#pragma once

#include <Tessara/nodes/SoNode.h>

/// Offsets the depth of the primitives that follow, to keep outlines in front of their faces.
class SoPolygonOffset : public SoNode {
    SO_NODE_HEADER(SoPolygonOffset);

  public:
    enum Style { FILLED = 1, LINES = 2, POINTS = 4 };
    static const SoEnumEntry styleEnums[3];

    SoPolygonOffset();

    SoSFFloat factor{1.0f};
    SoSFFloat units{1.0f};
    SoSFBitMask styles{styleEnums, 3, FILLED};
    SoSFBool on{true};
    void doAction(SoAction* action) override;

  protected:
    ~SoPolygonOffset() override;
};
