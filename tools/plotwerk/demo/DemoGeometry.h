#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbRotation.h>

#include <string>

/// Face sets for the demo scene, as scene-file text. The library prints primitives in scene
/// order, so each solid lists its faces from the farthest to the nearest as seen after its
/// rotation by a viewer on +z: drawn in that order they cover each other as they should.
class DemoGeometry {
  public:
    /// A sphere of smooth normals, `slices` around and `stacks` from pole to pole.
    static std::string sphere(float radius, int slices, int stacks, const SbRotation& tilt);
    /// A box with flat faces.
    static std::string box(float width, float height, float depth, const SbRotation& tilt);
    /// A ring of radius `ring` around the z axis, its tube of radius `tube`, smooth normals.
    static std::string torus(float ring, float tube, int segments, int sides,
                             const SbRotation& tilt);
    /// A wavy surface over width x depth, one colour per vertex from its height (blue low,
    /// red high), rows from back to front.
    static std::string surface(float width, float depth, float amplitude, int columns, int rows,
                               const SbRotation& tilt);
    /// The colour the surface gives a height between 0 (lowest) and 1 (highest).
    static SbColor heightColor(float level);
    /// "Rotation { rotation x y z angle }" for `tilt`.
    static std::string rotationNode(const SbRotation& tilt);
};
