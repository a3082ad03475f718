// The coder works on 16-bit bounds. A block's data is plain little-endian up to its first
// compressed value because an idle coder lets uncompressed bytes through untouched; readers
// rely on that to read names and counts before the coded part. Once the coder is busy, an
// uncompressed byte is coded as one of 256 equally likely symbols with its bits reversed, so
// the decoder recovers it with the same interval arithmetic as any other value.
//
// Adaptive contexts keep only the values they have seen, sorted, because a value can be any
// U32 while the counts stay small: halving at 0x1FFF drops values whose count reaches zero,
// which then escape again exactly as a never-seen value does.

#include "format/U3DBitWriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace u3d {

namespace {

constexpr std::uint32_t kAdaptiveHalvingTotal = 0x1FFF;

/// Every byte with its bit order reversed.
constexpr std::array<std::uint8_t, 256> kReversed = [] {
    std::array<std::uint8_t, 256> reversed{};
    for (unsigned byte = 0; byte < 256; ++byte)
        for (unsigned bit = 0; bit < 8; ++bit)
            if (byte & (1u << bit)) reversed[byte] |= static_cast<std::uint8_t>(0x80u >> bit);
    return reversed;
}();

std::uint32_t reverse16(std::uint32_t value) {
    return kReversed[value & 0xFF] << 8 | kReversed[(value >> 8) & 0xFF];
}

}  // namespace

// Defined before its callers so that the byte path's constant total folds into shifts. The
// bounds live in locals: the bit output in between would otherwise force them through memory.
inline void U3DBitWriter::encode(std::uint32_t cumulative, std::uint32_t frequency,
                                 std::uint32_t total) {
    coded_ = true;
    std::uint32_t low = low_;
    std::uint32_t high = high_;
    const std::uint32_t range = high + 1 - low;
    high = low - 1 + range * (cumulative + frequency) / total;
    low = low + range * cumulative / total;
    // The leading bits high and low share are settled: out they go, most significant first.
    const std::uint32_t differing = high ^ low;
    if (differing < 0x8000) {
        const int settled = differing == 0 ? 16 : __builtin_clz(differing) - 16;
        const std::uint32_t mask = (1u << settled) - 1;
        writeSettledBits(reverse16(low) & mask, settled);
        low = (low << settled) & 0xFFFF;
        high = ((high << settled) & 0xFFFF) | mask;
    }
    while ((low & 0x4000) != 0 && (high & 0x4000) == 0) {
        low = (low << 1) & 0x7FFF;
        high = ((high & 0x7FFF) << 1) | 0x8001;
        ++underflow_;
    }
    low_ = low;
    high_ = high;
}

U3DBitWriter::U3DBitWriter(bool compress) : compress_(compress) {}

std::uint32_t U3DBitWriter::staticContext(std::size_t count) {
    if (count >= kUncompressedContextStart - kStaticContextBase) return kUncompressedContextStart;
    return kStaticContextBase + static_cast<std::uint32_t>(count);
}

void U3DBitWriter::writeU8(std::uint8_t value) {
    writeByte(value);
}

void U3DBitWriter::writeU16(std::uint16_t value) {
    writeByte(static_cast<std::uint8_t>(value));
    writeByte(static_cast<std::uint8_t>(value >> 8));
}

void U3DBitWriter::writeU32(std::uint32_t value) {
    writeU16(static_cast<std::uint16_t>(value));
    writeU16(static_cast<std::uint16_t>(value >> 16));
}

void U3DBitWriter::writeU64(std::uint64_t value) {
    writeU32(static_cast<std::uint32_t>(value));
    writeU32(static_cast<std::uint32_t>(value >> 32));
}

void U3DBitWriter::writeI16(std::int16_t value) {
    writeU16(static_cast<std::uint16_t>(value));
}

void U3DBitWriter::writeI32(std::int32_t value) {
    writeU32(static_cast<std::uint32_t>(value));
}

void U3DBitWriter::writeF32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeU32(bits);
}

void U3DBitWriter::writeF64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeU64(bits);
}

void U3DBitWriter::writeCount(std::size_t count) {
    if (count > 0xFFFFFFFFu)
        throw std::invalid_argument("a count of " + std::to_string(count) +
                                    " is more than a file can hold");
    writeU32(static_cast<std::uint32_t>(count));
}

void U3DBitWriter::writeString(const std::string& value) {
    if (value.size() > 0xFFFF)
        throw std::invalid_argument("a name of " + std::to_string(value.size()) +
                                    " bytes is longer than the 65535 a file can hold");
    writeU16(static_cast<std::uint16_t>(value.size()));
    for (char c : value) writeByte(static_cast<std::uint8_t>(c));
}

void U3DBitWriter::writeCompressedU32(std::uint32_t context, std::uint32_t value) {
    if (context == 0 || context >= kUncompressedContextStart) return writeU32(value);
    if (context >= kStaticContextBase) {
        const std::uint32_t count = context - kStaticContextBase;
        if (value >= count)
            throw std::invalid_argument("value " + std::to_string(value) +
                                        " outside the static range of " + std::to_string(count));
        if (!compress_) return writeU32(value);
        return encode(value, 1, count);
    }
    if (!compress_) return writeU32(value);
    if (adaptive_.empty()) adaptive_.resize(kStaticContextBase);
    writeAdaptive(adaptive_[context], value);
}

std::vector<std::uint8_t> U3DBitWriter::finish() {
    if (coded_) writeU32(0);
    for (; pendingCount_ > 0; pendingCount_ -= 8, pendingBits_ >>= 8)
        bytes_.push_back(static_cast<std::uint8_t>(pendingBits_));
    std::vector<std::uint8_t> data = std::move(bytes_);
    *this = U3DBitWriter(compress_);
    return data;
}

void U3DBitWriter::writeByte(std::uint8_t byte) {
    if (coderIdle()) return writeBits(byte, 8);
    encode(kReversed[byte], 1, 256);
}

void U3DBitWriter::writeBits(std::uint32_t bits, int count) {
    pendingBits_ |= static_cast<std::uint64_t>(bits) << pendingCount_;
    pendingCount_ += count;
    if (pendingCount_ < 32) return;
    const std::size_t end = bytes_.size();
    bytes_.resize(end + 4);
    for (int i = 0; i < 4; ++i)
        bytes_[end + i] = static_cast<std::uint8_t>(pendingBits_ >> (8 * i));
    pendingBits_ >>= 32;
    pendingCount_ -= 32;
}

void U3DBitWriter::writeRepeatedBit(bool bit, std::uint32_t count) {
    while (count > 0) {
        const int run = static_cast<int>(std::min<std::uint32_t>(count, 32));
        writeBits(bit ? static_cast<std::uint32_t>((std::uint64_t{1} << run) - 1) : 0, run);
        count -= static_cast<std::uint32_t>(run);
    }
}

void U3DBitWriter::writeSettledBits(std::uint32_t bits, int count) {
    if (underflow_ == 0) return writeBits(bits, count);
    // The first settled bit resolves the pending underflow: its opposite follows it once each.
    writeBits(bits & 1, 1);
    writeRepeatedBit((bits & 1) == 0, underflow_);
    underflow_ = 0;
    writeBits(bits >> 1, count - 1);
}

void U3DBitWriter::writeAdaptive(AdaptiveTable& table, std::uint32_t value) {
    auto byValue = [](const AdaptiveTable::Tally& tally, std::uint32_t v) {
        return tally.value < v;
    };
    auto& tallies = table.tallies;
    auto found = std::lower_bound(tallies.begin(), tallies.end(), value, byValue);
    if (found == tallies.end() || found->value != value) {
        encode(0, table.escapeCount, table.total);
        prepareIncrement(table);
        ++table.escapeCount;
        ++table.total;
        writeU32(value);
    } else {
        auto addCount = [](std::uint32_t sum, const AdaptiveTable::Tally& t) {
            return sum + t.count;
        };
        const std::uint32_t below =
            std::accumulate(tallies.begin(), found, table.escapeCount, addCount);
        encode(below, found->count, table.total);
    }
    // Halving may have dropped the value: look it up again.
    prepareIncrement(table);
    found = std::lower_bound(tallies.begin(), tallies.end(), value, byValue);
    if (found == tallies.end() || found->value != value) found = tallies.insert(found, {value, 0});
    ++found->count;
    ++table.total;
}

void U3DBitWriter::prepareIncrement(AdaptiveTable& table) {
    if (table.total < kAdaptiveHalvingTotal) return;
    table.escapeCount = table.escapeCount / 2 + 1;
    table.total = table.escapeCount;
    for (auto& tally : table.tallies) {
        tally.count /= 2;
        table.total += tally.count;
    }
    auto emptied = [](const AdaptiveTable::Tally& tally) { return tally.count == 0; };
    table.tallies.erase(std::remove_if(table.tallies.begin(), table.tallies.end(), emptied),
                        table.tallies.end());
}

}  // namespace u3d
