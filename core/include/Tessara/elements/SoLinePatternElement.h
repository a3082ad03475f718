#pragma once

#include <Tessara/elements/SoSubElement.h>

class SoNode;

/// The dash pattern of lines: 16 bits, bit 0 first, each bit stretched by the scale factor.
class SoLinePatternElement : public SoElement {
    SO_ELEMENT_HEADER(SoLinePatternElement);

  public:
    static constexpr unsigned short CONTINUOUS = 0xFFFF;

    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, unsigned short pattern, int scaleFactor = 1);
    static unsigned short get(SoState* state);
    static int getScaleFactor(SoState* state);

  private:
    unsigned short pattern_ = CONTINUOUS;
    int scaleFactor_ = 1;
};
