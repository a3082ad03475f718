#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbBox2f.h>

#include <algorithm>
#include <cfloat>

void SbBox2f::getBounds(float& xmin, float& ymin, float& xmax, float& ymax) const {
    minPt_.getValue(xmin, ymin);
    maxPt_.getValue(xmax, ymax);
}

void SbBox2f::setBounds(float xmin, float ymin, float xmax, float ymax) {
    minPt_.setValue(xmin, ymin);
    maxPt_.setValue(xmax, ymax);
}

void SbBox2f::makeEmpty() {
    minPt_.setValue(FLT_MAX, FLT_MAX);
    maxPt_.setValue(-FLT_MAX, -FLT_MAX);
}

bool SbBox2f::isEmpty() const {
    return maxPt_[0] < minPt_[0] || maxPt_[1] < minPt_[1];
}

bool SbBox2f::hasArea() const {
    return maxPt_[0] > minPt_[0] && maxPt_[1] > minPt_[1];
}

void SbBox2f::extendBy(const SbVec2f& point) {
    if (SbMathHelper::isNaN(point[0]) || SbMathHelper::isNaN(point[1])) {
        SoDebugError::post("SbBox2f::extendBy", "point has a NaN coordinate, ignored");
        return;
    }
    for (int i = 0; i < 2; ++i) {
        minPt_[i] = std::min(minPt_[i], point[i]);
        maxPt_[i] = std::max(maxPt_[i], point[i]);
    }
}

void SbBox2f::extendBy(const SbBox2f& box) {
    if (box.isEmpty()) return;
    extendBy(box.minPt_);
    extendBy(box.maxPt_);
}

bool SbBox2f::intersect(const SbVec2f& point) const {
    for (int i = 0; i < 2; ++i) {
        if (!(point[i] >= minPt_[i] && point[i] <= maxPt_[i])) return false;
    }
    return true;
}

bool SbBox2f::intersect(const SbBox2f& box) const {
    if (isEmpty() || box.isEmpty()) return false;
    for (int i = 0; i < 2; ++i) {
        if (box.maxPt_[i] < minPt_[i] || box.minPt_[i] > maxPt_[i]) return false;
    }
    return true;
}

SbVec2f SbBox2f::getCenter() const {
    if (isEmpty()) return SbVec2f();
    // Halve before adding so that boxes near +-FLT_MAX do not overflow.
    return minPt_ * 0.5f + maxPt_ * 0.5f;
}

void SbBox2f::getSize(float& x, float& y) const {
    getSize().getValue(x, y);
}

SbVec2f SbBox2f::getSize() const {
    if (isEmpty()) return SbVec2f();
    return maxPt_ - minPt_;
}

float SbBox2f::getAspectRatio() const {
    const SbVec2f size = getSize();
    return size[1] > 0.0f ? size[0] / size[1] : 0.0f;
}
