#pragma once

#include <Tessara/math/SbVec4f.h>

#include <vector>

class SoGraphicPrimitiveList;
class SoPolygon;

/// Joins the triangles of a flat face of one colour back into convex polygons as they are
/// stored. Meshes bring their flat faces as triangles, and a face with many corners (the
/// end of a cylinder, a fan from one corner of its rim) as thin slivers that all meet at
/// one point: the painter compares every pair of them there, the raster traces each, and a
/// viewer that smooths edges shows a hairline between each two. A polygon joins one of the last few
/// polygons stored when it shares an edge with it, lies in its plane, prints the same, and the two
/// together stay convex and have at most MOST_POINTS corners: the painter's tests take time
/// by the corners, and a few dozen make those slivers few. A few, not only the last: a
/// mesh may bring the triangles of two faces in turn, as the two ends of a cylinder.
class SoFlatFaceJoiner {
  public:
    static constexpr int MOST_POINTS = 32;
    static constexpr int CANDIDATES = 8;

    /// Whether polygon, made but not stored, joined a polygon stored in list not long
    /// before, which then covers both; the caller deletes it. depthOffset: the one it was
    /// made with.
    bool join(SoGraphicPrimitiveList& list, const SoPolygon& polygon, float depthOffset);
    /// polygon was stored last in list, with depthOffset: the next ones may join it.
    void remember(const SoGraphicPrimitiveList& list, SoPolygon* polygon, float depthOffset);
    /// Records may have left the list, or another list begins: nothing joins those before.
    void forget() { count_ = 0; }

  private:
    struct Candidate {
        SoPolygon* polygon;
        int index;
        float depthOffset;
    };
    static bool printsAlike(const SoPolygon& polygon, const SoPolygon& other);
    static bool inPlane(const SoPolygon& polygon, const SoPolygon& other);
    /// The outline of other with polygon's corners put in along their shared edge; empty
    /// where they share none.
    static std::vector<SbVec4f> joinedOutline(const SoPolygon& polygon, const SoPolygon& other);
    bool joinTo(SoGraphicPrimitiveList& list, const SoPolygon& polygon, SoPolygon& other);

    const SoGraphicPrimitiveList* list_ = nullptr;
    /// The polygons last stored, newest at next_ - 1 (round), count_ of them.
    Candidate candidates_[CANDIDATES] = {};
    int next_ = 0, count_ = 0;
};
