#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace u3d {

/// The data of one block: values go out bit by bit, least significant first, plain while
/// nothing has been compressed and through the arithmetic coder after the first compressed
/// value. One writer per block; finish() ends the block and leaves a fresh writer.
class U3DBitWriter {
  public:
    /// The first static context: context kStaticContextBase + n codes n equally likely values.
    static constexpr std::uint32_t kStaticContextBase = 0x400;
    /// Contexts from here on, and context 0, write the value as a plain U32.
    static constexpr std::uint32_t kUncompressedContextStart = 0x43FF;

    /// With compress false every compressed value is written as a plain U32 and the coder is
    /// never used: the data is plain little-endian throughout.
    explicit U3DBitWriter(bool compress = true);

    /// Room for a block of about `bytes`, so that large blocks grow without copies.
    void reserve(std::size_t bytes) { bytes_.reserve(bytes); }

    /// The static context of indices below `count`; large counts give an uncompressed context.
    static std::uint32_t staticContext(std::size_t count);

    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeU64(std::uint64_t value);
    void writeI16(std::int16_t value);
    void writeI32(std::int32_t value);
    void writeF32(float value);
    void writeF64(double value);
    /// A count or index as a U32; one above 0xFFFFFFFF throws std::invalid_argument.
    void writeCount(std::size_t count);
    template <std::size_t N>
    void writeF32s(const std::array<float, N>& values) {
        for (float value : values) writeF32(value);
    }
    /// A U16 byte length and the bytes; longer than 65535 bytes throws std::invalid_argument.
    void writeString(const std::string& value);

    /// Context 0 or >= kUncompressedContextStart: plain U32. Static contexts: `value` must be
    /// below the context's count, else (and for the empty context kStaticContextBase)
    /// std::invalid_argument. Contexts 1 to 0x3FF adapt to the values they have seen.
    void writeCompressedU32(std::uint32_t context, std::uint32_t value);

    /// Flushes the coder when anything was coded, pads to a byte and returns the block's data.
    std::vector<std::uint8_t> finish();

  private:
    /// Counts of one adaptive context: the escape and the values seen, by value.
    struct AdaptiveTable {
        struct Tally {
            std::uint32_t value;
            std::uint32_t count;
        };
        std::uint32_t escapeCount = 1;
        std::uint32_t total = 1;
        std::vector<Tally> tallies;  ///< sorted by value, counts above zero
    };

    void writeByte(std::uint8_t byte);
    void writeBits(std::uint32_t bits, int count);
    void writeRepeatedBit(bool bit, std::uint32_t count);
    inline void encode(std::uint32_t cumulative, std::uint32_t frequency, std::uint32_t total);
    /// Bits the coder has settled, in output order, after any pending underflow bits.
    void writeSettledBits(std::uint32_t bits, int count);
    void writeAdaptive(AdaptiveTable& table, std::uint32_t value);
    static void prepareIncrement(AdaptiveTable& table);
    bool coderIdle() const { return high_ == 0xFFFF && low_ == 0 && underflow_ == 0; }

    bool compress_;
    std::vector<std::uint8_t> bytes_;  ///< complete 32-bit words, least significant bit first
    std::uint64_t pendingBits_ = 0;    ///< bits not yet in a complete word
    int pendingCount_ = 0;
    std::uint32_t high_ = 0xFFFF;
    std::uint32_t low_ = 0;
    std::uint32_t underflow_ = 0;
    bool coded_ = false;
    std::vector<AdaptiveTable> adaptive_;  ///< by context, created on first use
};

}  // namespace u3d
