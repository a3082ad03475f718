// The offscreen target: context creation, clearing, buffer sizes, several renderers at
// once, and one's own fixed-function drawing through makeCurrent().

#include <GL/gl.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoCube.h>

#include <memory>
#include <vector>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

using OffscreenRendererTest = RenderTest;

bool allPixels(const SoOffscreenRenderer& renderer, int r, int g, int b) {
    const SbVec2s size = renderer.getBufferSize();
    return countPixels(renderer, [&](Rgba c) { return near(c, r, g, b, 0) && c.a == 255; }) ==
           size[0] * size[1];
}

TEST_F(OffscreenRendererTest, ClearsTheWholeBufferToTheBackground) {
    SoOffscreenRenderer renderer(SbViewportRegion(24, 16));
    EXPECT_EQ(renderer.getBuffer(), nullptr);
    EXPECT_EQ(renderer.getBufferSize(), SbVec2s(0, 0));
    renderer.setBackgroundColor(SbColor(0.2f, 0.4f, 0.6f));
    EXPECT_EQ(renderer.getBackgroundColor(), SbColor(0.2f, 0.4f, 0.6f));
    ASSERT_TRUE(renderer.render(root));
    ASSERT_NE(renderer.getBuffer(), nullptr);
    EXPECT_EQ(renderer.getBufferSize(), SbVec2s(24, 16));
    EXPECT_TRUE(allPixels(renderer, 51, 102, 153));
}

TEST_F(OffscreenRendererTest, BackgroundIsBlackByDefault) {
    SoOffscreenRenderer renderer(SbViewportRegion(8, 8));
    ASSERT_TRUE(renderer.render(root));
    EXPECT_TRUE(allPixels(renderer, 0, 0, 0));
}

TEST_F(OffscreenRendererTest, BufferFollowsANewWindowSize) {
    SoOffscreenRenderer renderer(SbViewportRegion(16, 8));
    renderer.setBackgroundColor(SbColor(1, 0, 0));
    ASSERT_TRUE(renderer.render(root));
    EXPECT_EQ(renderer.getBufferSize(), SbVec2s(16, 8));
    renderer.setViewportRegion(SbViewportRegion(6, 30));
    EXPECT_EQ(renderer.getViewportRegion().getWindowSize(), SbVec2s(6, 30));
    renderer.setBackgroundColor(SbColor(0, 1, 0));
    ASSERT_TRUE(renderer.render(root));
    EXPECT_EQ(renderer.getBufferSize(), SbVec2s(6, 30));
    EXPECT_TRUE(allPixels(renderer, 0, 255, 0));
}

TEST_F(OffscreenRendererTest, SeveralRenderersKeepTheirOwnPictures) {
    SoOffscreenRenderer red(SbViewportRegion(8, 8)), green(SbViewportRegion(16, 12)),
        blue(SbViewportRegion(4, 4));
    red.setBackgroundColor(SbColor(1, 0, 0));
    green.setBackgroundColor(SbColor(0, 1, 0));
    blue.setBackgroundColor(SbColor(0, 0, 1));
    ASSERT_TRUE(red.render(root));
    ASSERT_TRUE(green.render(root));
    ASSERT_TRUE(blue.render(root));
    // Drawing again with the first one must not touch the others' buffers.
    red.setBackgroundColor(SbColor(1, 1, 0));
    ASSERT_TRUE(red.render(root));
    EXPECT_TRUE(allPixels(red, 255, 255, 0));
    EXPECT_TRUE(allPixels(green, 0, 255, 0));
    EXPECT_TRUE(allPixels(blue, 0, 0, 255));
}

TEST_F(OffscreenRendererTest, RenderersCanBeMadeAndDestroyedOverAndOver) {
    for (int i = 0; i < 6; ++i) {
        auto renderer = std::make_unique<SoOffscreenRenderer>(SbViewportRegion(4 + i, 4));
        const float level = static_cast<float>(i) / 5.0f;
        renderer->setBackgroundColor(SbColor(level, 0, 0));
        ASSERT_TRUE(renderer->render(root)) << "round " << i;
        EXPECT_TRUE(allPixels(*renderer, static_cast<int>(level * 255.0f + 0.5f), 0, 0))
            << "round " << i;
    }
}

TEST_F(OffscreenRendererTest, MaximumResolutionIsUsableAndEnforced) {
    const SbVec2s maximum = SoOffscreenRenderer::getMaximumResolution();
    EXPECT_GE(maximum[0], 2048);
    EXPECT_GE(maximum[1], 2048);
    EXPECT_EQ(SoOffscreenRenderer::getMaximumResolution(), maximum);
    if (maximum[0] == 32767) GTEST_SKIP() << "no window size is too wide";
    DebugErrorRecorder errors;
    SoOffscreenRenderer renderer(SbViewportRegion(static_cast<short>(maximum[0] + 1), 4));
    EXPECT_FALSE(renderer.render(root));
    EXPECT_TRUE(errors.contains("SoOffscreenRenderer::makeCurrent", "larger")) << errors.dump();
    EXPECT_EQ(renderer.getBuffer(), nullptr);
}

TEST_F(OffscreenRendererTest, NullSceneOrPathIsReported) {
    DebugErrorRecorder errors;
    SoOffscreenRenderer renderer(SbViewportRegion(4, 4));
    EXPECT_FALSE(renderer.render(static_cast<SoNode*>(nullptr)));
    EXPECT_FALSE(renderer.render(static_cast<SoPath*>(nullptr)));
    EXPECT_EQ(errors.countSeverity(SoDebugError::ERROR), 2u) << errors.dump();
    EXPECT_EQ(renderer.getBuffer(), nullptr);
}

TEST_F(OffscreenRendererTest, RendersAPath) {
    addCamera(root);
    addUnlitColor(root, SbColor(0, 0, 1));
    auto* cube = new SoCube;
    root->addChild(cube);
    SoPath* path = new SoPath(root);
    path->ref();
    path->append(cube);
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    ASSERT_TRUE(renderer.render(path));
    path->unref();
    // The cube (2 wide) covers the whole view: every pixel is blue.
    EXPECT_TRUE(allPixels(renderer, 0, 0, 255));
}

TEST_F(OffscreenRendererTest, ProcAddressOfNoNameIsNull) {
    EXPECT_EQ(SoOffscreenRenderer::getProcAddress(nullptr), nullptr);
    EXPECT_NE(SoOffscreenRenderer::getProcAddress("glReadPixels"), nullptr);
}

// ---- One's own drawing ----

/// The GL functions a drawing of one's own uses, from the renderer's implementation.
struct OwnGL {
    template <class F>
    static F get(const char* name) {
        return reinterpret_cast<F>(SoOffscreenRenderer::getProcAddress(name));
    }
    void (*ClearColor)(GLfloat, GLfloat, GLfloat,
                       GLfloat) = get<decltype(ClearColor)>("glClearColor");
    void (*Clear)(GLbitfield) = get<decltype(Clear)>("glClear");
    void (*Enable)(GLenum) = get<decltype(Enable)>("glEnable");
    void (*DepthFunc)(GLenum) = get<decltype(DepthFunc)>("glDepthFunc");
    GLuint (*GenLists)(GLsizei) = get<decltype(GenLists)>("glGenLists");
    void (*NewList)(GLuint, GLenum) = get<decltype(NewList)>("glNewList");
    void (*EndList)() = get<decltype(EndList)>("glEndList");
    void (*CallList)(GLuint) = get<decltype(CallList)>("glCallList");
    void (*DeleteLists)(GLuint, GLsizei) = get<decltype(DeleteLists)>("glDeleteLists");
    void (*Begin)(GLenum) = get<decltype(Begin)>("glBegin");
    void (*End)() = get<decltype(End)>("glEnd");
    void (*Color4ubv)(const GLubyte*) = get<decltype(Color4ubv)>("glColor4ubv");
    void (*Vertex3fv)(const GLfloat*) = get<decltype(Vertex3fv)>("glVertex3fv");
    void (*PolygonMode)(GLenum, GLenum) = get<decltype(PolygonMode)>("glPolygonMode");
    void (*PolygonOffset)(GLfloat, GLfloat) = get<decltype(PolygonOffset)>("glPolygonOffset");
    void (*ReadBuffer)(GLenum) = get<decltype(ReadBuffer)>("glReadBuffer");
    void (*ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum,
                       void*) = get<decltype(ReadPixels)>("glReadPixels");
    void (*Finish)() = get<decltype(Finish)>("glFinish");
    GLenum (*GetError)() = get<decltype(GetError)>("glGetError");
    void (*Scissor)(GLint, GLint, GLsizei, GLsizei) = get<decltype(Scissor)>("glScissor");
    void (*ColorMask)(GLboolean, GLboolean, GLboolean,
                      GLboolean) = get<decltype(ColorMask)>("glColorMask");

    /// The square x, y in [-half, half] at depth z, with identity matrices: on 8 x 8 pixels,
    /// half 0.5 fills pixels 2..5, half 0.375 runs through the middles of pixels 2 and 5.
    void square(const GLubyte rgba[4], float z, float half = 0.5f) const {
        const GLfloat corners[4][3] = {
            {-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}};
        Color4ubv(rgba);
        Begin(GL_QUADS);
        for (const GLfloat* corner : corners) Vertex3fv(corner);
        End();
    }
};

TEST_F(OffscreenRendererTest, OwnFixedFunctionDrawingReadsBack) {
    SoOffscreenRenderer renderer(SbViewportRegion(8, 8));
    ASSERT_TRUE(renderer.makeCurrent());
    const OwnGL gl;
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.Enable(GL_DEPTH_TEST);
    gl.DepthFunc(GL_LESS);
    const GLubyte blue[4] = {0, 0, 255, 255}, red[4] = {255, 0, 0, 255};
    const GLuint list = gl.GenLists(1);
    ASSERT_NE(list, 0u);
    gl.NewList(list, GL_COMPILE);
    gl.square(blue, 0.0f);
    gl.EndList();
    gl.CallList(list);
    // Pushed back by the offset, the red copy fails the depth test against the blue one...
    gl.Enable(GL_POLYGON_OFFSET_FILL);
    gl.PolygonOffset(1.0f, 1.0f);
    gl.square(red, 0.0f);
    gl.Finish();
    EXPECT_TRUE(near(pixelAt(renderer, 3, 3), 0, 0, 255, 0)) << pixelAt(renderer, 3, 3);
    // ...pulled forward, it passes; as an outline only, its inside stays blue.
    gl.Enable(GL_POLYGON_OFFSET_LINE);
    gl.PolygonOffset(-1.0f, -1.0f);
    gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    gl.square(red, 0.0f, 0.375f);
    gl.Finish();
    EXPECT_TRUE(near(pixelAt(renderer, 2, 3), 255, 0, 0, 0)) << pixelAt(renderer, 2, 3);
    EXPECT_TRUE(near(pixelAt(renderer, 3, 3), 0, 0, 255, 0)) << pixelAt(renderer, 3, 3);
    EXPECT_TRUE(isBlack(pixelAt(renderer, 0, 0)));
    gl.DeleteLists(list, 1);

    std::vector<unsigned char> readBack(8 * 8 * 4, 7);
    gl.ReadBuffer(GL_FRONT);
    gl.ReadPixels(0, 0, 8, 8, GL_RGBA, GL_UNSIGNED_BYTE, readBack.data());
    EXPECT_EQ(gl.GetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(std::vector<unsigned char>(renderer.getBuffer(), renderer.getBuffer() + 256),
              readBack);
}

TEST_F(OffscreenRendererTest, RenderClearsWhateverOwnDrawingLeft) {
    SoOffscreenRenderer renderer(SbViewportRegion(8, 8));
    ASSERT_TRUE(renderer.makeCurrent());
    const OwnGL gl;
    gl.ClearColor(1, 1, 1, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    // Settings that would limit a clear to part of the buffer, or to no channel at all.
    gl.Enable(GL_SCISSOR_TEST);
    gl.Scissor(0, 0, 2, 2);
    gl.ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    renderer.setBackgroundColor(SbColor(0, 1, 0));
    ASSERT_TRUE(renderer.render(root));
    EXPECT_TRUE(allPixels(renderer, 0, 255, 0));
}

}  // namespace
