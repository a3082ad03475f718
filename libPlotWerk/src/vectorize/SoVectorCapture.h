#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbVec4f.h>

#include <vector>

#include "SoLitVertexCache.h"

class SoCallbackAction;

/// The buffer in which line segments are chained into one polyline, and points gathered
/// into one set of marks, until the node that generated them is left.
class SoVectorCapture {
  public:
    /// Kind of the primitive being accumulated: 0 nothing, 1 polyline, 2 points.
    /// Process-wide, like the traversal it serves: one apply at a time.
    static int pendingKind;

    int capacity = 10;
    int count = 0;
    /// Always `capacity` entries; the first `count` hold the accumulated primitive.
    std::vector<SbVec4f> points;
    std::vector<SbColor> colors;
    /// For points: each one's number among all the points its node gave, the skipped fully
    /// transparent ones included, so that a marker set's point keeps its own marker.
    std::vector<int> ordinals;
    /// Points the node gave since the last reset.
    int delivered = 0;
    /// Lit vertex colours of the shape being drawn; cleared with every change of transform
    /// and after every node.
    SoLitVertexCache litVertices;

    SoVectorCapture();

    /// Doubles the capacity of the arrays when the buffer is full, keeping their contents.
    void growIfFull();
    /// Forgets the accumulated primitive; the storage stays for the next one.
    void reset() { count = delivered = 0; }

    /// Object to viewing coordinates (model × viewing) in the current state.
    const SbMatrix& toView(SoCallbackAction* cba);
    /// Object to clip coordinates (model × viewing × projection) in the current state.
    const SbMatrix& toClip(SoCallbackAction* cba);

  private:
    /// Recomputes the products only when a matrix of the state changed: every triangle of
    /// a mesh shares them, and two products per triangle would cost more than the compare.
    void refreshTransforms(SoCallbackAction* cba);

    SbMatrix model_;
    SbMatrix viewing_;
    SbMatrix projection_;
    SbMatrix toView_;
    SbMatrix toClip_;
    bool transformsValid_ = false;
};
