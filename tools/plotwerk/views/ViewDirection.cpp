#include "views/ViewDirection.h"

#include <Tessara/math/SbMatrix.h>

#include <algorithm>
#include <cmath>

#include "options/OptionValue.h"

namespace {

struct NamedSide {
    const char* name;
    SbVec3f towardsEye;  ///< with y up
};

const NamedSide kSides[] = {
    {"front", {0, 0, 1}}, {"back", {0, 0, -1}},   {"right", {1, 0, 0}}, {"left", {-1, 0, 0}},
    {"top", {0, 1, 0}},   {"bottom", {0, -1, 0}}, {"iso", {1, 1, 1}},
};

const NamedSide* sideNamed(const std::string& text) {
    for (const NamedSide& side : kSides)
        if (text == side.name) return &side;
    return nullptr;
}

// A direction of a model standing on y, for the model as it stands: on z, a quarter turn
// about x takes y to z and the front, +z, to -y.
SbVec3f standing(const SbVec3f& v, bool zUp) {
    return zUp ? SbVec3f(v[0], -v[2], v[1]) : v;
}

// "X,Y,Z" with finite numbers, not all zero.
SbVec3f direction(const std::string& option, const std::string& text) {
    SbVec3f value;
    size_t start = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const size_t comma = text.find(',', start);
        if ((axis < 2) != (comma != std::string::npos))
            OptionValue::fail(option, text, "expected a side's name or X,Y,Z");
        value[axis] = OptionValue::number(option, text.substr(start, comma - start));
        start = comma + 1;
    }
    // Only the direction counts: scaled to its largest component, a direction of huge or tiny
    // numbers keeps a length that squaring them would lose.
    const float largest = std::max({std::fabs(value[0]), std::fabs(value[1]), std::fabs(value[2])});
    if (!(largest > 0.0f)) OptionValue::fail(option, text, "the direction has no length");
    return value / largest;
}

}  // namespace

bool ViewDirection::isNamed(const std::string& text) {
    return sideNamed(text) != nullptr;
}

void ViewDirection::choose(const std::string& option, const std::string& text) {
    chosen_ = true;
    if (const NamedSide* side = sideNamed(text)) {
        side_ = side->towardsEye;
        named_ = true;
        return;
    }
    if (text.find(',') == std::string::npos)
        OptionValue::fail(option, text,
                          "expected front, back, left, right, top, bottom, iso or X,Y,Z");
    side_ = direction(option, text);
    named_ = false;
}

void ViewDirection::chooseUpAxis(const std::string& option, const std::string& text) {
    if (text != "y" && text != "z") OptionValue::fail(option, text, "expected y or z");
    chosen_ = true;
    zUp_ = text == "z";
}

bool ViewDirection::principal() const {
    const int axes = (side_[0] != 0.0f) + (side_[1] != 0.0f) + (side_[2] != 0.0f);
    return named_ && axes == 1;
}

SbRotation ViewDirection::cameraOrientation() const {
    SbVec3f back = named_ ? standing(side_, zUp_) : side_;
    back.normalize();
    const SbVec3f up = standing(SbVec3f(0, 1, 0), zUp_);
    SbVec3f upOnDrawing = up - back * up.dot(back);
    if (upOnDrawing.length() < 1e-4f) {
        const SbVec3f front = standing(SbVec3f(0, 0, 1), zUp_);
        upOnDrawing = back.dot(up) > 0.0f ? -front : front;
    }
    upOnDrawing.normalize();
    const SbVec3f right = upOnDrawing.cross(back);
    // The rows are where the camera's own x, y and z axes go.
    return SbRotation(SbMatrix(right[0], right[1], right[2], 0, upOnDrawing[0], upOnDrawing[1],
                               upOnDrawing[2], 0, back[0], back[1], back[2], 0, 0, 0, 0, 1));
}
