#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

/// Turns the triangulation of a plane polygon towards its Delaunay triangulation: where two
/// triangles share an edge and the corner of one lies inside the circle through the other's,
/// the edge is flipped to the other diagonal of their quadrilateral, which covers the same.
///
/// A sweep tessellator fans long, thin triangles out of one corner: on a page they come out
/// narrower than ink, and a line drawing, which leaves such slivers out, then shows the edges
/// beside them. The Delaunay triangulation has the largest smallest angle of all.
class SoDelaunayFlips {
  public:
    /// `corners` are the corners' coordinates in the plane; `triangles` three corner numbers
    /// each, counter-clockwise there, improved in place. Edges of one triangle (the outline)
    /// or of more than two are kept. At most a few flips a triangle, so that the work stays
    /// linear even where points lie on a circle.
    static void improve(const std::vector<std::array<double, 2>>& corners,
                        std::vector<int>& triangles);

  private:
    SoDelaunayFlips(const std::vector<std::array<double, 2>>& corners, std::vector<int>& triangles);
    struct Sides {
        int triangle[2] = {-1, -1};
        int count = 0;
    };
    static std::uint64_t key(int a, int b);
    void addSide(int a, int b, int triangle);
    void replaceSide(int a, int b, int from, int to);
    bool flipIfBetter(int a, int b);
    int opposite(int triangle, int a, int b) const;
    double turnOf(int triangle) const;
    double cross(int a, int b, int c) const;
    bool insideCircle(int a, int b, int c, int d) const;

    const std::vector<std::array<double, 2>>& corners_;
    std::vector<int>& triangles_;
    std::unordered_map<std::uint64_t, Sides> sides_;
    std::vector<std::array<int, 2>> pending_;
};
