#pragma once

#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2s.h>

/// The part of a window a scene is drawn into.
///
/// The viewport is kept in normalised window coordinates (0..1, origin at lower left); its
/// pixel values are derived as round(normalised x window size), so resizing the window keeps
/// the viewport covering the same fraction of it.
class SbViewportRegion {
  public:
    /// A 100 x 100 pixel window, fully used, at 72 pixels per inch.
    SbViewportRegion() = default;
    SbViewportRegion(short width, short height, float ppi = 72.0f);
    explicit SbViewportRegion(const SbVec2s& winSize, float ppi = 72.0f);

    /// Sizes must be positive; otherwise reported and left unchanged. The normalised viewport
    /// is kept, so its pixel values follow the new size.
    void setWindowSize(const SbVec2s& winSize);
    void setWindowSize(short width, short height) { setWindowSize(SbVec2s(width, height)); }
    /// Normalised origin and size; the size must be positive, otherwise reported and unchanged.
    void setViewport(const SbVec2f& origin, const SbVec2f& size);
    void setViewport(float left, float bottom, float width, float height);
    /// Origin and size in pixels, stored as fractions of the current window.
    void setViewportPixels(const SbVec2s& origin, const SbVec2s& size);
    void setViewportPixels(short left, short bottom, short width, short height);

    const SbVec2s& getWindowSize() const { return windowSize_; }
    const SbVec2f& getViewportOrigin() const { return vpOrigin_; }
    const SbVec2f& getViewportSize() const { return vpSize_; }
    SbVec2s getViewportOriginPixels() const;
    SbVec2s getViewportSizePixels() const;
    /// Viewport width over height in pixels; 1 when the viewport is less than a pixel high.
    float getViewportAspectRatio() const;

    /// A non-positive or non-finite value is reported and ignored.
    void setPixelsPerInch(float ppi);
    float getPixelsPerInch() const { return pixelsPerInch_; }
    /// Pixels per typographic point (1/72 inch): how line widths in points become pixels.
    float getPixelsPerPoint() const { return pixelsPerInch_ / 72.0f; }

    /// Scales the viewport width (or height) about its centre; the ratio must be positive.
    void scaleWidth(float ratio);
    void scaleHeight(float ratio);

    friend bool operator==(const SbViewportRegion& a, const SbViewportRegion& b);
    friend bool operator!=(const SbViewportRegion& a, const SbViewportRegion& b) {
        return !(a == b);
    }

  private:
    SbVec2s windowSize_{100, 100};
    SbVec2f vpOrigin_{0.0f, 0.0f};
    SbVec2f vpSize_{1.0f, 1.0f};
    float pixelsPerInch_ = 72.0f;
};
