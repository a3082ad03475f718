#pragma once

#include <Tessara/math/SbVec4f.h>
#include <cairo.h>

/// A polygon added to the current path counter-clockwise, so that the nonzero rule fills the
/// union of several however each was turned, and grown: every edge moved outwards by `grow`.
/// Grown fills overlap their neighbours and close the seams that anti-aliasing leaves
/// between them, at the cost of one fill (an outline stroked in the fill's colour would
/// double what the document holds and what its reader does). A corner moves along its
/// bisector, at most four times `grow`, so that the tip of a sliver stays near its place.
/// Repeated points are skipped; a polygon without area is added as it is. The path is for
/// filling: it is left open.
class SoCairoOutline {
  public:
    static void append(cairo_t* cr, const SbVec4f* points, int n, double grow);
};
