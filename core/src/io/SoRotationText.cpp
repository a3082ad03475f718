#include "io/SoRotationText.h"

#include <Tessara/base/SbNumberFormat.h>

#include <algorithm>
#include <cmath>

#include "io/SoNumberText.h"

namespace {

using Quat = double[4];

bool sameFloats(const float* a, const float* b) {
    for (int i = 0; i < 4; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

bool roundsTo(const Quat u, const float v[4]) {
    for (int i = 0; i < 4; ++i)
        if (static_cast<float>(u[i]) != v[i]) return false;
    return true;
}

// Unit quaternions that round to v: the radial projection of v, or, when the sphere meets
// the rounding box of v elsewhere, v moved along the box diagonal to unit length.
int unitCandidates(const float v[4], Quat out[2]) {
    double squares = 0, outward = 0, box = 0;
    double half[4];
    for (int i = 0; i < 4; ++i) {
        const float magnitude = std::fabs(v[i]);
        const float up = std::nextafter(magnitude, 2.0f) - magnitude;
        const float down = magnitude > 0 ? magnitude - std::nextafter(magnitude, 0.0f) : up;
        half[i] = 0.5 * std::min(up, down);
        squares += double(v[i]) * v[i];
        outward += half[i] * std::fabs(double(v[i]));
        box += half[i] * half[i];
    }
    int count = 0;
    for (int i = 0; i < 4; ++i) out[count][i] = v[i] / std::sqrt(squares);
    if (roundsTo(out[count], v)) ++count;
    // |v + t h sign(v)|^2 = 1: the root of the quadratic nearest zero.
    const double c = squares - 1;
    const double t = -2 * c / (2 * outward + std::sqrt(4 * outward * outward - 4 * box * c));
    if (std::fabs(t) < 0.99) {
        for (int i = 0; i < 4; ++i) out[count][i] = v[i] + t * half[i] * (v[i] < 0 ? -1 : 1);
        if (roundsTo(out[count], v)) ++count;
    }
    return count;
}

// The text of unit quaternion u with the fewest digits that reads back to `target`.
bool textOf(const Quat u, const SbRotation& target, std::string& result) {
    const double sine = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    if (!(sine > 0)) {
        result = "0 0 1 0";
        const Quat none = {0, 0, 1, 0};
        return SoRotationText::fromAxisAngle(none) == target;
    }
    // "+ 0.0" turns -0 into 0: both give the same rotation, and "-0" only puzzles readers.
    const double axisAngle[4] = {u[0] / sine + 0.0, u[1] / sine + 0.0, u[2] / sine + 0.0,
                                 2 * std::atan2(sine, u[3])};
    std::string text[4];
    for (int precision = 8; precision <= 17; ++precision) {
        double readBack[4];
        for (int i = 0; i < 4; ++i) {
            // Float-length text first: it is what a person would write.
            text[i].clear();
            if (precision == 8)
                SbNumberFormat::appendShortest(text[i], static_cast<float>(axisAngle[i]));
            else
                SbNumberFormat::appendSignificant(text[i], axisAngle[i], precision);
            SoNumberText::parseDouble(text[i], readBack[i]);
        }
        if (SoRotationText::fromAxisAngle(readBack) == target) {
            result = text[0] + ' ' + text[1] + ' ' + text[2] + ' ' + text[3];
            return true;
        }
    }
    result = text[0] + ' ' + text[1] + ' ' + text[2] + ' ' + text[3];
    return false;
}

}  // namespace

SbRotation SoRotationText::fromAxisAngle(const double axisAngle[4]) {
    const double x = axisAngle[0], y = axisAngle[1], z = axisAngle[2], angle = axisAngle[3];
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0) || !std::isfinite(length)) return SbRotation();
    const double s = std::sin(angle / 2) / length;
    return SbRotation(static_cast<float>(x * s), static_cast<float>(y * s),
                      static_cast<float>(z * s), static_cast<float>(std::cos(angle / 2)));
}

std::string SoRotationText::toAxisAngle(const SbRotation& rotation) {
    // Text gives a unit quaternion, SbRotation rounds it to floats and normalises again; so
    // look for a float neighbour v of the rotation that normalises onto it and for a unit
    // quaternion that rounds to v, and write that one.
    const float* t = rotation.getValue();
    std::string text;
    for (int code = 0; code < 81; ++code) {
        float v[4];
        int rest = code;
        for (int i = 0; i < 4; ++i, rest /= 3) {
            const int step = rest % 3;  // 0: as is, 1: one float down, 2: one float up
            v[i] = step == 0 ? t[i] : std::nextafter(t[i], step == 1 ? -2.0f : 2.0f);
        }
        if (!sameFloats(SbRotation(v[0], v[1], v[2], v[3]).getValue(), t)) continue;
        Quat units[2];
        const int count = unitCandidates(v, units);
        for (int i = 0; i < count; ++i)
            if (textOf(units[i], rotation, text)) return text;
    }
    // No text reaches this quaternion exactly: write the closest.
    const Quat q = {t[0], t[1], t[2], t[3]};
    textOf(q, rotation, text);
    return text;
}
