// The U3D writer's bit stream decoded by the independent reader: static ranges at their edges
// (1, 2, the largest, and the two past it that fall back to plain values), an adaptive context
// long enough to halve its counts, plain values between coded ones, and both profiles.

#include <gtest/gtest.h>

#include <random>

#include "format/U3DBitWriter.h"
#include "support/U3DBitReader.h"

namespace {

struct Value {
    std::uint32_t context;  // 0: a plain U8
    std::uint32_t value;
};

std::vector<Value> randomValues(std::uint32_t seed) {
    std::mt19937 random(seed);
    const std::uint32_t ranges[] = {1, 2, 16382, 16383, 16384};
    std::vector<Value> values;
    for (int i = 0; i < 40000; ++i) {  // a quarter adaptive: past the 0x1FFF halving
        const std::uint32_t range = ranges[random() % 5];
        switch (random() % 4) {
            case 0:  // an adaptive context favouring small values: it halves its counts often
                values.push_back({1, static_cast<std::uint32_t>(random() % 7 * (random() % 3))});
                break;
            case 1:
                values.push_back({0, static_cast<std::uint32_t>(random() % 256)});
                break;
            default:
                values.push_back({u3d::U3DBitWriter::kStaticContextBase + range,
                                  static_cast<std::uint32_t>(random() % range)});
        }
    }
    return values;
}

TEST(ArithmeticCoder, TheReaderDecodesWhatTheWriterCoded) {
    for (const bool compress : {true, false}) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(std::to_string(seed) + (compress ? " compressed" : " plain"));
            const std::vector<Value> values = randomValues(seed);
            u3d::U3DBitWriter writer(compress);
            for (const Value& v : values)
                v.context ? writer.writeCompressedU32(v.context, v.value)
                          : writer.writeU8(static_cast<std::uint8_t>(v.value));
            const std::vector<std::uint8_t> data = writer.finish();
            u3dread::U3DBitReader reader(data, !compress);
            for (size_t i = 0; i < values.size(); ++i) {
                const Value& v = values[i];
                ASSERT_EQ(v.context ? reader.readCompressedU32(v.context) : reader.readU8(),
                          v.value)
                    << i << " in context " << v.context;
            }
            EXPECT_NO_THROW(reader.finish());
        }
    }
}

}  // namespace
