// PNG files: a rendered buffer written and decoded again, a file made byte by byte here
// decoded, the file header checked by hand, and the failures reported.

#include <Tessara/rendering/SoPNGImage.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

using PNGImageTest = RenderTest;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t bigEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// ---- A PNG made by hand: stored (uncompressed) deflate blocks need no compressor ----

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string bigEndianBytes(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string chunk(const std::string& type, const std::string& data) {
    return bigEndianBytes(static_cast<uint32_t>(data.size())) + type + data +
           bigEndianBytes(crc32(type + data));
}

/// A zlib stream of one stored block holding `raw`.
std::string storedZlib(const std::string& raw) {
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = static_cast<uint16_t>(raw.size());
    std::string stream = "\x78\x01";
    stream += '\x01';  // final block, stored
    stream += static_cast<char>(length & 0xFF);
    stream += static_cast<char>(length >> 8);
    stream += static_cast<char>(~length & 0xFF);
    stream += static_cast<char>((~length >> 8) & 0xFF);
    return stream + raw + bigEndianBytes(b << 16 | a);
}

/// An 8-bit RGB PNG of the rows given top row first.
std::string handMadePNG(int width, const std::vector<std::string>& rowsTopFirst) {
    std::string header = bigEndianBytes(static_cast<uint32_t>(width)) +
                         bigEndianBytes(static_cast<uint32_t>(rowsTopFirst.size()));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // depth 8, RGB, no interlace
    std::string raw;
    for (const std::string& row : rowsTopFirst) raw += '\0' + row;  // filter: none
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", storedZlib(raw)) + chunk("IEND", "");
}

std::array<int, 3> rgbAt(const SoPNGImage& image, int x, int y) {
    const unsigned char* p = image.getPixel(x, y);
    return {p[0], p[1], p[2]};
}

TEST_F(PNGImageTest, ReadsRowsBottomUpFromAFileWrittenTopDown) {
    ScratchFile file(".png");
    // Top row: red, green. Bottom row: blue, white.
    std::ofstream(file.path(), std::ios::binary)
        << handMadePNG(2, {std::string("\xFF\x00\x00\x00\xFF\x00", 6),
                           std::string("\x00\x00\xFF\xFF\xFF\xFF", 6)});
    SoPNGImage image;
    ASSERT_TRUE(image.read(SbString(file.path().c_str())));
    EXPECT_EQ(image.getSize(), SbVec2s(2, 2));
    EXPECT_EQ(image.getNumComponents(), 3);
    EXPECT_EQ(rgbAt(image, 0, 0), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(rgbAt(image, 1, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(rgbAt(image, 0, 1), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(rgbAt(image, 1, 1), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(image.getPixel(2, 0), nullptr);
    EXPECT_EQ(image.getPixel(0, -1), nullptr);

    // Asked for other layouts, the decoder converts.
    ASSERT_TRUE(image.read(SbString(file.path().c_str()), 4));
    EXPECT_EQ(image.getNumComponents(), 4);
    EXPECT_EQ(image.getPixel(1, 1)[1], 255);
    EXPECT_EQ(image.getPixel(1, 1)[3], 255);
    ASSERT_TRUE(image.read(SbString(file.path().c_str()), 1));
    EXPECT_EQ(image.getNumComponents(), 1);
    EXPECT_EQ(image.getPixel(1, 0)[0], 255);                             // white stays white
    EXPECT_EQ(image.getPixel(0, 0)[0] < image.getPixel(1, 1)[0], true);  // blue darker than green
}

TEST_F(PNGImageTest, RenderedBufferRoundTripsThroughAFile) {
    addCamera(root);
    // Bottom half red, top half blue, for x up to 0.5 of the [-5/3, 5/3] seen; grey beyond.
    auto* bottom = new SoSeparator;
    addUnlitColor(bottom, SbColor(1, 0, 0));
    bottom->addChild(rectangle(-1, -1, 0.5f, 0));
    root->addChild(bottom);
    addUnlitColor(root, SbColor(0, 0, 1));
    root->addChild(rectangle(-1, 0, 0.5f, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(40, 24));
    renderer.setBackgroundColor(SbColor(0.5f, 0.5f, 0.5f));
    renderRoot(renderer);

    ScratchFile file(".png");
    ASSERT_TRUE(renderer.writeToPNG(SbString(file.path().c_str())));
    const std::string bytes = readFile(file.path());
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian32(bytes, 16), 40u);
    EXPECT_EQ(bigEndian32(bytes, 20), 24u);
    EXPECT_EQ(bytes[24], 8);  // bits per component
    EXPECT_EQ(bytes[25], 2);  // RGB

    SoPNGImage image;
    ASSERT_TRUE(image.read(SbString(file.path().c_str())));
    ASSERT_EQ(image.getSize(), SbVec2s(40, 24));
    ASSERT_EQ(image.getNumComponents(), 3);
    int differences = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            const Rgba expected = pixelAt(renderer, x, y);
            differences +=
                rgbAt(image, x, y) != std::array<int, 3>{expected.r, expected.g, expected.b};
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(rgbAt(image, 14, 2), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(rgbAt(image, 14, 21), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(rgbAt(image, 38, 12), (std::array<int, 3>{128, 128, 128}));
}

TEST_F(PNGImageTest, AlphaIsKeptWhenAskedFor) {
    const unsigned char pixels[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 0};
    const SoPNGImage original(SbVec2s(3, 1), 4, pixels);
    ScratchFile file(".png");
    ASSERT_TRUE(original.write(SbString(file.path().c_str())));
    EXPECT_EQ(readFile(file.path())[25], 6);  // RGBA
    SoPNGImage copy;
    ASSERT_TRUE(copy.read(SbString(file.path().c_str())));
    ASSERT_EQ(copy.getNumComponents(), 4);
    // Fully transparent pixels keep their colour only where the decoder need not
    // premultiply; the visible ones come back exactly.
    EXPECT_EQ(std::vector<unsigned char>(copy.getPixels(), copy.getPixels() + 8),
              std::vector<unsigned char>(pixels, pixels + 8));
    EXPECT_EQ(copy.getPixel(2, 0)[3], 0);

    SoOffscreenRenderer renderer(SbViewportRegion(4, 4));
    renderRoot(renderer);
    ScratchFile rendered(".png");
    ASSERT_TRUE(renderer.writeToPNG(SbString(rendered.path().c_str()), true));
    EXPECT_EQ(readFile(rendered.path())[25], 6);
}

TEST_F(PNGImageTest, UnwritablePathIsReportedAndLeavesNoFile) {
    SoOffscreenRenderer renderer(SbViewportRegion(4, 4));
    DebugErrorRecorder errors;
    const SbString badPath("/nonexistent-directory/picture.png");
    EXPECT_FALSE(renderer.writeToPNG(badPath));  // nothing drawn yet
    EXPECT_TRUE(errors.contains("SoOffscreenRenderer::writeToPNG", "Nothing")) << errors.dump();
    renderRoot(renderer);
    errors.clear();
    EXPECT_FALSE(renderer.writeToPNG(badPath));
    EXPECT_TRUE(errors.contains("SoPNGImage::write", "/nonexistent-directory/picture.png"))
        << errors.dump();
    EXPECT_TRUE(readFile(badPath.getString()).empty());
}

TEST_F(PNGImageTest, UnreadableFilesAreReportedAndLeaveTheImageAlone) {
    const unsigned char grey[] = {7, 9};
    SoPNGImage image(SbVec2s(2, 1), 1, grey);
    DebugErrorRecorder errors;
    EXPECT_FALSE(image.read(SbString("/nonexistent-directory/missing.png")));
    EXPECT_TRUE(errors.contains("SoPNGImage::read", "missing.png")) << errors.dump();

    ScratchFile notPNG(".png");
    std::ofstream(notPNG.path(), std::ios::binary) << "just some text, not a picture";
    EXPECT_FALSE(image.read(SbString(notPNG.path().c_str())));
    ScratchFile cut(".png");
    std::ofstream(cut.path(), std::ios::binary)
        << handMadePNG(2, {std::string(6, '\x11'), std::string(6, '\x22')}).substr(0, 40);
    EXPECT_FALSE(image.read(SbString(cut.path().c_str())));
    EXPECT_FALSE(image.read(SbString(cut.path().c_str()), 7));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 4u) << errors.dump();
    ASSERT_EQ(image.getSize(), SbVec2s(2, 1));
    EXPECT_EQ(image.getPixel(1, 0)[0], 9);
}

TEST_F(PNGImageTest, BadImagesAreRefused) {
    DebugErrorRecorder errors;
    const unsigned char pixels[16] = {};
    SoPNGImage image;
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(image.setValue(SbVec2s(0, 4), 3, pixels));
    EXPECT_FALSE(image.setValue(SbVec2s(2, 2), 5, pixels));
    EXPECT_FALSE(image.setValue(SbVec2s(2, 2), 3, nullptr));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 3u) << errors.dump();
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.getPixels(), nullptr);
    ScratchFile file(".png");
    EXPECT_FALSE(image.write(SbString(file.path().c_str())));
    EXPECT_TRUE(errors.contains("SoPNGImage::write", "No image")) << errors.dump();
}

}  // namespace
