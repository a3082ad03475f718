#include "frame/SoColorByte.h"

int SoColorByte::of(float component) {
    const float scaled = component * 255.0f;
    if (!(scaled > 0.0f)) return 0;  // also NaN
    if (scaled >= 255.0f) return 255;
    return static_cast<int>(scaled);
}
