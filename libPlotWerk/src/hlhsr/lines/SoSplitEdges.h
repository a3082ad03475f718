#pragma once

#include <cstddef>
#include <vector>

#include "SoLineObject.h"

/// Edges of a flat face that its triangulation split on one side only. A tessellator that
/// meets collinear corners (holes in a row on a plate) gives one triangle the edge PQ and
/// the triangles across it PR and RQ, R on the way; a face too narrow to print, which the
/// vectorizer leaves out, leaves the same behind. No two of these edges have the same ends,
/// so each looked like an outline, and a drafting showed lines across the face.
///
/// Lone edges that meet end to end on one line of the page form a run. Where polygons of a
/// run turn by less than the feature angle from one another and lie on both sides of the
/// line, what the edges of one side cover of the other's is left out of the drawing. A run
/// that bends gives nothing: every corner must lie on the line through its ends.
class SoSplitEdges {
  public:
    /// An edge of a polygon that no other polygon has.
    struct LoneEdge {
        SoLineObject* object;
        int edge;
    };
    /// The stretch from..to, in its own parameter, of lone edge number `lone`.
    struct Covered {
        size_t lone;
        double from, to;
    };

    /// The stretches of lone edges that others cover as above; limit is the feature angle's
    /// cosine, tolerance the shortest stretch on the page worth telling.
    static std::vector<Covered> findCovered(const std::vector<LoneEdge>& lone, double limit,
                                            double tolerance);
};
