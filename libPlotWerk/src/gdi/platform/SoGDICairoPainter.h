#pragma once

#include <PlotWerk/SoGDIPlatform.h>
#include <cairo.h>

#include <string>

#include "SoGDIDevice.h"
#include "SoGDIDeviceContext.h"

/// Draws one GDI call onto a cairo page with GDI's meaning, reading the pen, brush, font,
/// colours and clip from the device context. The cairo context's user space must be the
/// device's: dots from the top-left corner of the drawable area, y down.
///
/// A painter lives for one call: it saves the cairo state and applies the context's clip when
/// made, and restores the state when it goes, so nothing leaks from one call into the next.
class SoGDICairoPainter {
  public:
    SoGDICairoPainter(cairo_t* cr, const SoGDIDeviceContext& dc);
    ~SoGDICairoPainter();
    SoGDICairoPainter(const SoGDICairoPainter&) = delete;
    SoGDICairoPainter& operator=(const SoGDICairoPainter&) = delete;

    void polyline(const POINT* points, int count);
    /// Filled with the brush (alternate rule), outlined with the pen.
    void polygon(const POINT* points, int count);
    void line(POINT from, POINT to);
    void rectangle(const RECT& box);
    /// UTF-8 text at the logical reference point (x, y).
    void text(int x, int y, const std::string& utf8);
    void stretchDIBits(const SoGDIStretch& stretch);

    static void setColor(cairo_t* cr, COLORREF color);

  private:
    void addPath(const POINT* points, int count, bool closed);
    /// False when the pen draws nothing.
    bool usePen();
    /// False when the brush fills nothing.
    bool useBrush();
    void fillAndStroke();

    cairo_t* cr_;
    const SoGDIDeviceContext& dc_;
};
