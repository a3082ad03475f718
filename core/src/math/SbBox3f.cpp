#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbMatrix.h>

#include <algorithm>
#include <cfloat>

void SbBox3f::getBounds(float& xmin, float& ymin, float& zmin, float& xmax, float& ymax,
                        float& zmax) const {
    minPt_.getValue(xmin, ymin, zmin);
    maxPt_.getValue(xmax, ymax, zmax);
}

void SbBox3f::setBounds(float xmin, float ymin, float zmin, float xmax, float ymax, float zmax) {
    minPt_.setValue(xmin, ymin, zmin);
    maxPt_.setValue(xmax, ymax, zmax);
}

void SbBox3f::makeEmpty() {
    minPt_.setValue(FLT_MAX, FLT_MAX, FLT_MAX);
    maxPt_.setValue(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

bool SbBox3f::isEmpty() const {
    return maxPt_[0] < minPt_[0] || maxPt_[1] < minPt_[1] || maxPt_[2] < minPt_[2];
}

bool SbBox3f::hasVolume() const {
    return maxPt_[0] > minPt_[0] && maxPt_[1] > minPt_[1] && maxPt_[2] > minPt_[2];
}

void SbBox3f::extendBy(const SbVec3f& point) {
    for (int i = 0; i < 3; ++i) {
        if (SbMathHelper::isNaN(point[i])) {
            SoDebugError::post("SbBox3f::extendBy", "point has a NaN coordinate, ignored");
            return;
        }
    }
    for (int i = 0; i < 3; ++i) {
        minPt_[i] = std::min(minPt_[i], point[i]);
        maxPt_[i] = std::max(maxPt_[i], point[i]);
    }
}

void SbBox3f::extendBy(const SbBox3f& box) {
    if (box.isEmpty()) return;
    extendBy(box.minPt_);
    extendBy(box.maxPt_);
}

bool SbBox3f::intersect(const SbVec3f& point) const {
    for (int i = 0; i < 3; ++i) {
        if (!(point[i] >= minPt_[i] && point[i] <= maxPt_[i])) return false;
    }
    return true;
}

bool SbBox3f::intersect(const SbBox3f& box) const {
    if (isEmpty() || box.isEmpty()) return false;
    for (int i = 0; i < 3; ++i) {
        if (box.maxPt_[i] < minPt_[i] || box.minPt_[i] > maxPt_[i]) return false;
    }
    return true;
}

SbVec3f SbBox3f::getCenter() const {
    if (isEmpty()) return SbVec3f();
    // Halve before adding so that boxes near +-FLT_MAX do not overflow.
    return minPt_ * 0.5f + maxPt_ * 0.5f;
}

void SbBox3f::getSize(float& x, float& y, float& z) const {
    getSize().getValue(x, y, z);
}

SbVec3f SbBox3f::getSize() const {
    if (isEmpty()) return SbVec3f();
    return maxPt_ - minPt_;
}

void SbBox3f::getSpan(const SbVec3f& direction, float& dMin, float& dMax) const {
    if (isEmpty()) {
        dMin = FLT_MAX;
        dMax = -FLT_MAX;
        return;
    }
    // The extreme corners along direction pick max or min per axis by the sign of direction.
    dMin = dMax = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float a = minPt_[i] * direction[i], b = maxPt_[i] * direction[i];
        dMin += std::min(a, b);
        dMax += std::max(a, b);
    }
}

void SbBox3f::transform(const SbMatrix& m) {
    if (isEmpty()) return;
    const SbBox3f original = *this;
    makeEmpty();
    for (int corner = 0; corner < 8; ++corner) {
        SbVec3f q;
        m.multVecMatrix(original.getCorner(corner), q);
        extendBy(q);
    }
}
