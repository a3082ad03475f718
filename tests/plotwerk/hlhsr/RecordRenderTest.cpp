// Records drawn into the core's offscreen buffer in their identifier colour: the shape each
// one covers, the colour bytes, and the polygon offset a polygon brings along.

#include <GL/gl.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

#include <array>

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

constexpr short SIZE = 32;

template <class F>
F glFunction(const char* name) {
    return reinterpret_cast<F>(SoOffscreenRenderer::getProcAddress(name));
}

/// A 32 x 32 buffer showing -1 .. 1 in x and y (the default GL projection), cleared white.
class RecordRender : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPolygon::resetRenderState();
        ASSERT_TRUE(renderer.makeCurrent());
        glFunction<decltype(&glClearColor)>("glClearColor")(1, 1, 1, 1);
        glFunction<decltype(&glClear)>("glClear")(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override { SoPolygon::resetRenderState(); }

    /// The RGBA bytes of pixel (x, y), rows from the bottom, once drawing has finished.
    std::vector<int> pixel(int x, int y) {
        glFunction<decltype(&glFinish)>("glFinish")();
        const unsigned char* p = renderer.getBuffer() + (y * SIZE + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    float getFloat(GLenum what) {
        float value = 0;
        glFunction<decltype(&glGetFloatv)>("glGetFloatv")(what, &value);
        return value;
    }

    SoOffscreenRenderer renderer{SbViewportRegion(SIZE, SIZE)};
};

}  // namespace

// Text and images stand for a dot of their size at their anchor.
TEST_F(RecordRender, EachKindCoversItsShapeInTheIdentifierBytes) {
    SoGraphicText2D text;
    const SbString lines[1] = {SbString("t")};
    text.set(SbVec4f(-0.5f, -0.5f, 0, 1), SbColor(0, 0, 0), SbString("F"), 6.0f, 1, lines, 1, 0, 0);
    SoGraphicImage image;
    image.set(SbVec4f(0.5f, 0.5f, 0, 1), nullptr, SbVec2s(2, 4), SbVec2s(2, 4), 3, 0, 0);
    std::unique_ptr<SoPolygon> quarter(square(-1, -1, 0, 0, 0));
    std::unique_ptr<SoPolyLine> line(segment(pt(-1, 0.03f, 0), pt(1, 0.03f, 0)));
    std::unique_ptr<SoPolyMark> dot(mark(pt(-0.47f, -0.47f, 0)));
    const struct {
        SoGraphicPrimitive* record;
        std::vector<std::array<int, 2>> inside, outside;
    } cases[] = {
        {quarter.get(), {{4, 4}, {12, 12}}, {{20, 20}, {4, 20}}},
        {line.get(), {{3, 16}, {28, 16}}, {{3, 20}}},
        {dot.get(), {{8, 8}}, {{10, 10}}},
        {&text, {{8, 8}, {5, 5}}, {{3, 3}}},
        {&image, {{21, 21}}, {{29, 29}}},
    };
    const std::vector<int> white{255, 255, 255, 255}, bytes{1, 2, 3, 4};
    for (size_t k = 0; k < std::size(cases); ++k) {
        ASSERT_TRUE(renderer.makeCurrent());
        glFunction<decltype(&glClear)>("glClear")(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cases[k].record->render(0x04030201u);
        for (const auto& p : cases[k].inside) EXPECT_EQ(pixel(p[0], p[1]), bytes) << "case " << k;
        for (const auto& p : cases[k].outside) EXPECT_EQ(pixel(p[0], p[1]), white) << "case " << k;
    }
}

TEST_F(RecordRender, PolygonOffsetIsSetOnlyWhenItChanges) {
    std::unique_ptr<SoPolygon> offset(square(-1, -1, 0, 0, 0));
    offset->offsetFactor = 2.0f;
    offset->offsetUnits = 3.0f;
    offset->render(1);
    EXPECT_EQ(getFloat(GL_POLYGON_OFFSET_FACTOR), 2.0f);
    EXPECT_EQ(getFloat(GL_POLYGON_OFFSET_UNITS), 3.0f);
    // Someone else changes the offset; the same pair again is not applied a second time.
    glFunction<decltype(&glPolygonOffset)>("glPolygonOffset")(5.0f, 5.0f);
    offset->render(1);
    EXPECT_EQ(getFloat(GL_POLYGON_OFFSET_FACTOR), 5.0f);
    std::unique_ptr<SoPolygon> none(square(0, 0, 1, 1, 0));
    none->render(2);
    EXPECT_EQ(glFunction<decltype(&glIsEnabled)>("glIsEnabled")(GL_POLYGON_OFFSET_FILL), GL_FALSE);
    EXPECT_EQ(getFloat(GL_POLYGON_OFFSET_FACTOR), 0.0f);
}
