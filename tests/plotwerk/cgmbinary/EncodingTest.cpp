// The byte level of binary metafiles, where the format fixes every byte: command headers in
// short and long form, partitions, the pad byte, reals in the four precisions, strings, and
// when the write buffer lets them reach the file.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "CGMBinaryFixture.h"

namespace cgmtest {
namespace {

struct Framing {
    int cls, id, length;
    const char* header;
    std::vector<std::pair<std::size_t, const char*>> partitionWords;  // offset, word
};

TEST(CGMFraming, HeadersPartitionsAndPadding) {
    const Framing cases[] = {
        {4, 1, 8, "40 28", {}},
        {1, 2, 30, "10 5E", {}},  // the longest short form
        {4, 1, 31, "40 3F 00 1F", {}},
        {4, 1, 32760, "40 3F 7F F8", {}},  // one full partition, not continued
        {4, 1, 32761, "40 3F FF F8", {{4 + 32760, "00 01"}}},
        {4, 1, 40000, "40 3F FF F8", {{4 + 32760, "1C 48"}}},
        {4, 1, 2 * 32760, "40 3F FF F8", {{4 + 32760, "7F F8"}}},
        {5, 34, 70000, "54 5F FF F8", {{4 + 32760, "FF F8"}, {4 + 2 * 32760 + 2, "11 80"}}},
    };
    for (const Framing& c : cases) {
        SCOPED_TRACE(c.length);
        Sink sink;
        sink.writer.PWriteHeader(c.cls, c.id, c.length);
        for (int i = 0; i < c.length; ++i) sink.writer.PWriteChar(static_cast<unsigned>(i * 7));
        EXPECT_EQ(sink.writer.getRemaining(), 0);
        sink.writer.PWriteHeader(0, 2, 0);
        const std::string bytes = sink.bytes();
        const std::size_t head = c.length < 31 ? 2 : 4;
        const std::size_t pad = c.length % 2;
        ASSERT_EQ(bytes.size(), head + c.length + 2 * c.partitionWords.size() + pad + 2);
        EXPECT_EQ(hex(bytes.substr(0, head)), c.header);
        // The parameters come through whole once the partition words are taken out; an odd
        // element is followed by a 0 pad byte before the next header.
        std::string params = bytes.substr(head, bytes.size() - head - pad - 2);
        for (auto word = c.partitionWords.rbegin(); word != c.partitionWords.rend(); ++word) {
            EXPECT_EQ(hex(bytes.substr(word->first, 2)), word->second);
            params.erase(word->first - head, 2);
        }
        ASSERT_EQ(params.size(), static_cast<std::size_t>(c.length));
        for (int i = 0; i < c.length; ++i)
            ASSERT_EQ(static_cast<unsigned char>(params[i]), (i * 7) & 0xFF) << i;
        EXPECT_EQ(hex(bytes.substr(bytes.size() - 2 - pad)), pad ? "00 00 40" : "00 40");
    }
}

std::string encode(double x, int code) {
    unsigned char bytes[8] = {};
    const int count = SoCGMBinaryReal::encode(x, code, bytes);
    return hex(std::string(bytes, bytes + count));
}

// Values a precision cannot hold are reported and replaced: non-finite ones by 0, others by
// the nearest value it holds; an unknown precision gives zeros and an error.
// Exact floating-point values are the seeded check below.
TEST(CGMReals, TheFourPrecisions) {
    using R = SoCGMBinaryReal;
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        int code;
        const char* bytes;
        std::size_t posts;
    } cases[] = {
        {0.0, R::FLOAT32, "00 00 00 00", 0},
        {0.1, R::FLOAT32, "3D CC CC CC", 0},        // the fraction is cut, where rounding gives CD
        {1e-40, R::FLOAT32, "00 00 00 00", 0},      // below the smallest normal number
        {0x1.8p127, R::FLOAT32, "7F 40 00 00", 0},  // the top binade is still a float
        {1e300, R::FLOAT32, "7F 7F FF FF", 1},      // the largest float
        {-1e300, R::FLOAT32, "FF 7F FF FF", 1},
        {std::nan(""), R::FLOAT32, "00 00 00 00", 1},
        {0.0, R::FLOAT64, "00 00 00 00 00 00 00 00", 0},
        {inf, R::FLOAT64, "00 00 00 00 00 00 00 00", 1},
        {1.5, R::FIXED32, "00 01 7F FF", 0},  // the fraction counts in 65535ths
        {-0.5, R::FIXED32, "FF FF 7F FF", 0},
        {-2.0, R::FIXED32, "FF FD FF FF", 0},  // a negative whole number counts down one more
        {0.0, R::FIXED32, "00 00 00 00", 0},
        {70000.5, R::FIXED32, "11 70 7F FF", 0},  // the low 16 bits of the whole part
        {-inf, R::FIXED32, "00 00 00 00", 1},
        {1.5, R::FIXED64, "00 00 00 01 7F FF FF FF", 0},
        {-2.0, R::FIXED64, "FF FF FF FD FF FF FF FF", 0},
        {70000.0, R::FIXED64, "00 01 11 70 00 00 00 00", 0},
        {1e20, R::FIXED64, "7F FF FF FF 00 00 00 00", 1},
        {-1e20, R::FIXED64, "80 00 00 00 FF FF FF FF", 1},
        {1.0, 5, "00 00 00 00", 1},
        {1.0, 0, "00 00 00 00 00 00 00 00", 1},
    };
    for (const auto& c : cases) {
        DebugErrorRecorder errors;
        EXPECT_EQ(encode(c.x, c.code), c.bytes) << c.x << " " << c.code;
        EXPECT_EQ(errors.size(), c.posts) << c.x << " " << c.code << errors.dump();
        EXPECT_EQ(errors.contains("SoCGMBinaryReal::encode"), c.posts > 0) << errors.dump();
    }
}

/// The bytes of an IEEE 754 number, most significant first.
template <class Bits, class Real>
std::string ieee(Real v) {
    Bits bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    std::string bytes;
    for (int shift = 8 * sizeof bits - 8; shift >= 0; shift -= 8)
        bytes += static_cast<char>(bits >> shift);
    return hex(bytes);
}

// Floating point is IEEE 754, single precision cut rather than rounded: values a float holds
// exactly come out as their own bit pattern.
TEST(CGMReals, FloatingPointIsTheIeeeBitPattern) {
    std::mt19937 random(8632);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-120, 120), sign(0, 1);
    for (int round = 0; round < 400; ++round) {
        const double d = (sign(random) ? -1 : 1) * std::ldexp(mantissa(random), exponent(random));
        const float f = static_cast<float>(d);
        ASSERT_EQ(encode(f, SoCGMBinaryReal::FLOAT32), ieee<std::uint32_t>(f)) << f;
        ASSERT_EQ(encode(d, SoCGMBinaryReal::FLOAT64), ieee<std::uint64_t>(d)) << d;
    }
}

TEST(CGMStrings, LengthFormsAndCharacters) {
    const struct {
        SbString text;
        const char* start;  // the first bytes written
        int length;         // all bytes written, as PStrLen tells them too
    } cases[] = {
        {SbString(), "00", 1},
        {SbString("Binary"), "06 42 69 6E 61 72 79", 7},
        {SbString(std::string(254, 'a')), "FE 61", 255},
        {SbString(std::string(255, 'b')), "FF 00 FF 62", 258},
        {SbString(std::string(300, 'x')), "FF 01 2C 78", 303},
        // Latin-1 characters as their bytes, whether the string holds them as Unicode or not
        {SbString(u"Gr\u00FC\u00DFe"), "05 47 72 FC DF 65", 6},
        {SbString::fromLatin1("Gr\xFC\xDF"
                              "e"),
         "05 47 72 FC DF 65", 6},
        // beyond Latin-1, the low byte of each UTF-16 unit: D83D DE00 for U+1F600
        {SbString(u"a\u20ACb"), "03 61 AC 62", 4},
        {SbString(u"x\U0001F600"), "03 78 3D 00", 4},
    };
    for (const auto& c : cases) {
        Sink sink;
        EXPECT_EQ(SoCGMBinaryWriter::PStrLen(c.text), c.length) << c.start;
        sink.writer.PWriteString(c.text);
        const std::string bytes = sink.bytes();
        EXPECT_EQ(bytes.size(), static_cast<std::size_t>(c.length)) << c.start;
        EXPECT_EQ(hex(bytes.substr(0, (std::strlen(c.start) + 1) / 3)), c.start);
    }
    // Beyond the longest length a word can give, the text is cut and that is reported.
    Sink sink;
    DebugErrorRecorder errors;
    const SbString overlong(std::string(40000, 'z'));
    EXPECT_EQ(SoCGMBinaryWriter::PStrLen(overlong), 32767 + 3);
    EXPECT_EQ(errors.size(), 0u);  // measuring reports nothing
    sink.elements.Pmfdesc(overlong);
    const std::string bytes = sink.bytes();
    EXPECT_EQ(hex(bytes.substr(0, 8)), "10 5F FF F8 FF 7F FF 7A");
    EXPECT_EQ(bytes.size(), 4u + 32770u + 2u);  // a second partition holds the last 10 bytes
    EXPECT_TRUE(errors.contains("SoCGMBinaryWriter::PWriteString", "40000")) << errors.dump();
}

// Integer VDC are cut towards zero in the VDC integer precision; values no int holds are
// clamped, and NaN is 0.
TEST(CGMVdc, IntegersAreTruncatedAndClamped) {
    Sink sink;
    sink.writer.setIntegerPrecision(4);
    for (const double v : {12.9, -3.7}) sink.writer.PWriteVDC(v);
    sink.writer.setVdcIntegerPrecision(4);
    for (const double v : {1e12, -1e12, std::nan("")}) sink.writer.PWriteVDC(v);
    sink.writer.setVdcIntegerPrecision(1);
    sink.writer.PWriteVDC(300.0);
    sink.writer.PWriteInt(7);
    EXPECT_EQ(hex(sink.bytes()), "00 0C FF FD 7F FF FF FF 80 00 00 00 00 00 00 00 2C 00 00 00 07");
}

// The write buffer between the writer and the file: when bytes reach the file.
TEST(CGMWriteBuffer, BytesReachTheFileWhenTheBufferIsFullOrFlushed) {
    for (const int size : {1, 7, SoCGMBinaryWriter::kDefaultBufferSize}) {
        SCOPED_TRACE(size);
        Sink sink(size);
        std::string written;
        for (int i = 0; i < size; ++i) {
            written += static_cast<char>(i * 3);
            sink.writer.fillWriteBufferChar(written.back());
        }
        // Unbuffered, every byte is in the file at once; buffered, none until one more comes.
        EXPECT_EQ(sink.fileBytes(), size == 1 ? written : "");
        sink.writer.fillWriteBufferChar('x');
        EXPECT_EQ(sink.fileBytes(), written + (size == 1 ? "x" : ""));
        sink.writer.flushWriteBuffer();
        sink.writer.flushWriteBuffer();
        EXPECT_EQ(sink.fileBytes(), written + "x");
        // A new document starts from an empty buffer: what was not flushed is dropped.
        sink.writer.fillWriteBufferChar('y');
        sink.writer.allocateBuffer();
        sink.writer.flushWriteBuffer();
        EXPECT_EQ(sink.fileBytes(), written + (size == 1 ? "xy" : "x"));
        EXPECT_EQ(sink.writer.hasBuffer(), size > 1);
    }
}

}  // namespace
}  // namespace cgmtest
