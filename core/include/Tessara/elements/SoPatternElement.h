#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/elements/SoSubElement.h>

class SoNode;

/// The fill pattern of filled polygons: a 32 × 32 bit mask (128 bytes, row 0 at the bottom,
/// four bytes a row, most significant bit leftmost) identified by two names; no mask is a
/// solid fill. The mask belongs to the node that set it and lives as long as that node.
class SoPatternElement : public SoElement {
    SO_ELEMENT_HEADER(SoPatternElement);

  public:
    static constexpr int MASK_BYTES = 128;

    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbString& category, const SbString& name,
                    const unsigned char* mask);
    /// The two names and the mask (null for a solid fill).
    static void get(SoState* state, SbString& category, SbString& name, const unsigned char*& mask);

  private:
    SbString category_;
    SbString name_;
    const unsigned char* mask_ = nullptr;
};
