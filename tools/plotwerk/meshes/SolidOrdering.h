#pragma once

#include <Tessara/elements/SoShapeHintsElement.h>

#include <vector>

struct aiMesh;

/// The vertex ordering that faces the outside of a mesh that encloses a volume: every edge
/// of its faces, corners taken by position, runs once each way as often (each face agrees
/// with its neighbours on which side is out), and every part of it encloses a volume, all
/// turning the same way.
/// The screen and the print may then leave its back faces out. UNKNOWN_ORDERING for any
/// other mesh: open surfaces, faces turned every which way, and with `ownNormals` (the file's
/// normals are kept) normals that point against the faces' turn; faces with corners that
/// name no vertex.
SoShapeHintsElement::VertexOrdering solidOrderingOf(const aiMesh& mesh, bool ownNormals);

/// A mesh of a solid that several meshes make together, and whether its own normals are kept.
struct SolidPart {
    const aiMesh* mesh;
    bool ownNormals;
};

/// The same for the meshes together, as one: a solid of several materials, which the
/// importer hands over as one mesh per material.
SoShapeHintsElement::VertexOrdering solidOrderingOf(const std::vector<SolidPart>& parts);
