#pragma once

#include "SoPolygonBorders.h"

/// Cuts the contours of a polygon into pieces between borders, each piece a polygon of its
/// own that covers, inside the piece, exactly what the whole polygon covers under either
/// winding rule.
///
/// A piece's contours are those of the polygon with every corner outside the piece left out,
/// after each edge has been given a corner where it crosses a border: what a contour does
/// outside a piece then collapses onto the piece's borders, which changes no winding number
/// inside the piece. Where a contour leaves a sector over one ray and comes back over the
/// other, it collapses onto both, through the corner where they meet. A crossing belongs to
/// both pieces beside its border.
class SoPolygonPieces {
  public:
    using Corner = SoPolygonBorders::Corner;
    using Contour = SoPolygonBorders::Contour;

    /// `contours` number corners of `corners`, to which the crossings are added. Returns the
    /// contours of each piece; none when the borders make fewer than two pieces.
    static std::vector<std::vector<Contour>> cut(std::vector<Corner>& corners,
                                                 const std::vector<Contour>& contours,
                                                 const SoPolygonBorders& borders);

  private:
    SoPolygonPieces(std::vector<Corner>& corners, const SoPolygonBorders& borders);
    void cutContour(const Contour& contour);
    void addCrossings(int from, int to);
    void append(int piece, int corner);
    /// Whether the contour went round the borders' meeting corner from a to b, two corners
    /// of one piece.
    bool goesRound(int a, int b) const;
    void closeContours();

    std::vector<Corner>& corners_;
    const SoPolygonBorders& borders_;
    /// Per corner made on a border, from the first made: that border.
    std::size_t firstMade_;
    std::vector<int> borderOf_;
    std::vector<SoPolygonBorders::Crossing> crossings_;
    std::vector<std::vector<Contour>> pieces_;
    int previous_ = -1;  // the corner the contour walked last
    // The pieces the contour being cut has reached so far.
    std::vector<int> touched_;
    std::vector<char> isTouched_;
};
