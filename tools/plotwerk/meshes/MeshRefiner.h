#pragma once

#include <assimp/vector3.h>

#include <memory>

struct aiMesh;

/// Cuts the triangles of a textured mesh into smaller ones. The printer colours vertices, not
/// texels: a box of twelve triangles would show only its texture's mean colours, so its faces
/// are cut until each part spans a few texels, within a bound on the triangles printed.
class MeshRefiner {
  public:
    /// How many parts each edge of the mesh's triangles is cut into: about one per four texels
    /// of the mean edge, in texture `channel` of a texture `width` by `height` texels, and at
    /// most 64. 1 leaves the mesh as it is.
    static unsigned int partsFor(const aiMesh& mesh, unsigned int channel, int width, int height);
    /// The most parts an edge may be cut into when `triangles` triangles are cut: as many as
    /// keep the drawing under two million triangles, at least 1.
    static unsigned int partsWithin(double triangles);
    /// The length, in texels of a texture `width` by `height`, of the edge from texture
    /// coordinates `a` to `b`.
    static double texelLength(const aiVector3D& a, const aiVector3D& b, int width, int height);
    /// The faces of three corners, the ones that are cut.
    static unsigned int countTriangles(const aiMesh& mesh);

    /// A copy of the mesh in which every triangle is cut into parts x parts triangles of the
    /// same orientation, positions, normals, texture coordinates and colours interpolated.
    /// Other faces (points, lines, polygons of more corners) keep their vertices.
    static std::unique_ptr<aiMesh> refined(const aiMesh& mesh, unsigned int parts);
};
