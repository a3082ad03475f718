// The importer's readers run in a child process and send the scene back packed: what the child
// hands back arrives whole or not at all, however the child ends, and a packed scene unpacks
// to the same meshes, materials, textures and placements, or, cut short, to a refusal.

#include <assimp/material.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <assimp/IOStream.hpp>
#include <csignal>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "CommandError.h"
#include "reading/ChildProcessRun.h"
#include "reading/CountingFileSystem.h"
#include "reading/SceneParcel.h"

namespace {

std::string crash() {
    std::raise(SIGSEGV);
    return "after";
}

[[noreturn]] std::string loop() {
    for (volatile unsigned i = 0;; i = i + 1) {  // wraps, as it may
    }
}

}  // namespace

TEST(ChildProcessRun, HandsBackAllTheWorkMadeOrNothing) {
    const std::string big(3 << 20, 'x');  // far more than a pipe holds at once
    const struct {
        const char* what;
        std::function<std::string()> work;
        bool handedBack;
        const char* ending;  // a part of how the child ended, when it handed nothing back
    } cases[] = {
        {"much", [&] { return big; }, true, ""},
        {"crash", crash, false, ::strsignal(SIGSEGV)},
        {"abort", []() -> std::string { std::abort(); }, false, ::strsignal(SIGABRT)},
        {"throw", []() -> std::string { throw std::runtime_error("no"); }, false, ""},
        {"early exit", []() -> std::string { ::_exit(0); }, false, "0"},
        {"loop", loop, false, "1 s"},
        {"wait",
         []() -> std::string {
             for (;;) ::pause();
         },
         false, "1 s"},
    };
    for (const auto& c : cases) {
        std::string ending;
        const std::optional<std::string> bytes = ChildProcessRun::run(c.work, 1, ending);
        EXPECT_EQ(bytes.value_or("none"), c.handedBack ? big : "none") << c.what;
        EXPECT_NE(ending.find(c.ending), std::string::npos) << c.what << ": " << ending;
    }
}

namespace {

/// Random scenes of every part the parcel carries, each present or absent.
class RandomScene {
  public:
    explicit RandomScene(unsigned seed) : random_(seed) {}

    std::unique_ptr<aiScene> make() {
        auto scene = std::make_unique<aiScene>();
        makeAll(scene->mMeshes, scene->mNumMeshes, [&] { return chance() ? mesh() : nullptr; });
        makeAll(scene->mMaterials, scene->mNumMaterials, [&] { return material(); });
        makeAll(scene->mTextures, scene->mNumTextures, [&] { return texture(); });
        scene->mRootNode = node(0);
        return scene;
    }

  private:
    unsigned count(unsigned most) {
        return std::uniform_int_distribution<unsigned>(0, most)(random_);
    }
    bool chance() { return count(1) == 1; }

    template <typename Part, typename Make>
    void makeAll(Part**& parts, unsigned& size, Make make) {
        size = count(3);
        parts = new Part*[size];
        for (unsigned i = 0; i < size; ++i) parts[i] = make();
    }
    /// Bytes of every value, NaNs of every kind included: they must come back unchanged.
    template <typename Value>
    Value* array(unsigned size) {
        auto* values = new Value[size];
        auto* bytes = reinterpret_cast<unsigned char*>(values);
        for (std::size_t i = 0; i < size * sizeof(Value); ++i) bytes[i] = count(255);
        return values;
    }
    template <typename Value>
    Value* maybeArray(unsigned size) {
        return chance() ? array<Value>(size) : nullptr;
    }

    aiMesh* mesh() {
        auto* mesh = new aiMesh;
        mesh->mName.Set("mesh" + std::to_string(count(99)));
        mesh->mPrimitiveTypes = count(15);
        mesh->mMaterialIndex = count(3);
        const unsigned n = mesh->mNumVertices = 1 + count(6);
        mesh->mVertices = maybeArray<aiVector3D>(n);
        mesh->mNormals = maybeArray<aiVector3D>(n);
        mesh->mColors[count(AI_MAX_NUMBER_OF_COLOR_SETS - 1)] = maybeArray<aiColor4D>(n);
        const unsigned channel = count(AI_MAX_NUMBER_OF_TEXTURECOORDS - 1);
        mesh->mTextureCoords[channel] = maybeArray<aiVector3D>(n);
        mesh->mNumUVComponents[channel] = count(3);
        mesh->mFaces = new aiFace[mesh->mNumFaces = count(4)];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            mesh->mFaces[f].mIndices = array<unsigned>(mesh->mFaces[f].mNumIndices = count(5));
        return mesh;
    }

    aiMaterial* material() {
        auto* material = new aiMaterial;
        const aiColor3D colour(count(9), count(9), count(9));
        material->AddProperty(&colour, 1, AI_MATKEY_COLOR_DIFFUSE);
        const aiString name("texture" + std::to_string(count(9)) + ".png");
        material->AddProperty(&name, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, count(2)));
        return material;
    }

    aiTexture* texture() {
        auto* texture = new aiTexture;
        const bool compressed = chance();
        texture->mWidth = 1 + count(20);
        texture->mHeight = compressed ? 0 : 1 + count(3);
        std::strcpy(texture->achFormatHint, compressed ? "png" : "rgba8888");
        texture->mFilename.Set("texture" + std::to_string(count(9)) + ".png");
        texture->pcData = maybeArray<aiTexel>(compressed ? (texture->mWidth + 3) / 4
                                                         : texture->mWidth * texture->mHeight);
        return texture;
    }

    /// Matrices of finite numbers: those of the flat nodes are products of them.
    aiNode* node(int depth) {
        auto* node = new aiNode("node" + std::to_string(depth));
        for (float* entry = &node->mTransformation.a1; entry <= &node->mTransformation.d4; ++entry)
            *entry = std::uniform_real_distribution<float>(-9, 9)(random_);
        node->mMeshes = array<unsigned>(node->mNumMeshes = count(2));
        std::vector<aiNode*> children(depth < 3 ? count(2) : 0);
        for (aiNode*& child : children) child = this->node(depth + 1);
        if (!children.empty()) node->addChildren(unsigned(children.size()), children.data());
        return node;
    }

    std::mt19937 random_;
};

/// The bytes themselves, or a mark where there is no array.
void describeBytes(std::string& out, const void* data, std::size_t size) {
    out += data ? std::string(static_cast<const char*>(data), size) + ";" : std::string(" none");
}

void describeMesh(std::string& out, const aiMesh& mesh) {
    out += std::string(mesh.mName.C_Str()) + " " + std::to_string(mesh.mPrimitiveTypes) + " " +
           std::to_string(mesh.mMaterialIndex) + " " + std::to_string(mesh.mNumVertices);
    const std::size_t n = mesh.mNumVertices;
    describeBytes(out, mesh.mVertices, n * sizeof(aiVector3D));
    describeBytes(out, mesh.mNormals, n * sizeof(aiVector3D));
    for (const aiColor4D* colors : mesh.mColors) describeBytes(out, colors, n * sizeof(aiColor4D));
    for (unsigned k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k) {
        out += std::to_string(mesh.mNumUVComponents[k]);
        describeBytes(out, mesh.mTextureCoords[k], n * sizeof(aiVector3D));
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        if (mesh.mFaces[f].mNumIndices == 0)
            out += "-;";  // whether it has an array of nothing or none
        else
            describeBytes(out, mesh.mFaces[f].mIndices,
                          mesh.mFaces[f].mNumIndices * sizeof(unsigned));
}

/// Meshes, materials, textures and, depth first, each node that places meshes with its matrix
/// to the root's space.
void describePlacements(std::string& out, const aiNode& node, const aiMatrix4x4& parent) {
    const aiMatrix4x4 global = parent * node.mTransformation;
    if (node.mNumMeshes) {
        describeBytes(out, &global, sizeof global);
        describeBytes(out, node.mMeshes, node.mNumMeshes * sizeof(unsigned));
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        describePlacements(out, *node.mChildren[i], global);
}

std::string describe(const aiScene& scene) {
    std::string out;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        out += "\nmesh ";
        if (scene.mMeshes[m]) describeMesh(out, *scene.mMeshes[m]);
    }
    for (unsigned m = 0; m < scene.mNumMaterials; ++m)
        for (unsigned p = 0; p < scene.mMaterials[m]->mNumProperties; ++p) {
            const aiMaterialProperty& property = *scene.mMaterials[m]->mProperties[p];
            out += "\nproperty " + std::string(property.mKey.C_Str()) + " " +
                   std::to_string(property.mSemantic) + " " + std::to_string(property.mIndex) +
                   " " + std::to_string(property.mType);
            describeBytes(out, property.mData, property.mDataLength);
        }
    for (unsigned t = 0; t < scene.mNumTextures; ++t) {
        const aiTexture& texture = *scene.mTextures[t];
        out += "\ntexture " + std::to_string(texture.mWidth) + " " +
               std::to_string(texture.mHeight) + " " + texture.achFormatHint + " " +
               texture.mFilename.C_Str();
        describeBytes(out, texture.pcData,
                      texture.mHeight ? texture.mWidth * texture.mHeight * 4 : texture.mWidth);
    }
    out += "\nplacements ";
    describePlacements(out, *scene.mRootNode, aiMatrix4x4());
    return out;
}

}  // namespace

// What the reading opened and missed comes along.
TEST(SceneParcel, AnUnpackedSceneIsThePackedOneItsNodesInOneLevel) {
    CountingFileSystem reading;
    delete reading.Open("/proc/self/exe");
    EXPECT_FALSE(reading.Exists("/nowhere/texture.png"));
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const std::unique_ptr<aiScene> scene = RandomScene(seed).make();
        CountingFileSystem printing;
        const auto back = SceneParcel::unpack(SceneParcel::pack(*scene, reading), printing, "x");
        EXPECT_EQ(describe(*back), describe(*scene)) << "seed " << seed;
        EXPECT_EQ(printing.getBytes(), reading.getBytes());
        EXPECT_EQ(printing.getMissing(), reading.getMissing());
        for (unsigned m = 0; m < back->mNumMaterials; ++m)  // room for more, as in any material
            for (int more = 0; more < 9; ++more)
                back->mMaterials[m]->AddProperty(&more, 1, "x", more, 0);
        for (unsigned i = 0; i < back->mRootNode->mNumChildren; ++i)
            EXPECT_EQ(back->mRootNode->mChildren[i]->mNumChildren, 0u) << "seed " << seed;
    }
}

TEST(SceneParcel, AParcelCutShortOrARefusalThrows) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const std::string parcel =
            SceneParcel::pack(*RandomScene(seed).make(), CountingFileSystem());
        for (std::size_t size = 0; size < parcel.size(); ++size) {
            CountingFileSystem files;
            EXPECT_THROW(SceneParcel::unpack(parcel.substr(0, size), files, "x"), CommandError)
                << "seed " << seed << ", " << size << " bytes of " << parcel.size();
        }
    }
    CountingFileSystem files;
    EXPECT_THROW(SceneParcel::unpack(SceneParcel::refusal("no"), files, "x"), CommandError);
}
