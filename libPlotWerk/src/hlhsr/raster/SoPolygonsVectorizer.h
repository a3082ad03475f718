#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>

#include "SoImageVectorizer.h"

/// Outlines each region of one identifier as an SoPolygon (drawStyle 0, depth 0) whose
/// sourceId is the identifier. Only the outer outline of a region is made (its holes are the
/// regions inside it, traced on their own), and identifier 0, the background, gives nothing.
/// A region is 8-connected: pixels touching at a corner belong to one outline.
///
/// Outlines follow pixel edges, so their points are pixel corners at half-integers; in tile
/// coordinates (y up) they run clockwise, as SoPolygon keeps every polygon. They are
/// simplified: corners within the tolerance of the line between two retained ones are
/// dropped, and so are the corners of stretches too short to look at (one or two corners).
/// Corners where the neighbour across the outline changes always stay, and so do the
/// tile's own corners (an outline meets the next tiles' only along the sides); the stretch of
/// boundary between two regions is simplified the same way for both, so neighbouring
/// polygons share their edge points exactly and leave no gap. A region of a pixel or two
/// keeps fewer than three points: such a record outlines nothing fillable.
class SoPolygonsVectorizer : public SoImageVectorizer {
  public:
    explicit SoPolygonsVectorizer(double tolerance);
    void vectorize(const unsigned char* tile, int w, int h) override;

  private:
    /// One step of a contour: a pixel of the region and the side (0 up, 1 right, 2 down,
    /// 3 left in the bordered image) whose edge separates it from something else.
    struct Step {
        int x;
        int y;
        int side;
        /// The identifier across the edge changes after this step's corner.
        bool fixed;
    };
    /// A part of the contour still to simplify: the points strictly between from and to,
    /// walked with step +1 or -1.
    struct Stretch {
        int from;
        int to;
        int step;
    };
    struct Corner {
        double x;
        double y;
    };

    void markBoundaries();
    /// Walks the contour through the marked cell `start`, clearing the marks of the cells it
    /// visits; keeps the steps in contour_ only when `keep`.
    void follow(std::ptrdiff_t start, bool keep);
    /// Chooses the retained corners of contour_ and appends the polygon of identifier id.
    void emitOutline(std::uint32_t id);
    void simplify(Stretch first);

    std::vector<Step> contour_;
    std::vector<Corner> corners_;
    std::vector<unsigned char> retained_;
    std::vector<Stretch> pending_;
    std::vector<SbVec4f> points_;
    std::vector<SbColor> colors_;
};
