#pragma once

#include <array>
#include <utility>
#include <vector>

/// Where a large polygon is cut into pieces that the tessellator takes one at a time: lines
/// across an axis (SoBandLines) or rays from a point in its middle (SoSectorRays). Borders are
/// numbered in order; piece k lies between border k - 1 and border k, and the pieces beside
/// border k are k and k + 1, counted round for rays, whose last piece is also their first.
class SoPolygonBorders {
  public:
    /// A corner of the polygon, or one made on a border where the edge from corner `from` to
    /// corner `to` crosses it, or one a border needs: (1 - t) of the one and t of the other.
    struct Corner {
        std::array<double, 3> point;
        int from = -1, to = -1;
        double t = 0.0;
    };
    using Contour = std::vector<int>;
    struct Crossing {
        int border;
        Corner corner;
    };

    virtual ~SoPolygonBorders() = default;
    /// 0 when no border suits the polygon.
    virtual int getPieceCount() const = 0;
    /// The piece a corner of the polygon lies in; no corner lies on a border.
    virtual int pieceOf(int corner) const = 0;
    /// The borders an edge crosses strictly between its ends, in the order from `from` to
    /// `to`; an edge walked either way meets a border at the same point.
    virtual void cross(int from, int to, std::vector<Crossing>& crossings) const = 0;
    /// The corner where the borders meet, or -1 where they never do.
    virtual int getMeetingCorner() const { return -1; }
    std::pair<int, int> piecesBeside(int border) const {
        return {border, (border + 1) % getPieceCount()};
    }

  protected:
    /// Borders that part sorted values into `count` runs of about equal length, each in the
    /// widest gap between two values within a quarter run of where the run would end: a
    /// corner close to a border makes a sliver of a triangle there, which a line drawing
    /// leaves out and a fill draws as a hairline. No border lies on a value.
    static std::vector<double> placeBetween(const std::vector<double>& sortedValues, int count);
};
