#pragma once

#include <cairo.h>

#include "SoGDIDevice.h"
#include "SoGDIDeviceContext.h"

/// StretchDIBits on a cairo page: a 24-bit BI_RGB bitmap, or part of it, stretched onto a
/// rectangle in logical units, mirrored where GDI mirrors it. Other bitmaps are refused with a
/// message through SoDebugError.
class SoGDICairoBitmap {
  public:
    SoGDICairoBitmap() = delete;

    /// Draws `stretch` onto `cr`, whose user space is the device's; false when refused.
    static bool draw(cairo_t* cr, const SoGDIDeviceContext& dc, const SoGDIStretch& stretch);

  private:
    static bool acceptable(const SoGDIStretch& stretch);
    /// The whole bitmap as a cairo image, rows from the top; null when that failed.
    static cairo_surface_t* image(const SoGDIStretch& stretch);
};
