#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace u3dread {

/// Throws std::runtime_error("U3D: <what> at byte <byteOffset>").
[[noreturn]] void throwAt(std::size_t byteOffset, const std::string& what);

/// Decodes one U3D block's data as the writer's bit writer put it there: plain little-endian
/// bytes until the first compressed value, arithmetic-coded after it (or plain throughout in
/// no-compression mode, the profile's bit 0x4). Any inconsistency throws, naming its byte.
class U3DBitReader {
  public:
    /// `data` must outlive the reader; `fileOffset` is where it starts in the file.
    U3DBitReader(const std::uint8_t* data, std::size_t size, bool noCompression = false,
                 std::size_t fileOffset = 0);
    explicit U3DBitReader(const std::vector<std::uint8_t>& data, bool noCompression = false)
        : U3DBitReader(data.data(), data.size(), noCompression) {}
    U3DBitReader(std::vector<std::uint8_t>&&, bool = false) = delete;  ///< would dangle

    std::uint8_t readU8();
    std::uint16_t readU16() { return std::uint16_t(readLittleEndian(2)); }
    std::uint32_t readU32() { return std::uint32_t(readLittleEndian(4)); }
    std::uint64_t readU64() { return readLittleEndian(8); }
    std::int16_t readI16() { return bitCast<std::int16_t>(readU16()); }
    std::int32_t readI32() { return bitCast<std::int32_t>(readU32()); }
    float readF32() { return bitCast<float>(readU32()); }
    double readF64() { return bitCast<double>(readU64()); }
    std::string readString();
    /// Context 0 or >= 0x43FF: a plain U32; 0x401-0x43FE: static, uniform over context - 0x400
    /// symbols; 1-0x3FF: adaptive with escape. Context 0x400 is none of these and throws.
    std::uint32_t readCompressedU32(std::uint32_t context);
    /// Reads the flush value if anything was read compressed; the data must end with the
    /// zero-padded byte that holds the last bit read.
    void finish();

    /// The file offset of the byte holding the next unread bit.
    std::size_t byteOffset() const { return fileOffset_ + bitsConsumed() / 8; }
    [[noreturn]] void fail(const std::string& what) const { throwAt(byteOffset(), what); }

  private:
    /// An adaptive context's counts by symbol (the escape is 0, value v is v + 1) and their sum.
    struct Counts {
        std::map<std::uint64_t, std::uint32_t> bySymbol{{0, 1}};
        std::uint32_t total = 1;
        void add(std::uint64_t symbol);
    };

    template <typename To, typename From>
    static To bitCast(From bits) {
        To value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    /// How many bits the writer had emitted when it had written what was read so far.
    std::uint64_t bitsConsumed() const { return position_ - 16 - underflow_; }
    void requireWithinData() const;
    std::uint32_t nextBit();
    std::uint64_t readLittleEndian(unsigned byteCount);
    std::uint32_t readAdaptive(Counts& counts);
    std::uint32_t target(std::uint32_t total) const;
    void narrow(std::uint32_t cumulative, std::uint32_t frequency, std::uint32_t total);

    const std::uint8_t* data_;
    std::size_t size_, fileOffset_;
    bool noCompression_, readCompressed_ = false;
    std::uint64_t position_ = 0, underflow_ = 0;  ///< bits shifted into code_; pending bits
    std::uint32_t code_ = 0, low_ = 0, high_ = 0xFFFF;
    std::map<std::uint32_t, Counts> contexts_;
};

}  // namespace u3dread
