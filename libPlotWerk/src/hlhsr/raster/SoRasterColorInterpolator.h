#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>

class SoPrimitiveMultiPoints;

/// The colour a shaded record has at a point of the page, from the colours of its points:
/// what a smooth-shaded piece traced from the raster takes at each of its corners.
class SoRasterColorInterpolator {
  public:
    /// record's colour at p (x, y in the record's own coordinates). Polygons interpolate
    /// over their triangles, segments along their length; a point outside the record (a
    /// traced corner lies up to half a pixel beyond it) takes the colour of the nearest
    /// place on it.
    static SbColor colorAt(const SoPrimitiveMultiPoints& record, const SbVec2f& p);
    /// Whether two colours differ once each component is kept to hundredths.
    static bool differ(const SbColor& a, const SbColor& b);

  private:
    static SbColor onPolygon(const SoPrimitiveMultiPoints& polygon, const SbVec2f& p);
    static SbColor onSegment(const SoPrimitiveMultiPoints& line, const SbVec2f& p);
};
