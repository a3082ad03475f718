#include "support/U3DReader.h"

#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "support/U3DBitReader.h"

// Each block's data goes through its own U3DBitReader, so a value running past the data, a
// missing flush or a leftover byte surfaces in finish(). Names are resolved at the end, as a
// node may name a resource declared after it. What is not decoded (textures, specular colours,
// bones, backdrops, progressive updates, line and point sets) is rejected, so that nothing
// unread passes for checked; only metadata and informative values are skipped.

namespace u3dread {

namespace {

// Block types.
constexpr std::uint32_t kFileHeader = 0x00443355, kModifierChain = 0xFFFFFF14,
                        kGroupNode = 0xFFFFFF21, kViewNode = 0xFFFFFF24,
                        kMeshDeclaration = 0xFFFFFF31, kBaseMesh = 0xFFFFFF3B,
                        kShadingModifier = 0xFFFFFF45, kLightResource = 0xFFFFFF51,
                        kLitTextureShader = 0xFFFFFF53, kMaterial = 0xFFFFFF54;
constexpr std::uint32_t kNodeChain = 0, kModelChain = 1;
enum CountIndex { kFaces, kPositions, kNormals, kDiffuse, kSpecular, kTextureCoordinates };
using Counts = std::array<std::uint32_t, 6>;  ///< a mesh's counts in the order written
const char* const kUnread = "specular colours or texture coordinates, which are not read";

struct Chain {
    std::string name;
    std::uint32_t type = 0, index = 0;
};

std::uint64_t roundUp4(std::uint64_t n) {
    return (n + 3) & ~std::uint64_t(3);
}

std::string hex(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

std::uint32_t readWithin(U3DBitReader& bits, std::uint32_t lowest, std::uint32_t highest,
                         const char* what) {
    const std::uint32_t value = bits.readU32();
    if (value < lowest || value > highest)
        bits.fail(what + (" " + hex(value)) + " outside " + hex(lowest) + "-" + hex(highest));
    return value;
}

void skip(U3DBitReader& bits, int byteCount) {
    for (int i = 0; i < byteCount; ++i) bits.readU8();
}

template <std::size_t N>
std::array<float, N> readFloats(U3DBitReader& bits) {
    std::array<float, N> values{};
    for (float& value : values) value = bits.readF32();
    return values;
}

template <std::size_t N>
void readRows(U3DBitReader& bits, std::uint32_t count, std::vector<std::array<float, N>>& rows) {
    for (std::uint32_t i = 0; i < count; ++i) rows.push_back(readFloats<N>(bits));
}

std::uint32_t readIndex(U3DBitReader& bits, std::uint32_t count, const char* what) {
    if (count == 0) bits.fail(std::string("a ") + what + " index where there are none");
    const std::uint32_t index = bits.readCompressedU32(0x400 + count);
    if (index >= count) bits.fail(what + (" index " + std::to_string(index)) + " out of range");
    return index;
}

// Nodes and mesh declarations open a chain of their kind; shading modifiers follow a node.
bool placedRight(std::uint32_t type, const Chain* chain) {
    const bool node = type >= kGroupNode && type <= kViewNode;
    const bool free = type == kBaseMesh || (type >= kLightResource && type <= kMaterial);
    if (chain == nullptr) return free;
    if (chain->index == 0) return chain->type == kNodeChain ? node : type == kMeshDeclaration;
    return free || (type == kShadingModifier && chain->type == kNodeChain);
}

/// Reads a whole file into a File; one instance per file.
class U3DReader {
  public:
    explicit U3DReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    File read() {
        std::size_t offset = readBlock(0, bytes_.size(), nullptr);
        while (offset < bytes_.size()) offset = readBlock(offset, bytes_.size(), nullptr);
        if (declarationSize_ != (declarationEnd_ != 0 ? declarationEnd_ : bytes_.size()))
            throwAt(0, "a declaration size other than the declarations'");
        for (const auto& [kind, name, at] : references_)
            if (declared_.count({kind, name}) == 0) throwAt(at, kind + " \"" + name + "\" missing");
        return std::move(file_);
    }

  private:
    // Reads the block at `offset` in a container ending at `limit`; returns where it ends.
    std::size_t readBlock(std::size_t offset, std::size_t limit, const Chain* chain) {
        if (limit - offset < 12) throwAt(offset, "a block header cut short");
        U3DBitReader head(bytes_.data() + offset, 12, false, offset);
        const std::uint32_t type = head.readU32();
        const std::uint64_t dataEnd = offset + 12 + std::uint64_t(head.readU32());
        const std::uint64_t metaDataEnd = roundUp4(dataEnd) + head.readU32();
        if (roundUp4(metaDataEnd) > limit) throwAt(offset, "a block running past its container");
        requireZeros(dataEnd, roundUp4(dataEnd));
        requireZeros(metaDataEnd, roundUp4(metaDataEnd));  // the metadata itself is skipped
        if ((offset == 0) != (type == kFileHeader)) throwAt(offset, "the file header not first");
        if (chain == nullptr && type == kBaseMesh && declarationEnd_ == 0) declarationEnd_ = offset;
        if (chain == nullptr && type != kBaseMesh && declarationEnd_ != 0)
            throwAt(offset, "a declaration block after a continuation block");
        U3DBitReader bits(bytes_.data() + offset + 12, dataEnd - offset - 12, noCompression_,
                          offset + 12);
        if (type == kFileHeader)
            readHeader(bits);
        else if (type == kModifierChain && chain == nullptr)
            readChain(bits, dataEnd);
        else
            readNamed(type, bits, chain, dataEnd);
        return roundUp4(metaDataEnd);
    }

    void requireZeros(std::uint64_t from, std::uint64_t to) const {
        for (std::uint64_t at = from; at < to; ++at)
            if (bytes_[at] != 0) throwAt(at, "a nonzero padding byte");
    }

    void readHeader(U3DBitReader& bits) {
        if (bits.readI16() != 0 || bits.readI16() != 0) bits.fail("a version other than 0.0");
        const std::uint32_t profile = file_.header.profile = bits.readU32();
        if ((profile & ~0xEu) != 0) bits.fail("unknown profile bits in " + hex(profile));
        declarationSize_ = bits.readU32();
        if (bits.readU64() != bytes_.size()) bits.fail("a file size other than the file's");
        readWithin(bits, 106, 106, "character encoding (UTF-8 is 106)");
        skip(bits, profile & 0x8 ? 8 : 0);  // units scale
        bits.finish();
        noCompression_ = (profile & 0x4) != 0;
    }

    void readChain(U3DBitReader& bits, std::size_t dataEnd) {
        Chain chain;
        chain.name = bits.readString();
        chain.type = readWithin(bits, kNodeChain, kModelChain, "chain type");
        const std::uint32_t bounds = readWithin(bits, 0, 3, "chain attributes");
        skip(bits, (bounds & 1 ? 16 : 0) + (bounds & 2 ? 24 : 0));  // sphere, box
        while (bits.byteOffset() % 4 != 0)
            if (bits.readU8() != 0) bits.fail("a nonzero padding byte");
        const std::uint32_t count = bits.readU32();
        if (count == 0) bits.fail("a chain without modifiers");
        std::size_t offset = bits.byteOffset();
        for (; chain.index < count; ++chain.index) offset = readBlock(offset, dataEnd, &chain);
        if (offset != dataEnd) throwAt(offset, "chain data goes on after its modifiers");
    }

    void readNamed(std::uint32_t type, U3DBitReader& bits, const Chain* chain, std::size_t end) {
        if (!placedRight(type, chain)) bits.fail("block type " + hex(type) + " not expected here");
        const std::string name = bits.readString();
        if (chain != nullptr && name != chain->name)
            bits.fail("block \"" + name + "\" inside the chain \"" + chain->name + "\"");
        if (type >= kGroupNode && type <= kViewNode)
            readNode(bits, name, NodeKind(type - kGroupNode));
        else if (type == kShadingModifier)
            readShadingModifier(bits, chain->index);
        else if (type == kMeshDeclaration)
            readMeshDeclaration(bits, name);
        else if (type == kBaseMesh)
            readBaseMesh(bits, name, end);
        else if (type == kLitTextureShader)
            readShader(bits, name);
        else if (type == kMaterial)
            readMaterial(bits, name);
        else if (type == kLightResource)
            readLight(bits, name);
        else
            readView(bits, name);
        bits.finish();
    }

    template <typename Item>
    Item& declare(std::vector<Item>& items, const char* kind, const std::string& name) {
        declared_.insert({kind, name});
        Item& item = items.emplace_back();
        item.name = name;
        return item;
    }

    void refer(const U3DBitReader& bits, const char* kind, const std::string& name) {
        references_.emplace_back(kind, name, bits.byteOffset());
    }

    void readNode(U3DBitReader& bits, const std::string& name, NodeKind kind) {
        static const char* const kResourceKinds[] = {"", "mesh", "light", "view"};
        Node& node = declare(file_.nodes, "node", name);
        node.kind = kind;
        for (std::uint32_t i = 0, count = bits.readU32(); i < count; ++i) {
            Parent& parent = node.parents.emplace_back();
            parent.name = bits.readString();
            parent.transform = readFloats<16>(bits);
            if (!parent.name.empty()) refer(bits, "node", parent.name);
        }
        if (kind == NodeKind::Group) return;
        node.resourceName = bits.readString();
        refer(bits, kResourceKinds[int(kind)], node.resourceName);
        if (kind == NodeKind::Model) node.visibility = readWithin(bits, 0, 3, "visibility");
        if (kind != NodeKind::View) return;
        node.viewAttributes = bits.readU32();
        for (float* value : {&node.nearClip, &node.farClip, &node.projection})
            *value = bits.readF32();
        skip(bits, 16);  // viewport
        readWithin(bits, 0, 0, "backdrop count");
        readWithin(bits, 0, 0, "overlay count");
    }

    void readShadingModifier(U3DBitReader& bits, std::uint32_t chainIndex) {
        readWithin(bits, chainIndex, chainIndex, "chain index");
        readWithin(bits, 0, 0xF, "shading attributes");
        ShaderLists& lists = file_.nodes.back().shading.emplace_back();
        for (std::uint32_t list = 0, listCount = bits.readU32(); list < listCount; ++list) {
            std::vector<std::string>& shaders = lists.emplace_back();
            for (std::uint32_t i = 0, count = bits.readU32(); i < count; ++i) {
                shaders.push_back(bits.readString());
                refer(bits, "shader", shaders.back());
            }
        }
    }

    void readMeshDeclaration(U3DBitReader& bits, const std::string& name) {
        Mesh& mesh = declare(file_.meshes, "mesh", name);
        readWithin(bits, 0, 0, "chain index");
        mesh.attributes = readWithin(bits, 0, 1, "mesh attributes");
        Counts& counts = maxCounts_[name];
        for (std::uint32_t& count : counts) count = bits.readU32();
        if (counts[kSpecular] != 0 || counts[kTextureCoordinates] != 0) bits.fail(kUnread);
        for (std::uint32_t i = 0, count = bits.readU32(); i < count; ++i) {
            mesh.shadings.push_back(readWithin(bits, 0, 3, "shading attributes"));
            if ((mesh.shadings.back() & 2) != 0 || bits.readU32() != 0) bits.fail(kUnread);
            skip(bits, 4);  // original shading ID
        }
        const std::uint32_t minResolution = bits.readU32(), finalResolution = bits.readU32();
        if (minResolution != counts[kPositions] || finalResolution != minResolution)
            bits.fail("resolutions other than the position count (progressive updates)");
        skip(bits, 3 * 4 + 8 * 4);  // quality; quantisation, crease, update, tolerance
        readWithin(bits, 0, 0, "bone count");
        if (minResolution > 0) refer(bits, "base mesh", name);
    }

    // Well-predicted faces may cost less than a bit each, but allowing one per bit left keeps
    // a hostile face count from reading on for long.
    void readBaseMesh(U3DBitReader& bits, const std::string& name, std::size_t dataEnd) {
        Mesh* mesh = findNamed(file_.meshes, name);
        if (mesh == nullptr) bits.fail("a base mesh for the undeclared mesh \"" + name + "\"");
        if (!declared_.insert({"base mesh", name}).second) bits.fail("a second base mesh");
        readWithin(bits, 0, 0, "chain index");
        const Counts& maxCounts = maxCounts_[name];
        Counts counts{};
        for (std::size_t i = 0; i < counts.size(); ++i)
            if ((counts[i] = bits.readU32()) > maxCounts[i]) bits.fail("a count above its maximum");
        if (counts[kPositions] != maxCounts[kPositions])
            bits.fail("base positions other than the minimum resolution");
        readRows(bits, counts[kPositions], mesh->positions);
        readRows(bits, counts[kNormals], mesh->normals);
        readRows(bits, counts[kDiffuse], mesh->diffuseColours);
        if (counts[kFaces] / 8 > dataEnd - bits.byteOffset()) bits.fail("more faces than bits");
        for (std::uint32_t i = 0; i < counts[kFaces]; ++i) {
            Face& face = mesh->faces.emplace_back();
            face.shadingID = bits.readCompressedU32(1);
            if (face.shadingID >= mesh->shadings.size()) bits.fail("a shading ID out of range");
            for (Corner& corner : face.corners) {
                corner.position = readIndex(bits, counts[kPositions], "position");
                if ((mesh->attributes & 1) == 0)
                    corner.normal = readIndex(bits, counts[kNormals], "normal");
                if ((mesh->shadings[face.shadingID] & 1) != 0)
                    corner.diffuse = readIndex(bits, counts[kDiffuse], "diffuse colour");
            }
        }
    }

    void readShader(U3DBitReader& bits, const std::string& name) {
        Shader& shader = declare(file_.shaders, "shader", name);
        shader.attributes = readWithin(bits, 0, 7, "shader attributes");
        skip(bits, 4);  // alpha reference
        readWithin(bits, 0x610, 0x617, "alpha function");
        shader.blendFunction = readWithin(bits, 0x604, 0x607, "blend function");
        skip(bits, 4);  // render pass flags
        readWithin(bits, 0, 0, "shader channels");
        readWithin(bits, 0, 0, "alpha texture channels");
        shader.materialName = bits.readString();
        refer(bits, "material", shader.materialName);
    }

    void readMaterial(U3DBitReader& bits, const std::string& name) {
        Material& material = declare(file_.materials, "material", name);
        readWithin(bits, 0, 0x3F, "material attributes");
        for (auto* colour :
             {&material.ambient, &material.diffuse, &material.specular, &material.emissive})
            *colour = readFloats<3>(bits);
        for (float* value : {&material.reflectivity, &material.opacity}) *value = bits.readF32();
    }

    void readLight(U3DBitReader& bits, const std::string& name) {
        Light& light = declare(file_.lights, "light", name);
        readWithin(bits, 0, 7, "light attributes");
        if ((light.type = bits.readU8()) > 3) bits.fail("light type " + std::to_string(light.type));
        light.colour = readFloats<4>(bits);
        light.attenuation = readFloats<3>(bits);
        for (float* value : {&light.spotAngle, &light.intensity}) *value = bits.readF32();
    }

    void readView(U3DBitReader& bits, const std::string& name) {
        View& view = declare(file_.views, "view", name);
        for (std::uint32_t i = 0, count = bits.readU32(); i < count; ++i) {
            view.passes.push_back(bits.readString());
            if (!view.passes.back().empty()) refer(bits, "node", view.passes.back());
            skip(bits, 2 * 4 + 6 * 4);  // render attributes, fog mode, colour, near and far
        }
    }

    const std::vector<std::uint8_t>& bytes_;
    File file_;
    bool noCompression_ = false;
    std::uint32_t declarationSize_ = 0;
    std::size_t declarationEnd_ = 0;                          ///< where continuations start
    std::map<std::string, Counts> maxCounts_;                 ///< by mesh name
    std::set<std::pair<std::string, std::string>> declared_;  ///< kind and name
    std::vector<std::tuple<std::string, std::string, std::size_t>> references_;  ///< kind, name, at
};

}  // namespace

File read(const std::vector<std::uint8_t>& file) {
    return U3DReader(file).read();
}

}  // namespace u3dread
