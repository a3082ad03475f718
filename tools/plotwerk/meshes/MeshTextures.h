#pragma once

#include <Tessara/math/SbColor.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "meshes/TextureImage.h"

struct aiMesh;
struct aiScene;

/// The colour textures of an imported file's materials, each loaded once, from the file
/// itself when embedded, else from beside the model file; and the colours they give a mesh's
/// vertices. The printer has no textures: these colours are how a textured model keeps its
/// look on paper.
class MeshTextures {
  public:
    /// `modelPath` is the imported file, whose folder holds the textures it names.
    MeshTextures(const aiScene& scene, const std::string& modelPath);

    /// Whether any material of the scene names a colour texture.
    static bool anyIn(const aiScene& scene);

    /// One colour per vertex of `mesh`: its material's base colour (or diffuse) texture at the
    /// vertex's texture coordinates, times the vertex's colour in `tints` when that holds one
    /// per vertex, else times `tint`. Empty when the material has no texture or the mesh no
    /// coordinates for it, and when the texture cannot be loaded (reported once per texture).
    std::vector<SbColor> vertexColors(const aiMesh& mesh, const std::vector<SbColor>& tints,
                                      const SbColor& tint);

    /// Shares the bound on the triangles that cutting may print among the textured meshes,
    /// `placements[m]` being how often mesh m is placed.
    void shareTriangleBudget(const std::vector<unsigned int>& placements);
    /// How many parts each triangle edge of `mesh` is cut into so that its vertices can show
    /// its texture's detail (see MeshRefiner), within the shared bound; 1 without a usable
    /// texture.
    unsigned int partsFor(const aiMesh& mesh);

  private:
    struct Entry {
        bool tried = false;
        unsigned int channel = 0;
        const TextureImage* image = nullptr;
    };

    const Entry& entryFor(unsigned int materialIndex);
    const TextureImage* imageNamed(const std::string& name);
    std::unique_ptr<TextureImage> load(const std::string& name) const;

    const aiScene& scene_;
    std::string folder_;
    std::vector<Entry> entries_;
    unsigned int maxParts_ = 1;  // until a budget is shared, nothing is cut
    // Materials often share one texture: each is loaded once, a failure reported once.
    std::map<std::string, std::unique_ptr<TextureImage>> images_;
};
