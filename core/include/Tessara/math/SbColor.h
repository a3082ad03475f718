#pragma once

#include <Tessara/math/SbVec3f.h>

#include <cstdint>

/// An RGB colour with float components in 0..1, convertible to HSV and to packed 32-bit values.
class SbColor : public SbVec3f {
  public:
    /// Black.
    SbColor() = default;
    SbColor(float r, float g, float b) : SbVec3f(r, g, b) {}
    explicit SbColor(const float rgb[3]) : SbVec3f(rgb) {}
    SbColor(const SbVec3f& rgb) : SbVec3f(rgb) {}

    /// Sets the colour from hue, saturation and value, all in 0..1. The hue wraps around (1 is
    /// red again); saturation and value are clamped.
    SbColor& setHSVValue(float h, float s, float v);
    SbColor& setHSVValue(const float hsv[3]);
    /// Hue, saturation and value in 0..1; grey levels report hue 0 and saturation 0.
    void getHSVValue(float& h, float& s, float& v) const;
    void getHSVValue(float hsv[3]) const;

    /// Reads a packed 0xAARRGGBB value (alpha in the top byte, so `packed & 0xFFFFFF` is the plain
    /// 0xRRGGBB colour). The alpha byte comes back as transparency = 1 - AA / 255.
    SbColor& setPackedValue(uint32_t packed, float& transparency);
    /// Packs to 0xAARRGGBB: alpha in the top byte, so `& 0xFFFFFF` leaves 0xRRGGBB. Each byte is
    /// the component clamped to 0..1, times 255, rounded to nearest (halves away from zero, so
    /// 0.5 gives 0x80); AA is (1 - transparency) treated the same way. A NaN component packs as
    /// 0 and a NaN transparency counts as 0 (opaque).
    uint32_t getPackedValue(float transparency = 0.0f) const;
};
