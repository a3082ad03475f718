#pragma once

#include <Tessara/math/SbColor.h>
#include <cairo.h>

#include <map>
#include <string>

#include "SoCairoFills.h"
#include "SoCairoMarker.h"

/// One sheet being drawn: the document surface, its context and the fills that wait. User
/// space is millimetres from the sheet's lower-left corner, y up, as the drawing's own.
///
/// What repeats within the sheet (fill patterns, marker bitmaps) is made once: a pattern's
/// image is then held once by the document.
class SoCairoPage {
  public:
    /// Takes a reference to the surface, of a sheet sheetHeight millimetres high.
    SoCairoPage(cairo_surface_t* surface, double sheetHeight, bool nativeMeshes, double seamWidth);
    ~SoCairoPage();
    SoCairoPage(const SoCairoPage&) = delete;
    SoCairoPage& operator=(const SoCairoPage&) = delete;

    cairo_t* context() const { return cr_; }
    SoCairoFills& fills() { return fills_; }

    /// The graphics state, saved and restored in pairs; a restore without a save is ignored,
    /// since cairo would refuse every later drawing.
    void save();
    void restore();

    /// The 32 x 32 fill pattern of `bits` (rows from the bottom, first bit at the left) in
    /// `color`, tiled from the drawing's origin with one bit per point.
    cairo_pattern_t* fillPattern(const unsigned char* bits, const SbColor& color);
    /// A marker bitmap's squares; null for a marker the core does not know.
    const SoCairoMarker* marker(int markerIndex);

    /// Draws what waits and ends the sheet; unless the document continues with another sheet,
    /// also writes the document. What cairo could not do is posted through SoDebugError;
    /// false then.
    bool finish(bool documentContinues = false);
    /// Writes the document of `surface` and lets this reference go; `status`, a failure
    /// before, is reported instead of cairo's.
    static bool finishDocument(cairo_surface_t* surface,
                               cairo_status_t status = CAIRO_STATUS_SUCCESS);

  private:
    static bool report(cairo_status_t status);

    cairo_surface_t* surface_;
    cairo_t* cr_;
    SoCairoFills fills_;
    int saved_ = 0;
    std::map<std::string, cairo_pattern_t*> patterns_;
    std::map<int, SoCairoMarker> markers_;
};
