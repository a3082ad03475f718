#include "SoHPGLEncodedNumber.h"

void SoHPGLEncodedNumber::append(std::string& out, int value) {
    // 2 × |INT_MIN| + 1 needs 33 bits: six base-64 digits hold it.
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    unsigned long long remaining = static_cast<unsigned long long>(magnitude) * 2u;
    if (value < 0) remaining += 1u;
    while (remaining >= 64u) {
        out += static_cast<char>(remaining % 64u + 63u);
        remaining /= 64u;
    }
    out += static_cast<char>(remaining + 191u);
}
