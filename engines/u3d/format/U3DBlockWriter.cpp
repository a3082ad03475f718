#include "format/U3DBlockWriter.h"

#include <stdexcept>

#include "format/U3DBitWriter.h"

namespace u3d {

namespace {

constexpr std::uint32_t kModifierChain = 0xFFFFFF14;

}  // namespace

void U3DBlockWriter::block(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (data.size() > 0xFFFFFFFFu)
        throw std::invalid_argument("a block of " + std::to_string(data.size()) +
                                    " bytes is larger than a file can hold");
    appendU32(type);
    appendU32(static_cast<std::uint32_t>(data.size()));
    appendU32(0);  // no metadata
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    padToFour();
}

void U3DBlockWriter::modifierChain(const std::string& name, ChainType type,
                                   const std::vector<Block>& modifiers) {
    U3DBitWriter head;
    head.writeString(name);
    head.writeU32(static_cast<std::uint32_t>(type));
    head.writeU32(0);  // no bounds follow
    // The count and the blocks after it start on a four-byte boundary of the data.
    for (std::size_t length = 2 + name.size() + 8; length % 4 != 0; ++length) head.writeU8(0);
    head.writeCount(modifiers.size());
    U3DBlockWriter chain;
    chain.bytes_ = head.finish();
    for (const Block& modifier : modifiers) chain.block(modifier.type, modifier.data);
    block(kModifierChain, chain.bytes_);
}

void U3DBlockWriter::append(const U3DBlockWriter& blocks) {
    bytes_.insert(bytes_.end(), blocks.bytes_.begin(), blocks.bytes_.end());
}

std::vector<std::uint8_t> U3DBlockWriter::take() {
    std::vector<std::uint8_t> bytes = std::move(bytes_);
    bytes_.clear();
    return bytes;
}

void U3DBlockWriter::appendU32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void U3DBlockWriter::padToFour() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
}

}  // namespace u3d
