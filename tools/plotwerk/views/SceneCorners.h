#pragma once

#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbViewportRegion.h>

#include <vector>

class SoNode;

/// Points that bound what a camera sees of a scene's shapes: the corners of each shape's box,
/// turned and placed with it, or of a mesh's outline (see SceneCorners.cpp). A camera framed
/// on them sees the shapes themselves: the box of the whole scene on the world's axes holds a
/// turned model loosely, and the drawing showed it small.
class SceneCorners {
  public:
    /// In the axes of a camera turned by `orientation`: x right, y up, z towards the viewer,
    /// measured from the world's origin. Past a few thousand shapes, the later ones add the
    /// corners of one box around them all, so that memory stays bounded.
    static std::vector<SbVec3f> seenFrom(SoNode* scene, const SbViewportRegion& region,
                                         const SbRotation& orientation);
};
