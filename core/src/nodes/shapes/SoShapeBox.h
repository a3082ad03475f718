#pragma once

#include <Tessara/fields/SoFields.h>
#include <Tessara/math/SbBox3f.h>

class SoCoordinateElement;

/// Bounding boxes of the coordinates a vertex shape uses. Out-of-range indices are left out
/// (generating primitives reports them), and so are NaN coordinates, which have no place in
/// a box.
class SoShapeBox {
  public:
    static void addPoint(SbBox3f& box, const SbVec3f& point);
    /// Every coordinate an index field refers to (-1 separators and bad indices skipped).
    static void addIndexed(SbBox3f& box, const SoCoordinateElement* coords,
                           const SoMFInt32& indices);
    /// Coordinates first .. first + count - 1.
    static void addRange(SbBox3f& box, const SoCoordinateElement* coords, int first, int count);
    /// The box's centre, or the origin for an empty box.
    static SbVec3f centerOf(const SbBox3f& box);
};
