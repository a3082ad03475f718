#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace u3d {

/// Frames block data as the file's blocks and collects them in order: each block starts on a
/// four-byte boundary with its type, data size and an empty metadata.
class U3DBlockWriter {
  public:
    enum class ChainType : std::uint32_t { Node = 0, ModelResource = 1, TextureResource = 2 };

    /// One block's type and data, for the modifiers of a chain.
    struct Block {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };

    /// The bytes a block with `dataSize` bytes of data takes in the file.
    static std::size_t blockSize(std::size_t dataSize) { return 12 + (dataSize + 3) / 4 * 4; }

    /// Appends one block. Data of 4 GiB or more throws std::invalid_argument.
    void block(std::uint32_t type, const std::vector<std::uint8_t>& data);
    /// Appends a modifier chain holding `modifiers` in order, the chain's object first; each
    /// modifier's data starts with the chain's name as the file requires.
    void modifierChain(const std::string& name, ChainType type,
                       const std::vector<Block>& modifiers);
    /// Appends blocks another writer framed.
    void append(const U3DBlockWriter& blocks);

    std::size_t size() const { return bytes_.size(); }
    void reserve(std::size_t bytes) { bytes_.reserve(bytes); }
    /// The blocks so far, leaving the writer empty.
    std::vector<std::uint8_t> take();

  private:
    void appendU32(std::uint32_t value);
    void padToFour();

    std::vector<std::uint8_t> bytes_;
};

}  // namespace u3d
