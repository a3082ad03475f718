#pragma once

#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/misc/SoPrimitiveVertex.h>

#include <vector>

#include "nodes/SoPrimitiveAssembler.h"
#include "nodes/shapes/SoShapeProblems.h"
#include "nodes/shapes/SoVertexData.h"

class SoAction;
class SoShape;

/// One vertex of a face or polyline as the shape's fields describe it.
struct SoCorner {
    int coord;      // coordinate index
    int position;   // place in the shape's index fields (explicit per-vertex bindings)
    int vertex;     // running vertex number (PER_VERTEX bindings)
    int generated;  // index of its generated smooth normal
};

/// Turns the faces and polylines of a vertex shape into triangles and segments: resolves each
/// corner's point, material and normal, fills one reusable detail, and delivers the primitives.
/// A face or line with an index out of range is skipped and reported.
class SoFaceEmitter {
  public:
    /// `noun` names the unit in reports ("face", "strip", "line").
    SoFaceEmitter(SoShape* shape, SoAction* action, const SoVertexData& data,
                  SoShapeProblems& problems, const char* noun);

    /// Face `face` of part `part`, as triangles in the corners' order (a fan from the first
    /// corner when convex, tessellated otherwise).
    void polygon(int part, int face, const SoCorner* corners, int n);
    /// Polyline `line` as segments; `segment` numbers them across the shape and is advanced.
    void polyline(int line, const SoCorner* corners, int n, int& segment);

  private:
    bool resolve(int part, int face, const SoCorner& corner, SoPrimitiveVertex& vertex,
                 SoPointDetail& point);
    bool resolveNormal(int part, int face, const SoCorner& corner, SbVec3f& normal, int& index);

    SoShape* shape_;
    SoAction* action_;
    const SoVertexData& data_;
    SoShapeProblems& problems_;
    const char* noun_;
    std::vector<SoPrimitiveVertex> vertices_;  // grown to the largest face, then reused
    std::vector<SoPointDetail> points_;
    SoFaceDetail faceDetail_;
    SoLineDetail lineDetail_;
    SoPrimitiveAssembler segments_;
};
