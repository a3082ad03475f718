#include "support/U3DBitReader.h"

#include <iterator>
#include <stdexcept>

// The decoder mirrors the writer's coder step for step: the same `low`, `high` and underflow
// count, narrowed and renormalised by the same rules, plus a 16-bit `code` register holding
// the stream bits from where the writer stood. So the reader knows when the writer was idle
// and wrote a byte's bits directly, and how many bits the writer had emitted (bits shifted
// in, less the register, less the pending underflow bits), which finish() checks against the
// data size. Bits past the data read as zero: the writer's flush leaves its last interval
// reachable from the emitted bits followed by zeros.

namespace u3dread {

void throwAt(std::size_t byteOffset, const std::string& what) {
    throw std::runtime_error("U3D: " + what + " at byte " + std::to_string(byteOffset));
}

U3DBitReader::U3DBitReader(const std::uint8_t* data, std::size_t size, bool noCompression,
                           std::size_t fileOffset)
    : data_(data), size_(size), fileOffset_(fileOffset), noCompression_(noCompression) {
    for (int i = 0; i < 16; ++i) code_ = (code_ << 1) | nextBit();
}

void U3DBitReader::requireWithinData() const {
    if (bitsConsumed() > std::uint64_t(size_) * 8) fail("read past the end of the data");
}

std::uint32_t U3DBitReader::nextBit() {
    const std::uint64_t at = position_++;
    return at < std::uint64_t(size_) * 8 ? (data_[at / 8] >> (at % 8)) & 1u : 0u;
}

std::uint8_t U3DBitReader::readU8() {
    std::uint32_t byte = 0;
    if (low_ == 0 && high_ == 0xFFFF && underflow_ == 0) {  // idle: the bits went out directly
        for (int bit = 0; bit < 8; ++bit) {
            byte |= ((code_ >> 15) & 1) << bit;
            code_ = ((code_ << 1) | nextBit()) & 0xFFFF;
        }
        requireWithinData();
    } else {  // coded with its bit order reversed
        const std::uint32_t reversed = target(256);
        narrow(reversed, 1, 256);
        for (int bit = 0; bit < 8; ++bit) byte |= ((reversed >> bit) & 1) << (7 - bit);
    }
    return std::uint8_t(byte);
}

std::uint64_t U3DBitReader::readLittleEndian(unsigned byteCount) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < byteCount; ++i) value |= std::uint64_t(readU8()) << (8 * i);
    return value;
}

std::string U3DBitReader::readString() {
    std::string text(readU16(), '\0');
    for (char& c : text) c = char(readU8());
    return text;
}

std::uint32_t U3DBitReader::readCompressedU32(std::uint32_t context) {
    if (noCompression_) return readU32();
    readCompressed_ = true;
    if (context == 0 || context >= 0x43FF) return readU32();
    if (context == 0x400) fail("compressed value in context 0x400, which is no context");
    if (context < 0x400) return readAdaptive(contexts_[context]);
    const std::uint32_t value = target(context - 0x400);
    narrow(value, 1, context - 0x400);
    return value;
}

std::uint32_t U3DBitReader::readAdaptive(Counts& counts) {
    const std::uint32_t at = target(counts.total);
    std::uint32_t cumulative = 0;
    for (const auto& [symbol, count] : counts.bySymbol) {
        if (at >= cumulative + count) {
            cumulative += count;
            continue;
        }
        const std::uint64_t found = symbol;  // add() may erase the entry
        narrow(cumulative, count, counts.total);
        counts.add(found);
        if (found != 0) return std::uint32_t(found - 1);
        const std::uint32_t value = readU32();  // after the escape
        if (counts.bySymbol.count(value + 1ull) != 0) fail("escape coded for a known value");
        counts.add(value + 1ull);
        return value;
    }
    fail("adaptive context total out of step with its counts");
}

void U3DBitReader::Counts::add(std::uint64_t symbol) {
    if (total >= 0x1FFF) {  // halve every count; the escape keeps at least 1
        total = 0;
        for (auto it = bySymbol.begin(); it != bySymbol.end();) {
            it->second = it->second / 2 + (it->first == 0 ? 1 : 0);
            total += it->second;
            it = it->second == 0 ? bySymbol.erase(it) : std::next(it);
        }
    }
    ++bySymbol[symbol];
    ++total;
}

// The symbol whose interval the writer's narrowing maps onto one that contains `code`.
std::uint32_t U3DBitReader::target(std::uint32_t total) const {
    const std::uint64_t range = std::uint64_t(high_) + 1 - low_;
    return std::uint32_t(((std::uint64_t(code_) - low_ + 1) * total - 1) / range);
}

void U3DBitReader::narrow(std::uint32_t cumulative, std::uint32_t frequency, std::uint32_t total) {
    const std::uint64_t range = std::uint64_t(high_) + 1 - low_;
    high_ = std::uint32_t(low_ - 1 + range * (cumulative + frequency) / total);
    low_ = std::uint32_t(low_ + range * cumulative / total);
    while (((high_ ^ low_) & 0x8000) == 0) {
        low_ = (low_ & 0x7FFF) << 1;
        high_ = ((high_ & 0x7FFF) << 1) | 1;
        code_ = ((code_ & 0x7FFF) << 1) | nextBit();
        underflow_ = 0;
    }
    while ((low_ & 0x4000) != 0 && (high_ & 0x4000) == 0) {
        low_ = (low_ << 1) & 0x7FFF;
        high_ = ((high_ & 0x7FFF) << 1) | 0x8001;
        code_ = (((code_ ^ 0x4000) << 1) | nextBit()) & 0xFFFF;
        ++underflow_;
    }
    requireWithinData();
}

void U3DBitReader::finish() {
    if (readCompressed_ && readU32() != 0) fail("the flush value is not 0");
    const std::uint64_t used = bitsConsumed();
    if ((used + 7) / 8 != size_) fail("values ending after bit " + std::to_string(used));
    for (std::uint64_t bit = used; bit < std::uint64_t(size_) * 8; ++bit)
        if ((data_[bit / 8] >> (bit % 8)) & 1) fail("nonzero padding bits after the values");
}

}  // namespace u3dread
