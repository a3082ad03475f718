// Where and in what colour a scene lands in the buffer: camera mapping, depth, culling,
// colours, transparency and annotations.

#include <GL/gl.h>
#include <Tessara/nodes/SoAnnotation.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoShapeHints.h>

#include <array>
#include <thread>

#include "RenderTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace rendertest;

namespace {

using SceneRenderingTest = RenderTest;

/// The bounds of the pixels for which `test` holds: {minX, minY, maxX, maxY}, or all -1.
std::array<int, 4> bounds(const SoOffscreenRenderer& renderer,
                          const std::function<bool(Rgba)>& test) {
    std::array<int, 4> box{-1, -1, -1, -1};
    const SbVec2s size = renderer.getBufferSize();
    for (int y = 0; y < size[1]; ++y) {
        for (int x = 0; x < size[0]; ++x) {
            if (!test(pixelAt(renderer, x, y))) continue;
            if (box[0] < 0 || x < box[0]) box[0] = x;
            if (box[1] < 0 || y < box[1]) box[1] = y;
            box[2] = std::max(box[2], x);
            box[3] = std::max(box[3], y);
        }
    }
    return box;
}

bool isRed(Rgba c) {
    return near(c, 255, 0, 0, 0);
}

TEST_F(SceneRenderingTest, OrthographicSquareLandsOnItsPixels) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    root->addChild(rectangle(-0.5f, -0.5f, 0.5f, 0.25f));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    // x in [-0.5, 0.5] is pixels [16, 48), y in [-0.5, 0.25] is rows [16, 40).
    EXPECT_EQ(bounds(renderer, isRed), (std::array<int, 4>{16, 16, 47, 39}));
    EXPECT_EQ(countPixels(renderer, isRed), 32 * 24);
    EXPECT_EQ(countPixels(renderer, isBlack), 64 * 64 - 32 * 24);
}

TEST_F(SceneRenderingTest, WideViewportWidensTheViewAndKeepsSquaresSquare) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    root->addChild(rectangle(-0.5f, -0.5f, 0.5f, 0.5f));
    SoOffscreenRenderer renderer(SbViewportRegion(128, 64));
    renderRoot(renderer);
    // The height still spans [-1, 1] in 64 rows; the width spans [-2, 2] in 128 columns.
    EXPECT_EQ(bounds(renderer, isRed), (std::array<int, 4>{48, 16, 79, 47}));
}

TEST_F(SceneRenderingTest, ViewportInsideTheWindowIsWhereTheSceneGoes) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    root->addChild(rectangle(-1, -1, 1, 1));
    SbViewportRegion region(64, 64);
    region.setViewportPixels(8, 16, 32, 32);
    SoOffscreenRenderer renderer(region);
    renderRoot(renderer);
    EXPECT_EQ(renderer.getBufferSize(), SbVec2s(64, 64));
    EXPECT_EQ(bounds(renderer, isRed), (std::array<int, 4>{8, 16, 39, 47}));
}

TEST_F(SceneRenderingTest, PerspectiveCameraShrinksWithDistance) {
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(0, 0, 5));
    camera->heightAngle.setValue(1.5707964f);  // 90 degrees: half the height seen = distance
    camera->nearDistance.setValue(0.5f);
    camera->farDistance.setValue(20.0f);
    root->addChild(camera);
    addUnlitColor(root, SbColor(1, 0, 0));
    // Half a side of 2.5 at distance 5 and of 1.25 at distance 2.5 both cover the middle
    // half of the view.
    root->addChild(rectangle(-2.5f, -2.5f, 2.5f, 2.5f, 0.0f));
    auto* nearColor = new SoBaseColor;
    nearColor->rgb.setValue(SbColor(0, 0, 1));
    root->addChild(nearColor);
    root->addChild(rectangle(-1.25f, -1.25f, 1.25f, 1.25f, 2.5f));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_EQ(bounds(renderer, [](Rgba c) { return near(c, 0, 0, 255, 0); }),
              (std::array<int, 4>{16, 16, 47, 47}));
    EXPECT_EQ(countPixels(renderer, isRed), 0);
}

TEST_F(SceneRenderingTest, NearFaceCoversFarFaceWhateverTheOrder) {
    for (const bool nearFirst : {true, false}) {
        SoSeparator* scene = new SoSeparator;
        scene->ref();
        addCamera(scene);
        auto* model = new SoLightModel;
        model->model.setValue(SoLightModel::BASE_COLOR);
        scene->addChild(model);
        auto* red = new SoSeparator;
        addUnlitColor(red, SbColor(1, 0, 0));
        red->addChild(rectangle(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f));
        auto* blue = new SoSeparator;
        addUnlitColor(blue, SbColor(0, 0, 1));
        blue->addChild(rectangle(-0.25f, -0.25f, 0.75f, 0.75f, -0.5f));
        scene->addChild(nearFirst ? red : blue);
        scene->addChild(nearFirst ? blue : red);
        SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
        ASSERT_TRUE(renderer.render(scene));
        scene->unref();
        EXPECT_TRUE(isRed(pixelAt(renderer, 32, 32))) << "near first: " << nearFirst;
        EXPECT_TRUE(near(pixelAt(renderer, 52, 52), 0, 0, 255, 0)) << "near first: " << nearFirst;
        EXPECT_EQ(countPixels(renderer, isRed), 32 * 32) << "near first: " << nearFirst;
    }
}

TEST_F(SceneRenderingTest, SolidShapesOfKnownOrderingLoseTheirBackFaces) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    auto* hints = new SoShapeHints;
    hints->vertexOrdering.setValue(SoShapeHints::COUNTERCLOCKWISE);
    hints->shapeType.setValue(SoShapeHints::SOLID);
    root->addChild(hints);
    // Left: seen from its front. Right: clockwise on screen, so seen from behind.
    root->addChild(rectangle(-0.75f, -0.5f, -0.25f, 0.5f));
    root->addChild(rectangle(0.25f, -0.5f, 0.75f, 0.5f, 0.0f, true));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_TRUE(isRed(pixelAt(renderer, 16, 32)));
    EXPECT_TRUE(isBlack(pixelAt(renderer, 48, 32)));

    // Not solid, or of unknown ordering: both sides are drawn.
    hints->shapeType.setValue(SoShapeHints::UNKNOWN_SHAPE_TYPE);
    renderRoot(renderer);
    EXPECT_TRUE(isRed(pixelAt(renderer, 48, 32)));
    hints->shapeType.setValue(SoShapeHints::SOLID);
    hints->vertexOrdering.setValue(SoShapeHints::UNKNOWN_ORDERING);
    renderRoot(renderer);
    EXPECT_TRUE(isRed(pixelAt(renderer, 48, 32)));
    // Clockwise ordering makes the right one the front.
    hints->vertexOrdering.setValue(SoShapeHints::CLOCKWISE);
    renderRoot(renderer);
    EXPECT_TRUE(isBlack(pixelAt(renderer, 16, 32)));
    EXPECT_TRUE(isRed(pixelAt(renderer, 48, 32)));
}

TEST_F(SceneRenderingTest, PartlyTransparentColourBlendsFullyTransparentVanishes) {
    addCamera(root);
    auto* model = new SoLightModel;
    model->model.setValue(SoLightModel::BASE_COLOR);
    root->addChild(model);
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(SbColor(1, 0, 0));
    material->transparency.setValue(0.25f);
    root->addChild(material);
    root->addChild(rectangle(-1, -1, 0, 1));
    auto* invisible = new SoMaterial;
    invisible->diffuseColor.setValue(SbColor(0, 1, 0));
    invisible->transparency.setValue(1.0f);
    root->addChild(invisible);
    // Fully transparent, in front of the red half: it must neither show nor hide it.
    root->addChild(rectangle(-0.5f, -1, 1, 1, 1.0f));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderer.setBackgroundColor(SbColor(0, 0, 1));
    renderRoot(renderer);
    const Rgba blended = pixelAt(renderer, 20, 32);
    EXPECT_TRUE(near(blended, 191, 0, 64)) << blended;
    EXPECT_EQ(blended.a, 255);
    EXPECT_TRUE(near(pixelAt(renderer, 48, 32), 0, 0, 255, 0));
}

TEST_F(SceneRenderingTest, InvisibleDrawStyleDrawsNothing) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::INVISIBLE);
    root->addChild(style);
    root->addChild(rectangle(-1, -1, 1, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    EXPECT_EQ(countPixels(renderer, isBlack), 256);
}

TEST_F(SceneRenderingTest, AnnotationsLieOverTheScene) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    auto* annotation = new SoAnnotation;
    auto* green = new SoBaseColor;
    green->rgb.setValue(SbColor(0, 1, 0));
    annotation->addChild(green);
    annotation->addChild(rectangle(-0.5f, -0.5f, 0.5f, 0.5f, -2.0f));
    // Met first and far behind, yet drawn last and over the red square in front of it.
    root->addChild(annotation);
    root->addChild(rectangle(-1, -1, 1, 1, 1.0f));
    SoOffscreenRenderer renderer(SbViewportRegion(64, 64));
    renderRoot(renderer);
    EXPECT_TRUE(near(pixelAt(renderer, 32, 32), 0, 255, 0, 0)) << pixelAt(renderer, 32, 32);
    EXPECT_TRUE(isRed(pixelAt(renderer, 4, 4)));
    // The annotation took the state in force where it was met: red after the annotation
    // separator closes, and the square follows with no leftover green.
    EXPECT_EQ(countPixels(renderer, isRed), 64 * 64 - 32 * 32);
}

TEST_F(SceneRenderingTest, ActionWithoutContextReportsAndDrawsNothing) {
    DebugErrorRecorder errors;
    // A thread of its own has no context bound, whatever the other tests left.
    std::thread worker([this] {
        SoGLRenderAction action(SbViewportRegion(8, 8));
        action.apply(root);
    });
    worker.join();
    EXPECT_TRUE(errors.contains("SoGLRenderAction::apply", "No OpenGL context")) << errors.dump();
}

TEST_F(SceneRenderingTest, ActionRestoresTheGLSettingsItChanges) {
    addCamera(root);
    addUnlitColor(root, SbColor(1, 0, 0));
    root->addChild(rectangle(-1, -1, 0, 1));
    SoOffscreenRenderer renderer(SbViewportRegion(16, 16));
    renderRoot(renderer);
    using IsEnabled = GLboolean (*)(GLenum);
    using GetIntegerv = void (*)(GLenum, GLint*);
    const auto isEnabled =
        reinterpret_cast<IsEnabled>(SoOffscreenRenderer::getProcAddress("glIsEnabled"));
    const auto getIntegerv =
        reinterpret_cast<GetIntegerv>(SoOffscreenRenderer::getProcAddress("glGetIntegerv"));
    EXPECT_FALSE(isEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(isEnabled(GL_BLEND));
    EXPECT_FALSE(isEnabled(GL_LIGHTING));
    GLint depth = 0;
    getIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    getIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
}

}  // namespace
