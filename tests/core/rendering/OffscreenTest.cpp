// The offscreen target and its files: buffers, several renderers at once, one's own drawing
// through makeCurrent(), PNG files written and read back, and the failures reported.

#include <GL/gl.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/rendering/SoPNGImage.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

using OffscreenTest = RenderTest;

bool allPixels(const SoOffscreenRenderer& renderer, int r, int g, int b) {
    const SbVec2s size = renderer.getBufferSize();
    return pixelsWhere(renderer, [&](Rgba c) {
               return near(c, r, g, b, 0) && c.a == 255;
           }).at.size() == static_cast<size_t>(size[0] * size[1]);
}

TEST_F(OffscreenTest, RenderersKeepTheirOwnBufferSizeAndBackground) {
    SoSeparator* empty = readScene("");
    SoOffscreenRenderer first(SbViewportRegion(24, 16));
    first.setBackgroundColor(SbColor(0.2f, 0.4f, 0.6f));
    auto second = std::make_unique<SoOffscreenRenderer>(SbViewportRegion(8, 8));
    ASSERT_TRUE(first.render(empty));
    ASSERT_TRUE(second->render(empty));
    EXPECT_EQ(first.getBufferSize(), SbVec2s(24, 16));
    EXPECT_TRUE(allPixels(first, 51, 102, 153));
    EXPECT_TRUE(allPixels(*second, 0, 0, 0));  // black by default
    empty->unref();
    // Destroying one renderer leaves the other drawing; a new window size brings a new buffer.
    // A path renders what lies along it: here the cube, 2 wide, which fills the width of the
    // tall window and as many rows, about the middle.
    second.reset();
    first.setViewportRegion(SbViewportRegion(6, 30));
    SoSeparator* root = readScene(kCamera + kUnlit + "BaseColor { rgb 0 0 1 } Cube { }");
    SoPath* path = new SoPath(root);
    path->ref();
    path->append(0);  // the scene's own separator
    path->append(3);
    ASSERT_TRUE(first.render(path));
    path->unref();
    root->unref();
    EXPECT_EQ(first.getBufferSize(), SbVec2s(6, 30));
    const Pixels blue = pixelsWhere(first, [](Rgba c) { return near(c, 0, 0, 255, 0); });
    EXPECT_EQ(blue.box, (std::array<int, 4>{0, 12, 5, 17}));
    EXPECT_EQ(blue.at.size(), 36u);
    EXPECT_EQ(pixelsWhere(first, [](Rgba c) { return near(c, 51, 102, 153, 0); }).at.size(),
              6u * 30 - 36);
}

TEST_F(OffscreenTest, BadRequestsAreReported) {
    DebugErrorRecorder errors;
    SoOffscreenRenderer renderer(SbViewportRegion(4, 4));
    EXPECT_FALSE(renderer.render(static_cast<SoNode*>(nullptr)));
    EXPECT_FALSE(renderer.render(static_cast<SoPath*>(nullptr)));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 2u) << errors.dump();
    EXPECT_EQ(renderer.getBuffer(), nullptr);
    EXPECT_EQ(SoOffscreenRenderer::getProcAddress(nullptr), nullptr);

    const SbVec2s maximum = SoOffscreenRenderer::getMaximumResolution();
    EXPECT_GE(maximum[0], 2048);
    EXPECT_GE(maximum[1], 2048);
    if (maximum[0] == 32767) return;  // no window size is too wide
    SoOffscreenRenderer tooWide(SbViewportRegion(static_cast<short>(maximum[0] + 1), 4));
    SoSeparator* empty = readScene("");
    EXPECT_FALSE(tooWide.render(empty));
    empty->unref();
    EXPECT_TRUE(errors.contains("SoOffscreenRenderer::makeCurrent", "larger")) << errors.dump();
    EXPECT_EQ(tooWide.getBuffer(), nullptr);
}

template <class F>
F gl(const char* name) {
    return reinterpret_cast<F>(SoOffscreenRenderer::getProcAddress(name));
}

TEST_F(OffscreenTest, RenderLeavesTheGLStateAsItFoundIt) {
    SoOffscreenRenderer renderer(SbViewportRegion(8, 8));
    render(renderer, kCamera + kWhite + rectangle(-1, -1, 0, 1));
    const auto isEnabled = gl<GLboolean (*)(GLenum)>("glIsEnabled");
    EXPECT_FALSE(isEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(isEnabled(GL_BLEND));
    EXPECT_FALSE(isEnabled(GL_LIGHTING));
    GLint depth = 0;
    gl<void (*)(GLenum, GLint*)>("glGetIntegerv")(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    gl<void (*)(GLenum, GLint*)>("glGetIntegerv")(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);

    // One's own drawing is what the buffer then holds.
    ASSERT_TRUE(renderer.makeCurrent());
    gl<void (*)(GLfloat, GLfloat, GLfloat, GLfloat)>("glClearColor")(1, 0.5f, 0, 1);
    gl<void (*)(GLbitfield)>("glClear")(GL_COLOR_BUFFER_BIT);
    gl<void (*)()>("glFinish")();
    EXPECT_TRUE(allPixels(renderer, 255, 128, 0));
    // Settings it leaves that would limit a clear to a corner of the buffer, or to no channel at
    // all, do not keep the next render from clearing the whole buffer.
    gl<void (*)(GLenum)>("glEnable")(GL_SCISSOR_TEST);
    gl<void (*)(GLint, GLint, GLsizei, GLsizei)>("glScissor")(0, 0, 2, 2);
    gl<void (*)(GLboolean, GLboolean, GLboolean, GLboolean)>("glColorMask")(0, 0, 0, 0);
    renderer.setBackgroundColor(SbColor(0, 1, 0));
    render(renderer, "");
    EXPECT_TRUE(allPixels(renderer, 0, 255, 0));
}

// ---- PNG files ----

/// A scratch file of this process, removed again with this object.
class ScratchFile {
  public:
    ~ScratchFile() { std::remove(path_.c_str()); }
    SbString path() const { return SbString(path_.c_str()); }
    void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }

  private:
    static inline int count_ = 0;
    const std::string path_ = ::testing::TempDir() + "tessara_render_" + std::to_string(getpid()) +
                              "_" + std::to_string(++count_);
};

std::string bigEndian(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string chunk(const std::string& type, const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : type + data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return bigEndian(static_cast<uint32_t>(data.size())) + type + data + bigEndian(~crc);
}

/// An 8-bit RGB PNG of the rows given top row first, its pixels in one stored (uncompressed)
/// deflate block, so that no compressor is needed to make it.
std::string handMadePNG(int width, const std::vector<std::string>& rowsTopFirst) {
    std::string raw;
    for (const std::string& row : rowsTopFirst) raw += '\0' + row;  // filter: none
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto n = static_cast<uint16_t>(raw.size());
    const std::string zlib = std::string("\x78\x01\x01", 3) + static_cast<char>(n & 0xFF) +
                             static_cast<char>(n >> 8) + static_cast<char>(~n & 0xFF) +
                             static_cast<char>((~n >> 8) & 0xFF) + raw + bigEndian(b << 16 | a);
    const std::string header = bigEndian(static_cast<uint32_t>(width)) +
                               bigEndian(static_cast<uint32_t>(rowsTopFirst.size())) +
                               std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, plain
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", "");
}

std::vector<int> pixelOf(const SoPNGImage& image, int x, int y) {
    const unsigned char* p = image.getPixel(x, y);
    return std::vector<int>(p, p + image.getNumComponents());
}

TEST_F(OffscreenTest, PNGWrittenElsewhereIsReadBottomUpInTheLayoutAskedFor) {
    ScratchFile file;
    // Top row: red, green. Bottom row: blue, white.
    file.write(handMadePNG(2, {std::string("\xFF\x00\x00\x00\xFF\x00", 6),
                               std::string("\x00\x00\xFF\xFF\xFF\xFF", 6)}));
    SoPNGImage image;
    ASSERT_TRUE(image.read(file.path()));
    EXPECT_EQ(image.getSize(), SbVec2s(2, 2));
    EXPECT_EQ(pixelOf(image, 0, 0), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixelOf(image, 1, 0), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(pixelOf(image, 0, 1), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelOf(image, 1, 1), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(image.getPixel(2, 0), nullptr);
    EXPECT_EQ(image.getPixel(0, -1), nullptr);
    ASSERT_TRUE(image.read(file.path(), 4));
    EXPECT_EQ(pixelOf(image, 1, 1), (std::vector<int>{0, 255, 0, 255}));
    ASSERT_TRUE(image.read(file.path(), 1));
    EXPECT_EQ(pixelOf(image, 1, 0), std::vector<int>{255});  // white stays white
    EXPECT_LT(pixelOf(image, 0, 0), pixelOf(image, 1, 1));   // blue darker than green
}

TEST_F(OffscreenTest, RenderedBufferRoundTripsThroughAPNGFile) {
    // Bottom half red, top half blue, for x up to 0.5 of the [-5/3, 5/3] seen; grey beyond.
    SoOffscreenRenderer renderer(SbViewportRegion(40, 24));
    renderer.setBackgroundColor(SbColor(0.5f, 0.5f, 0.5f));
    render(renderer, kCamera + kUnlit + "BaseColor { rgb 1 0 0 } " + rectangle(-1, -1, 0.5f, 0) +
                         "BaseColor { rgb 0 0 1 } " + rectangle(-1, 0, 0.5f, 1));
    ScratchFile file;
    ASSERT_TRUE(renderer.writeToPNG(file.path()));
    SoPNGImage image;
    ASSERT_TRUE(image.read(file.path()));
    ASSERT_EQ(image.getSize(), SbVec2s(40, 24));
    int differences = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            const Rgba expected = pixelAt(renderer, x, y);
            differences +=
                pixelOf(image, x, y) != std::vector<int>{expected.r, expected.g, expected.b};
        }
    }
    EXPECT_EQ(differences, 0);

    // With alpha, the file holds RGBA and the opaque pixels come back as they were.
    ASSERT_TRUE(renderer.writeToPNG(file.path(), true));
    ASSERT_TRUE(image.read(file.path()));
    EXPECT_EQ(pixelOf(image, 14, 2), (std::vector<int>{255, 0, 0, 255}));
}

TEST_F(OffscreenTest, BadFilesAndImagesAreReportedAndLeaveTheImageAlone) {
    DebugErrorRecorder errors;
    const SbString badPath("/nonexistent-directory/picture.png");
    SoOffscreenRenderer renderer(SbViewportRegion(4, 4));
    EXPECT_FALSE(renderer.writeToPNG(badPath));  // nothing drawn yet
    EXPECT_TRUE(errors.contains("SoOffscreenRenderer::writeToPNG", "Nothing")) << errors.dump();
    render(renderer, "");
    EXPECT_FALSE(renderer.writeToPNG(badPath));
    EXPECT_TRUE(errors.contains("SoPNGImage::write", "/nonexistent-directory/picture.png"));

    const unsigned char grey[] = {7, 9};
    SoPNGImage image(SbVec2s(2, 1), 1, grey);
    errors.clear();
    EXPECT_FALSE(image.read(badPath));
    EXPECT_TRUE(errors.contains("SoPNGImage::read", "picture.png")) << errors.dump();
    ScratchFile notPNG, cut;
    notPNG.write("just some text, not a picture");
    EXPECT_FALSE(image.read(notPNG.path()));
    cut.write(handMadePNG(2, {std::string(6, '\x11'), std::string(6, '\x22')}).substr(0, 40));
    EXPECT_FALSE(image.read(cut.path()));
    EXPECT_FALSE(image.read(cut.path(), 7));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 4u) << errors.dump();
    ASSERT_EQ(image.getSize(), SbVec2s(2, 1));
    EXPECT_EQ(image.getPixel(1, 0)[0], 9);

    errors.clear();
    const unsigned char pixels[16] = {};
    SoPNGImage bad;
    EXPECT_FALSE(bad.setValue(SbVec2s(0, 4), 3, pixels));
    EXPECT_FALSE(bad.setValue(SbVec2s(2, 2), 5, pixels));
    EXPECT_FALSE(bad.setValue(SbVec2s(2, 2), 3, nullptr));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 3u) << errors.dump();
    EXPECT_TRUE(bad.isEmpty());
    EXPECT_FALSE(bad.write(notPNG.path()));
    EXPECT_TRUE(errors.contains("SoPNGImage::write", "No image")) << errors.dump();
}

}  // namespace
