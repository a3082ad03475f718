#pragma once

// Small mesh files for the importer path: a unit square in the z = 0 plane facing +z, so the
// camera the command adds looks straight at it and its headlight lights it fully.

namespace test_meshes {

inline const char* const kObjSquare =
    "mtllib square.mtl\n"
    "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
    "usemtl leaf\n"
    "f 1 2 3 4\n";
inline const char* const kObjMaterial = "newmtl leaf\nKd 0.1 0.7 0.2\n";

inline const char* const kAsciiStl =
    "solid square\n"
    "facet normal 0 0 1\n outer loop\n  vertex -1 -1 0\n  vertex 1 -1 0\n  vertex 1 1 0\n"
    " endloop\nendfacet\n"
    "facet normal 0 0 1\n outer loop\n  vertex -1 -1 0\n  vertex 1 1 0\n  vertex -1 1 0\n"
    " endloop\nendfacet\n"
    "endsolid square\n";

inline const char* const kColouredPly =
    "ply\nformat ascii 1.0\n"
    "element vertex 4\n"
    "property float x\nproperty float y\nproperty float z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\n"
    "element face 1\nproperty list uchar int vertex_indices\n"
    "end_header\n"
    "-1 -1 0 20 40 230\n1 -1 0 20 40 230\n1 1 0 20 40 230\n-1 1 0 20 40 230\n"
    "4 0 1 2 3\n";

inline const char* const kColouredOff =
    "COFF\n4 1 0\n"
    "-1 -1 0 230 30 20 255\n1 -1 0 230 30 20 255\n1 1 0 230 30 20 255\n-1 1 0 230 30 20 255\n"
    "4 0 1 2 3\n";

inline const char* const kPlainOff = "OFF\n4 1 0\n-1 -1 0\n1 -1 0\n1 1 0\n-1 1 0\n4 0 1 2 3\n";

}  // namespace test_meshes
