#pragma once

#include <Tessara/elements/SoSubElement.h>

#include <bitset>

class SoNode;

/// Which properties an overriding node has fixed: nodes below it may not change them.
class SoOverrideElement : public SoElement {
    SO_ELEMENT_HEADER(SoOverrideElement);

  public:
    static constexpr int NUM_BITS = 47;
    /// The properties, by bit position.
    enum Bit {
        AMBIENT_COLOR = 0,
        DIFFUSE_COLOR = 1,
        SPECULAR_COLOR = 2,
        EMISSIVE_COLOR = 3,
        SHININESS = 4,
        TRANSPARENCY = 5,
        DRAW_STYLE = 6,
        LINE_WIDTH = 7,
        LINE_PATTERN = 8,
        POINT_SIZE = 9,
        LIGHT_MODEL = 10,
        COMPLEXITY = 11,
        COMPLEXITY_TYPE = 12,
        FONT_NAME = 13,
        FONT_SIZE = 14,
        SHAPE_HINTS = 15,
        MATERIAL_BINDING = 16,
        NORMAL_BINDING = 17,
        POLYGON_OFFSET = 18,
        PATTERN = 19,
        ENVIRONMENT = 20,
        FONT_RENDER_STYLE = 26,
    };

    void init(SoState* state) override;
    /// Sets or clears one bit; a position of NUM_BITS or more throws std::out_of_range.
    static void setOverride(SoState* state, SoNode* node, int bit, bool override);
    static bool isOverridden(SoState* state, int bit);
    static void setFontRenderStyleOverride(SoState* state, SoNode* node, bool override) {
        setOverride(state, node, FONT_RENDER_STYLE, override);
    }
    static bool getFontRenderStyleOverride(SoState* state) {
        return isOverridden(state, FONT_RENDER_STYLE);
    }
    /// True when `node` may set the property: it overrides, or nothing above it did.
    /// Records the override when `node` is an overriding node.
    static bool mayChange(SoState* state, SoNode* node, int bit);

  private:
    std::bitset<NUM_BITS> bits_;
};
