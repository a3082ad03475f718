#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbColor.h>

#include <algorithm>
#include <cmath>

namespace {

uint32_t toByte(float component) {
    const float c = SbMathHelper::clamp(component, 0.0f, 1.0f);  // also turns NaN into 0
    return static_cast<uint32_t>(std::lround(c * 255.0f));
}

float fromByte(uint32_t packed, int shift) {
    return static_cast<float>((packed >> shift) & 0xFFu) / 255.0f;
}

}  // namespace

SbColor& SbColor::setHSVValue(float h, float s, float v) {
    if (!SbMathHelper::isFinite(h)) {
        SoDebugError::post("SbColor::setHSVValue", "hue is not finite, using 0");
        h = 0.0f;
    }
    h -= std::floor(h);
    s = SbMathHelper::clamp(s, 0.0f, 1.0f);
    v = SbMathHelper::clamp(v, 0.0f, 1.0f);
    const float h6 = h * 6.0f;
    // h < 1 but h * 6 may round up to 6: keep the sector index in 0..5.
    const int sector = std::min(static_cast<int>(h6), 5);
    const float f = h6 - static_cast<float>(sector);
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - s * f);
    const float t = v * (1.0f - s * (1.0f - f));
    switch (sector) {
        case 0:
            setValue(v, t, p);
            break;
        case 1:
            setValue(q, v, p);
            break;
        case 2:
            setValue(p, v, t);
            break;
        case 3:
            setValue(p, q, v);
            break;
        case 4:
            setValue(t, p, v);
            break;
        default:
            setValue(v, p, q);
            break;
    }
    return *this;
}

SbColor& SbColor::setHSVValue(const float hsv[3]) {
    if (hsv == nullptr) {
        SoDebugError::post("SbColor::setHSVValue", "null array, colour left unchanged");
        return *this;
    }
    return setHSVValue(hsv[0], hsv[1], hsv[2]);
}

void SbColor::getHSVValue(float& h, float& s, float& v) const {
    const float r = vec_[0], g = vec_[1], b = vec_[2];
    const float maxc = std::max({r, g, b});
    const float delta = maxc - std::min({r, g, b});
    v = maxc;
    s = maxc > 0.0f ? delta / maxc : 0.0f;
    if (!(delta > 0.0f)) {
        h = 0.0f;
        return;
    }
    if (r == maxc) {
        h = (g - b) / delta;
    } else if (g == maxc) {
        h = 2.0f + (b - r) / delta;
    } else {
        h = 4.0f + (r - g) / delta;
    }
    h /= 6.0f;
    if (h < 0.0f) h += 1.0f;
}

void SbColor::getHSVValue(float hsv[3]) const {
    if (hsv == nullptr) {
        SoDebugError::post("SbColor::getHSVValue", "null array");
        return;
    }
    getHSVValue(hsv[0], hsv[1], hsv[2]);
}

SbColor& SbColor::setPackedValue(uint32_t packed, float& transparency) {
    setValue(fromByte(packed, 16), fromByte(packed, 8), fromByte(packed, 0));
    transparency = 1.0f - fromByte(packed, 24);
    return *this;
}

uint32_t SbColor::getPackedValue(float transparency) const {
    const float opacity = 1.0f - SbMathHelper::clamp(transparency, 0.0f, 1.0f);
    return (toByte(opacity) << 24) | (toByte(vec_[0]) << 16) | (toByte(vec_[1]) << 8) |
           toByte(vec_[2]);
}
