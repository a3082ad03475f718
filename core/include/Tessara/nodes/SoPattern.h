#pragma once

#include <Tessara/nodes/SoNode.h>

#include <array>
#include <cstdint>

/// The fill pattern of the filled polygons that follow: 32 rows of 32 bits (row 0 at the bottom,
/// bit 31 leftmost), identified by a category and a name. An empty mask gives a solid fill.
class SoPattern : public SoNode {
    SO_NODE_HEADER(SoPattern);

  public:
    SoPattern();

    SoSFString category;
    SoSFString name;
    SoMFUInt32 mask;
    /// The mask as 128 bytes, four per row, most significant bit leftmost; null when the
    /// mask is empty. Missing rows are clear.
    const unsigned char* getMaskBytes();

    void doAction(SoAction* action) override;

  protected:
    ~SoPattern() override;

  private:
    std::array<unsigned char, 128> maskBytes_{};
    uint64_t maskChangeCount_ = ~uint64_t(0);
};
