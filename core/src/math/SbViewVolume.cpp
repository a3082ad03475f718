#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbViewVolume.h>

#include <cmath>
#include <initializer_list>

namespace {

bool allFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!SbMathHelper::isFinite(v)) return false;
    }
    return true;
}

bool validRatio(const char* where, float ratio) {
    if (ratio > 0.0f && SbMathHelper::isFinite(ratio)) return true;
    SoDebugError::post(where, "ratio %g must be positive, volume unchanged", double(ratio));
    return false;
}

}  // namespace

SbViewVolume::SbViewVolume() = default;

bool SbViewVolume::setWindow(const char* where, float l, float r, float b, float t, float n,
                             float f) {
    if (!allFinite({l, r, b, t, n, f}) || !(l < r) || !(b < t) || !(n < f)) {
        SoDebugError::post(where,
                           "invalid volume (left %g right %g bottom %g top %g near %g far %g), "
                           "volume unchanged",
                           double(l), double(r), double(b), double(t), double(n), double(f));
        return false;
    }
    left_ = l;
    right_ = r;
    bottom_ = b;
    top_ = t;
    nearDist_ = n;
    farDist_ = f;
    orientation_ = SbRotation::identity();
    position_.setValue(0.0f, 0.0f, 0.0f);
    return true;
}

void SbViewVolume::ortho(float l, float r, float b, float t, float n, float f) {
    if (setWindow("SbViewVolume::ortho", l, r, b, t, n, f)) type_ = ORTHOGRAPHIC;
}

void SbViewVolume::frustum(float l, float r, float b, float t, float n, float f) {
    if (!(n > 0.0f)) {
        SoDebugError::post("SbViewVolume::frustum", "near distance %g must be positive", double(n));
        return;
    }
    if (setWindow("SbViewVolume::frustum", l, r, b, t, n, f)) type_ = PERSPECTIVE;
}

void SbViewVolume::perspective(float fovy, float aspect, float n, float f) {
    const double pi = SbMathHelper::PI;
    if (!(fovy > 0.0f && fovy < pi) || !(aspect > 0.0f) || !SbMathHelper::isFinite(aspect)) {
        SoDebugError::post("SbViewVolume::perspective",
                           "field of view %g or aspect %g out of range, volume unchanged",
                           double(fovy), double(aspect));
        return;
    }
    if (!(n > 0.0f)) {
        SoDebugError::post("SbViewVolume::perspective", "near distance %g must be positive",
                           double(n));
        return;
    }
    const float halfH = static_cast<float>(n * std::tan(0.5 * fovy));
    const float halfW = halfH * aspect;
    if (setWindow("SbViewVolume::perspective", -halfW, halfW, -halfH, halfH, n, f)) {
        type_ = PERSPECTIVE;
    }
}

void SbViewVolume::rotateCamera(const SbRotation& q) {
    orientation_ *= q;
}

void SbViewVolume::translateCamera(const SbVec3f& v) {
    position_ += v;
}

void SbViewVolume::getMatrices(SbMatrix& affine, SbMatrix& proj) const {
    SbMatrix rot;
    affine.setTranslate(-position_);
    rot.setRotate(orientation_.inverse());
    affine.multRight(rot);

    // The usual column-vector clip matrices, transposed for row vectors; built in double so
    // that tiny or huge volumes keep their precision.
    const double l = left_, r = right_, b = bottom_, t = top_, n = nearDist_, f = farDist_;
    double m[4][4] = {};
    if (type_ == ORTHOGRAPHIC) {
        m[0][0] = 2.0 / (r - l);
        m[1][1] = 2.0 / (t - b);
        m[2][2] = -2.0 / (f - n);
        m[3][0] = -(r + l) / (r - l);
        m[3][1] = -(t + b) / (t - b);
        m[3][2] = -(f + n) / (f - n);
        m[3][3] = 1.0;
    } else {
        m[0][0] = 2.0 * n / (r - l);
        m[1][1] = 2.0 * n / (t - b);
        m[2][0] = (r + l) / (r - l);
        m[2][1] = (t + b) / (t - b);
        m[2][2] = -(f + n) / (f - n);
        m[2][3] = -1.0;
        m[3][2] = -2.0 * f * n / (f - n);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) proj[i][j] = static_cast<float>(m[i][j]);
}

SbMatrix SbViewVolume::getMatrix() const {
    SbMatrix affine, proj;
    getMatrices(affine, proj);
    return affine * proj;
}

SbMatrix SbViewVolume::getCameraSpaceMatrix() const {
    SbMatrix affine, proj;
    getMatrices(affine, proj);
    return affine;
}

void SbViewVolume::projectToScreen(const SbVec3f& src, SbVec3f& dst) const {
    SbMatrix affine, proj;
    getMatrices(affine, proj);
    // Two steps rather than one combined matrix: the camera-space point is exact enough that
    // points on the near plane land on depth 0 without drift.
    SbVec3f camera, clip;
    affine.multVecMatrix(src, camera);
    proj.multVecMatrix(camera, clip);
    dst.setValue(0.5f * (clip[0] + 1.0f), 0.5f * (clip[1] + 1.0f), 0.5f * (clip[2] + 1.0f));
}

SbVec3f SbViewVolume::toWorld(const SbVec3f& cameraPoint) const {
    SbVec3f rotated;
    orientation_.multVec(cameraPoint, rotated);
    return rotated + position_;
}

void SbViewVolume::projectPointToLine(const SbVec2f& pt, SbVec3f& line0, SbVec3f& line1) const {
    const float x = left_ + pt[0] * (right_ - left_);
    const float y = bottom_ + pt[1] * (top_ - bottom_);
    const SbVec3f nearPt(x, y, -nearDist_);
    // Perspective rays fan out from the eye; orthographic ones run parallel to -z.
    const SbVec3f farPt =
        type_ == PERSPECTIVE ? nearPt * (farDist_ / nearDist_) : SbVec3f(x, y, -farDist_);
    line0 = toWorld(nearPt);
    line1 = toWorld(farPt);
}

void SbViewVolume::projectPointToLine(const SbVec2f& pt, SbLine& line) const {
    SbVec3f p0, p1;
    projectPointToLine(pt, p0, p1);
    line.setValue(p0, p1);
}

SbVec3f SbViewVolume::getProjectionDirection() const {
    SbVec3f dir;
    orientation_.multVec(SbVec3f(0.0f, 0.0f, -1.0f), dir);
    return dir;
}

void SbViewVolume::scaleWidth(float ratio) {
    if (!validRatio("SbViewVolume::scaleWidth", ratio)) return;
    const float center = 0.5f * (left_ + right_), half = 0.5f * (right_ - left_) * ratio;
    left_ = center - half;
    right_ = center + half;
}

void SbViewVolume::scaleHeight(float ratio) {
    if (!validRatio("SbViewVolume::scaleHeight", ratio)) return;
    const float center = 0.5f * (bottom_ + top_), half = 0.5f * (top_ - bottom_) * ratio;
    bottom_ = center - half;
    top_ = center + half;
}

SbViewVolume SbViewVolume::narrow(float l, float b, float r, float t) const {
    SbViewVolume sub(*this);
    if (!allFinite({l, b, r, t}) || !(l < r) || !(b < t)) {
        SoDebugError::post("SbViewVolume::narrow",
                           "invalid sub-window (%g, %g)-(%g, %g), volume unchanged", double(l),
                           double(b), double(r), double(t));
        return sub;
    }
    const float w = getWidth(), h = getHeight();
    sub.left_ = left_ + l * w;
    sub.right_ = left_ + r * w;
    sub.bottom_ = bottom_ + b * h;
    sub.top_ = bottom_ + t * h;
    return sub;
}

SbVec3f SbViewVolume::getSightPoint(float distFromEye) const {
    return position_ + getProjectionDirection() * distFromEye;
}

SbPlane SbViewVolume::getPlane(float distFromEye) const {
    return SbPlane(zVector(), getSightPoint(distFromEye));
}
