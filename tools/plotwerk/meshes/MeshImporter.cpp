#include "meshes/MeshImporter.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoIndexedFaceSet.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoMatrixTransform.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoNormalBinding.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <filesystem>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "CommandError.h"
#include "NodeRef.h"
#include "meshes/FaceColors.h"
#include "meshes/MeshPlacements.h"
#include "meshes/MeshRefiner.h"
#include "meshes/MeshTextures.h"
#include "meshes/OffMeshReader.h"
#include "meshes/SolidOrdering.h"
#include "reading/CountingFileSystem.h"
#include "reading/GuardedMeshRead.h"
#include "reading/StandardInputFile.h"

namespace {

SbColor colorOf(const aiColor4D& c) {
    return SbColor(c.r, c.g, c.b);
}

// The file's diffuse colour, false when it has none. Physically based formats give a base
// colour where the others give a diffuse one.
bool diffuseOf(const aiMaterial* source, SbColor& diffuse) {
    aiColor4D color;
    if (!source || (aiGetMaterialColor(source, AI_MATKEY_COLOR_DIFFUSE, &color) != AI_SUCCESS &&
                    aiGetMaterialColor(source, AI_MATKEY_BASE_COLOR, &color) != AI_SUCCESS))
        return false;
    diffuse = colorOf(color);
    return true;
}

// Only the diffuse colour is taken over. Importers invent the rest for formats without
// materials (white specular and ambient for STL and PLY), which would print flat faces
// under a headlight as bare paper. For the same reason a pure white diffuse colour, the
// invented default of those formats, keeps the core's light grey.
SoMaterial* materialOf(const aiMaterial* source) {
    auto* material = new SoMaterial;
    SbColor diffuse;
    if (diffuseOf(source, diffuse) && !(diffuse == SbColor(1, 1, 1)))
        material->diffuseColor = diffuse;
    return material;
}

// A diffuse colour that the file gives, not one the importer invents where it gives none.
bool hasOwnDiffuse(const aiMaterial* source) {
    SbColor diffuse;
    return diffuseOf(source, diffuse) && !(diffuse == SbColor(1, 1, 1)) &&
           source->GetName() != aiString(AI_DEFAULT_MATERIAL_NAME);
}

// Some files (OFF ones) give colour bytes, 0 to 255, instead of fractions: a set with any
// component above 1 is taken to be in bytes. `largest` is the set's largest component.
float colorScaleFor(float largest) {
    return largest > 1.0f ? 1.0f / 255.0f : 1.0f;
}

float colorScaleOf(const aiColor4D* colors, unsigned int count) {
    float largest = 0;
    for (unsigned int i = 0; i < count; ++i)
        largest = std::max({largest, colors[i].r, colors[i].g, colors[i].b});
    return colorScaleFor(largest);
}

// The same for colours per face; each scaled component is kept within 0 to 1 (NaN compares
// false and gives 0).
std::vector<std::optional<SbColor>> scaledToFractions(std::vector<std::optional<SbColor>> colors) {
    float largest = 0;
    for (const std::optional<SbColor>& color : colors)
        for (int k = 0; color && k < 3; ++k) largest = std::max(largest, (*color)[k]);
    const float scale = colorScaleFor(largest);
    for (std::optional<SbColor>& color : colors)
        for (int k = 0; color && k < 3; ++k) {
            float& c = (*color)[k];
            c = c > 0 ? std::min(1.0f, c * scale) : 0.0f;
        }
    return colors;
}

// The first colour set, one colour per vertex.
std::vector<SbColor> vertexColorsOf(const aiMesh& mesh) {
    const float scale = colorScaleOf(mesh.mColors[0], mesh.mNumVertices);
    std::vector<SbColor> colors(mesh.mNumVertices);
    for (unsigned int i = 0; i < mesh.mNumVertices; ++i)
        colors[i] = colorOf(mesh.mColors[0][i]) * scale;
    return colors;
}

void copyInto(SoMFVec3f& field, const aiVector3D* vectors, unsigned int count) {
    field.setNum(static_cast<int>(count));
    SbVec3f* values = field.startEditing();
    for (unsigned int i = 0; i < count; ++i)
        values[i].setValue(vectors[i].x, vectors[i].y, vectors[i].z);
    field.finishEditing();
}

SoCoordinate3* coordinatesOf(const aiMesh& mesh) {
    auto* coordinates = new SoCoordinate3;
    copyInto(coordinates->point, mesh.mVertices, mesh.mNumVertices);
    return coordinates;
}

SoNormal* normalsOf(const aiMesh& mesh) {
    auto* normals = new SoNormal;
    copyInto(normals->vector, mesh.mNormals, mesh.mNumVertices);
    return normals;
}

// Normals the same at every corner of each face, as STL files store them, say only that the
// faces are flat: the core makes those itself, from the faces as they are (a file's facet
// normals are often zero or stale), and smooths them where the crease angle asks.
bool onlyFacetNormals(const aiMesh& mesh) {
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        const auto normalAt = [&](unsigned int k) {
            // A bad index is the core's to report; here it only has no normal.
            const unsigned int index = face.mIndices[k];
            return index < mesh.mNumVertices ? mesh.mNormals[index] : mesh.mNormals[0];
        };
        for (unsigned int k = 1; k < face.mNumIndices; ++k)
            if (normalAt(k) != normalAt(0)) return false;
    }
    return true;
}

// The indices of the faces with at least `minCorners` and at most `maxCorners` corners, each
// face ended by -1.
void fillIndices(const aiMesh& mesh, unsigned int minCorners, unsigned int maxCorners,
                 SoMFInt32& field) {
    int total = 0;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const unsigned int n = mesh.mFaces[f].mNumIndices;
        if (n >= minCorners && n <= maxCorners) total += static_cast<int>(n) + 1;
    }
    field.setNum(total);
    int32_t* out = field.startEditing();
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < minCorners || face.mNumIndices > maxCorners) continue;
        for (unsigned int k = 0; k < face.mNumIndices; ++k)
            *out++ = static_cast<int32_t>(face.mIndices[k]);
        *out++ = -1;
    }
    field.finishEditing();
}

// Point primitives name single vertices; a point set draws a coordinate list from its
// start, so the named vertices (and their colours) are copied into lists of their own. A
// mesh of vertices without faces (a scan's point cloud, as PLY files hold them) is points,
// every one.
SoSeparator* pointsOf(const aiMesh& mesh) {
    std::vector<SbVec3f> where;
    std::vector<SbColor> which;
    const bool colored = mesh.HasVertexColors(0);
    const float scale = colored ? colorScaleOf(mesh.mColors[0], mesh.mNumVertices) : 1.0f;
    const bool cloud = mesh.mNumFaces == 0;
    for (unsigned int k = 0; k < (cloud ? mesh.mNumVertices : mesh.mNumFaces); ++k) {
        const aiFace* face = cloud ? nullptr : &mesh.mFaces[k];
        if (face && (face->mNumIndices != 1 || face->mIndices[0] >= mesh.mNumVertices)) continue;
        const unsigned int vertex = face ? face->mIndices[0] : k;
        const aiVector3D& v = mesh.mVertices[vertex];
        where.emplace_back(v.x, v.y, v.z);
        if (colored) which.push_back(colorOf(mesh.mColors[0][vertex]) * scale);
    }
    auto* group = new SoSeparator;
    if (colored) {
        auto* colors = new SoMaterial;
        colors->diffuseColor.setValues(0, static_cast<int>(which.size()), which.data());
        group->addChild(colors);
        auto* binding = new SoMaterialBinding;
        binding->value = SoMaterialBinding::PER_VERTEX;
        group->addChild(binding);
    }
    auto* points = new SoCoordinate3;
    points->point.setValues(0, static_cast<int>(where.size()), where.data());
    group->addChild(points);
    group->addChild(new SoPointSet);
    return group;
}

bool hasFacesOf(const aiMesh& mesh, unsigned int minCorners, unsigned int maxCorners) {
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const unsigned int n = mesh.mFaces[f].mNumIndices;
        if (n >= minCorners && n <= maxCorners) return true;
    }
    return false;
}

// Where a mesh's own colours are bound, if it has any.
enum class OwnColors { NONE, MATERIAL, PER_VERTEX, PER_FACE };

// One colour a face of three corners or more, as the face set counts its faces; a face the
// file leaves without one keeps the material's colour.
OwnColors addFaceColors(const aiMesh& mesh, const FaceColors& faceColors, SoMaterial& material,
                        SoGroup& group) {
    const SbColor base = material.diffuseColor[0];
    const std::vector<std::optional<SbColor>> given = scaledToFractions(faceColors.colors);
    std::vector<SbColor> colors;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f)
        if (mesh.mFaces[f].mNumIndices >= 3) colors.push_back(given[f].value_or(base));
    if (colors.empty()) return OwnColors::NONE;
    material.diffuseColor.setValues(0, static_cast<int>(colors.size()), colors.data());
    auto* binding = new SoMaterialBinding;
    binding->value = SoMaterialBinding::PER_FACE;
    group.addChild(binding);
    return OwnColors::PER_FACE;
}

// Colours per vertex, from the texture or else from the file's colour set, replace the
// material's diffuse colour; failing those, the file's colours per face (`faceColors`, when
// they fit the mesh) do. NONE when the file gives no colour of its own: none of these and no
// diffuse colour but what the importer invents.
OwnColors addColors(const aiMesh& mesh, const aiMaterial* source, MeshTextures& textures,
                    const FaceColors* faceColors, SoGroup& group) {
    SoMaterial* material = materialOf(source);
    group.addChild(material);
    std::vector<SbColor> colors;
    if (mesh.HasVertexColors(0)) colors = vertexColorsOf(mesh);
    SbColor tint(1, 1, 1);
    diffuseOf(source, tint);
    std::vector<SbColor> textured = textures.vertexColors(mesh, colors, tint);
    if (!textured.empty()) colors = std::move(textured);
    if (!colors.empty()) {
        material->diffuseColor.setValues(0, static_cast<int>(colors.size()), colors.data());
        auto* binding = new SoMaterialBinding;
        binding->value = SoMaterialBinding::PER_VERTEX_INDEXED;
        group.addChild(binding);
        return OwnColors::PER_VERTEX;
    }
    if (faceColors && addFaceColors(mesh, *faceColors, *material, group) == OwnColors::PER_FACE)
        return OwnColors::PER_FACE;
    return hasOwnDiffuse(source) ? OwnColors::MATERIAL : OwnColors::NONE;
}

bool keepsNormals(const aiMesh& mesh) {
    return mesh.HasNormals() && !onlyFacetNormals(mesh);
}

void addShape(const aiMesh& mesh, SoGroup& group) {
    if (keepsNormals(mesh)) {
        group.addChild(normalsOf(mesh));
        auto* binding = new SoNormalBinding;
        binding->value = SoNormalBinding::PER_VERTEX_INDEXED;
        group.addChild(binding);
    }
    group.addChild(coordinatesOf(mesh));
}

// A mesh that encloses a volume faces out by the turn of its corners, whatever the file
// says, and its back faces are left out on the screen and in print: half the faces, all of
// them hidden, which the painter would otherwise sort beneath the others.
void addSolidHints(SoShapeHintsElement::VertexOrdering ordering, SoGroup& group) {
    if (ordering == SoShapeHintsElement::UNKNOWN_ORDERING) return;
    auto* hints = new SoShapeHints;
    hints->vertexOrdering = ordering;
    hints->shapeType = SoShapeHints::SOLID;
    hints->creaseAngle.setIgnored(true);
    group.addChild(hints);
}

// One mesh's nodes. Per-vertex bindings without index lists read the coordinate indices,
// which is exactly how the importer aligns colours and normals with positions. Lines and
// points that the file gives no colour take the one the scene around them sets: the
// importer's default grey, light for faces, is faint for lines on paper. Colours per face
// are the faces' alone.
SoSeparator* meshGroupOf(const aiMesh& mesh, const aiMaterial* material, MeshTextures& textures,
                         const FaceColors* faceColors) {
    auto* group = new SoSeparator;
    addSolidHints(solidOrderingOf(mesh, keepsNormals(mesh)), *group);
    addShape(mesh, *group);
    auto* colored = new SoSeparator;
    const OwnColors own = addColors(mesh, material, textures, faceColors, *colored);
    group->addChild(colored);
    const bool strokesColored = own == OwnColors::MATERIAL || own == OwnColors::PER_VERTEX;
    SoGroup& strokes = strokesColored ? *colored : *group;
    if (hasFacesOf(mesh, 3, ~0u)) {
        auto* faces = new SoIndexedFaceSet;
        fillIndices(mesh, 3, ~0u, faces->coordIndex);
        colored->addChild(faces);
    }
    if (hasFacesOf(mesh, 2, 2)) {
        auto* lines = new SoIndexedLineSet;
        fillIndices(mesh, 2, 2, lines->coordIndex);
        strokes.addChild(lines);
    }
    if (hasFacesOf(mesh, 1, 1) || (mesh.mNumFaces == 0 && mesh.mNumVertices > 0))
        strokes.addChild(pointsOf(mesh));
    return group;
}

// The importer's matrices act on column vectors, the core's on row vectors: transposed.
SbMatrix matrixOf(const aiMatrix4x4& m) {
    return SbMatrix(m.a1, m.b1, m.c1, m.d1, m.a2, m.b2, m.c2, m.d2, m.a3, m.b3, m.c3, m.d3, m.a4,
                    m.b4, m.c4, m.d4);
}

// Piped in, the file is named as the user knows it.
void warnOf(const std::string& path, const std::string& message) {
    const bool piped = StandardInputFile::isCopy(path);
    SoDebugError::postWarning(
        "MeshImporter::import", "%s",
        (piped ? StandardInputFile::described(message, path) : message).c_str());
}

void warnOfFaceColors(const std::string& path, const std::string& why) {
    warnOf(path, "The faces of \"" + path + "\" print without their colours: " + why);
}

/// Builds the scene of an imported file: each mesh converted once, placed as often as the
/// node hierarchy places it.
class SceneBuilder {
  public:
    /// `faceColors`: those the file gives its faces, if any.
    SceneBuilder(const aiScene& scene, const std::string& path, FaceColors faceColors)
        : scene_(scene),
          path_(path),
          faceColors_(std::move(faceColors)),
          textures_(scene, path),
          meshes_(scene.mNumMeshes) {}
    ~SceneBuilder() {
        for (SoSeparator* mesh : meshes_)
            if (mesh) mesh->unref();
    }

    /// Counts how often the node tree places each mesh, before any is converted: cutting
    /// textured meshes is bounded by the triangles printed, placements included.
    void count(const aiNode& root, std::vector<unsigned int>& placements) const {
        for (const auto& [node, global] : MeshPlacements::of(&root))
            for (unsigned int i = 0; i < node->mNumMeshes; ++i)
                if (node->mMeshes[i] < placements.size()) ++placements[node->mMeshes[i]];
    }

    void placeAll(const aiNode& root, bool cutTexturedFaces, SoSeparator& into) {
        if (cutTexturedFaces) {
            std::vector<unsigned int> placements(scene_.mNumMeshes, 0);
            count(root, placements);
            textures_.shareTriangleBudget(placements);
        }
        for (const auto& [node, global] : MeshPlacements::of(&root)) place(*node, global, into);
    }

    void place(const aiNode& node, const aiMatrix4x4& global, SoSeparator& root) {
        const SoShapeHintsElement::VertexOrdering together = jointOrdering(node);
        for (unsigned int i = 0; i < node.mNumMeshes; ++i) {
            SoSeparator* mesh = meshNodes(node.mMeshes[i]);
            if (!mesh) continue;
            auto* instance = new SoSeparator;
            if (!global.IsIdentity()) {
                auto* transform = new SoMatrixTransform;
                transform->matrix = matrixOf(global);
                instance->addChild(transform);
            }
            addSolidHints(together, *instance);
            instance->addChild(mesh);
            root.addChild(instance);
        }
    }

  private:
    // A node's meshes may be one solid in several materials, each mesh open on its own. Many
    // nodes may place the same meshes: each set is weighed once.
    SoShapeHintsElement::VertexOrdering jointOrdering(const aiNode& node) {
        if (node.mNumMeshes < 2) return SoShapeHintsElement::UNKNOWN_ORDERING;
        const std::vector<unsigned int> indices(node.mMeshes, node.mMeshes + node.mNumMeshes);
        const auto known = jointOrderings_.find(indices);
        if (known != jointOrderings_.end()) return known->second;
        std::vector<SolidPart> parts;
        for (unsigned int index : indices) {
            if (const aiMesh* mesh = drawable(index)) parts.push_back({mesh, keepsNormals(*mesh)});
        }
        return jointOrderings_[indices] = solidOrderingOf(parts);
    }

    // A mesh without positions draws nothing: an empty STL solid is a mesh of no vertices.
    const aiMesh* drawable(unsigned int index) const {
        if (index >= scene_.mNumMeshes || !scene_.mMeshes[index]) return nullptr;
        return scene_.mMeshes[index]->HasPositions() ? scene_.mMeshes[index] : nullptr;
    }

    SoSeparator* meshNodes(unsigned int index) {
        if (!drawable(index)) return nullptr;
        if (!meshes_[index]) {
            const aiMesh& mesh = *scene_.mMeshes[index];
            const aiMaterial* material = mesh.mMaterialIndex < scene_.mNumMaterials
                                             ? scene_.mMaterials[mesh.mMaterialIndex]
                                             : nullptr;
            const std::unique_ptr<aiMesh> refined =
                MeshRefiner::refined(mesh, textures_.partsFor(mesh));
            meshes_[index] = meshGroupOf(refined ? *refined : mesh, material, textures_,
                                         refined ? nullptr : faceColorsOf(mesh));
            meshes_[index]->ref();
        }
        return meshes_[index];
    }

    // The file's colours per face, where they fit the mesh as the importer read it: its one
    // mesh, with the file's faces.
    const FaceColors* faceColorsOf(const aiMesh& mesh) {
        if (faceColors_.colors.empty()) return nullptr;
        std::uint64_t corners = 0;
        for (unsigned int f = 0; f < mesh.mNumFaces; ++f) corners += mesh.mFaces[f].mNumIndices;
        if (scene_.mNumMeshes == 1 && faceColors_.fit(mesh.mNumFaces, corners)) return &faceColors_;
        warnOfFaceColors(path_, "the importer read other faces than the file lists");
        faceColors_ = FaceColors();  // said once
        return nullptr;
    }

    const aiScene& scene_;
    const std::string path_;
    FaceColors faceColors_;
    MeshTextures textures_;
    std::vector<SoSeparator*> meshes_;
    std::map<std::vector<unsigned int>, SoShapeHintsElement::VertexOrdering> jointOrderings_;
};

// The importer goes on without a file the model names that it cannot find, as it should, but
// a drawing without its materials should say why. Where the one it names is missing, the
// importer guesses a name like the model's own: that one is left unsaid beside another.
void reportMissing(const CountingFileSystem& files, const std::string& path) {
    const std::string model = std::filesystem::path(path).stem().string();
    const std::set<std::string>& missing = files.getMissing();
    for (const std::string& name : missing)
        if (missing.size() == 1 || std::filesystem::path(name).stem().string() != model)
            SoDebugError::postWarning("MeshImporter::import",
                                      "The file \"%s\" that the model names is not beside "
                                      "it: the drawing goes on without what it holds",
                                      name.c_str());
}

}  // namespace

SoSeparator* MeshImporter::import(const std::string& path, bool cutTexturedFaces,
                                  unsigned long long* bytesRead) {
    GuardedMeshRead::refuseUnsafe(path);
    Assimp::Importer importer;
    auto* files = new CountingFileSystem;
    if (StandardInputFile::isCopy(path)) files->lookInCurrentDirectoryFor(path);
    importer.SetIOHandler(files);  // the importer owns it
    FaceColors faceColors;
    std::unique_ptr<aiScene> scene;
    const bool off = OffMeshReader::isOff(path);
    if (off) {
        std::string leftOut;
        scene = OffMeshReader::read(path, faceColors, leftOut);
        if (!leftOut.empty())
            warnOf(path, "The file \"" + path + "\" is drawn in part: " + leftOut);
    } else {
        scene = GuardedMeshRead::read(importer, *files, path, cutTexturedFaces);
        faceColors = FaceColors::read(path);
        if (!faceColors.problem.empty()) warnOfFaceColors(path, faceColors.problem);
    }
    NodeRef<SoSeparator> root(new SoSeparator);
    {
        SceneBuilder builder(*scene, path, std::move(faceColors));
        builder.placeAll(*scene->mRootNode, cutTexturedFaces, *root.get());
    }
    if (root->getNumChildren() == 0)
        throw CommandError("cannot import '" + path + "': the file holds no mesh");
    // Piped in, a model's missing files go unsaid: the importer also looks for names it makes
    // up from the copy's, names the user never gave.
    if (!StandardInputFile::isCopy(path)) reportMissing(*files, path);
    if (bytesRead) *bytesRead = off ? std::filesystem::file_size(path) : files->getBytes();
    return root.release();
}
