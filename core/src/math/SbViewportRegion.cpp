#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbViewportRegion.h>

#include <cmath>

namespace {

short toPixels(float normalised, short window) {
    const double px = std::round(double(normalised) * window);
    // Keep within short range even for wild normalised values.
    return static_cast<short>(SbMathHelper::clamp(px, -32768.0, 32767.0));
}

bool validRatio(const char* where, float ratio) {
    if (ratio > 0.0f && SbMathHelper::isFinite(ratio)) return true;
    SoDebugError::post(where, "ratio %g must be positive, viewport unchanged", double(ratio));
    return false;
}

}  // namespace

SbViewportRegion::SbViewportRegion(short width, short height, float ppi) {
    setWindowSize(width, height);
    setPixelsPerInch(ppi);
}

SbViewportRegion::SbViewportRegion(const SbVec2s& winSize, float ppi) {
    setWindowSize(winSize);
    setPixelsPerInch(ppi);
}

void SbViewportRegion::setWindowSize(const SbVec2s& winSize) {
    if (winSize[0] <= 0 || winSize[1] <= 0) {
        SoDebugError::post("SbViewportRegion::setWindowSize", "window size %d x %d is invalid",
                           int(winSize[0]), int(winSize[1]));
        return;
    }
    windowSize_ = winSize;
}

void SbViewportRegion::setViewport(const SbVec2f& origin, const SbVec2f& size) {
    const bool finite = SbMathHelper::isFinite(origin[0]) && SbMathHelper::isFinite(origin[1]) &&
                        SbMathHelper::isFinite(size[0]) && SbMathHelper::isFinite(size[1]);
    if (!finite || !(size[0] > 0.0f) || !(size[1] > 0.0f)) {
        SoDebugError::post("SbViewportRegion::setViewport",
                           "viewport (%g, %g) size (%g, %g) is invalid", double(origin[0]),
                           double(origin[1]), double(size[0]), double(size[1]));
        return;
    }
    vpOrigin_ = origin;
    vpSize_ = size;
}

void SbViewportRegion::setViewport(float left, float bottom, float width, float height) {
    setViewport(SbVec2f(left, bottom), SbVec2f(width, height));
}

void SbViewportRegion::setViewportPixels(const SbVec2s& origin, const SbVec2s& size) {
    const float w = windowSize_[0], h = windowSize_[1];
    setViewport(SbVec2f(origin[0] / w, origin[1] / h), SbVec2f(size[0] / w, size[1] / h));
}

void SbViewportRegion::setViewportPixels(short left, short bottom, short width, short height) {
    setViewportPixels(SbVec2s(left, bottom), SbVec2s(width, height));
}

SbVec2s SbViewportRegion::getViewportOriginPixels() const {
    return SbVec2s(toPixels(vpOrigin_[0], windowSize_[0]), toPixels(vpOrigin_[1], windowSize_[1]));
}

SbVec2s SbViewportRegion::getViewportSizePixels() const {
    return SbVec2s(toPixels(vpSize_[0], windowSize_[0]), toPixels(vpSize_[1], windowSize_[1]));
}

float SbViewportRegion::getViewportAspectRatio() const {
    const SbVec2s px = getViewportSizePixels();
    return px[1] > 0 ? float(px[0]) / float(px[1]) : 1.0f;
}

void SbViewportRegion::setPixelsPerInch(float ppi) {
    if (!(ppi > 0.0f) || !SbMathHelper::isFinite(ppi)) {
        SoDebugError::post("SbViewportRegion::setPixelsPerInch", "%g is invalid", double(ppi));
        return;
    }
    pixelsPerInch_ = ppi;
}

void SbViewportRegion::scaleWidth(float ratio) {
    if (!validRatio("SbViewportRegion::scaleWidth", ratio)) return;
    const float center = vpOrigin_[0] + 0.5f * vpSize_[0];
    vpSize_[0] *= ratio;
    vpOrigin_[0] = center - 0.5f * vpSize_[0];
}

void SbViewportRegion::scaleHeight(float ratio) {
    if (!validRatio("SbViewportRegion::scaleHeight", ratio)) return;
    const float center = vpOrigin_[1] + 0.5f * vpSize_[1];
    vpSize_[1] *= ratio;
    vpOrigin_[1] = center - 0.5f * vpSize_[1];
}

bool operator==(const SbViewportRegion& a, const SbViewportRegion& b) {
    return a.windowSize_ == b.windowSize_ && a.vpOrigin_ == b.vpOrigin_ && a.vpSize_ == b.vpSize_ &&
           a.pixelsPerInch_ == b.pixelsPerInch_;
}
