// Property and camera nodes, seen through the state they leave: elements, matrices, viewport.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/elements/SoPointSizeElement.h>
#include <Tessara/elements/SoPolygonOffsetElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoPolygonOffset.h>
#include <Tessara/nodes/SoRotation.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoTransform.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>

namespace {

using Probe = std::function<void(SoCallbackAction*)>;

SoCallbackAction::Response runProbe(void* data, SoCallbackAction* action, const SoNode*) {
    (*static_cast<Probe*>(data))(action);
    return SoCallbackAction::CONTINUE;
}

// Clip-space point after division by w, through the viewing and projection matrices.
SbVec3f toNdc(SoCallbackAction* action, const SbVec3f& world) {
    SbVec4f clip;
    (action->getViewingMatrix() * action->getProjectionMatrix())
        .multVecMatrix(SbVec4f(world[0], world[1], world[2], 1), clip);
    return SbVec3f(clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]);
}

class NodeStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    // Runs `probe` at the end of the scene, with the state its nodes left.
    void probeAtEnd(Probe probe, const SbViewportRegion& region = SbViewportRegion()) {
        auto* marker = new SoCoordinate3;
        root->addChild(marker);
        bool reached = false;
        Probe counted = [&](SoCallbackAction* action) {
            reached = true;
            probe(action);
        };
        SoCallbackAction action(region);
        action.addPreCallback(SoCoordinate3::getClassTypeId(), runProbe, &counted);
        action.apply(root);
        root->removeChild(marker);
        EXPECT_TRUE(reached);
    }
    SoSeparator* root;
};

// What reaches the printers only through the state: an override beats the style below it, an
// ignored field leaves the state alone; polygon offsets, lights that are on, and the transform's
// scale about its centre.
TEST_F(NodeStateTest, PropertiesReachTheStateAsTheirNodesSay) {
    auto* over = new SoDrawStyle;
    over->style = SoDrawStyle::LINES;
    over->lineWidth = 3.0f;
    over->setOverride(true);
    auto* below = new SoDrawStyle;
    below->style = SoDrawStyle::POINTS;
    below->lineWidth = 5.0f;
    below->pointSize = 4.0f;
    below->pointSize.setIgnored(true);
    auto* offset = new SoPolygonOffset;
    offset->factor = 2.0f;
    offset->styles = SoPolygonOffset::FILLED | SoPolygonOffset::LINES;
    auto* light = new SoDirectionalLight;
    auto* off = new SoDirectionalLight;
    off->on = false;
    auto* turn = new SoRotation;
    turn->rotation.setValue(SbRotation(SbVec3f(0, 1, 0), static_cast<float>(M_PI / 2)));
    auto* transform = new SoTransform;
    transform->translation.setValue(SbVec3f(10, 0, 0));
    transform->scaleFactor.setValue(SbVec3f(2, 2, 2));
    transform->center.setValue(SbVec3f(1, 0, 0));
    for (SoNode* node :
         std::initializer_list<SoNode*>{over, below, offset, light, off, turn, transform})
        root->addChild(node);
    probeAtEnd([light](SoCallbackAction* action) {
        EXPECT_EQ(action->getDrawStyle(), SoDrawStyleElement::LINES);
        EXPECT_FLOAT_EQ(action->getLineWidth(), 3.0f);
        EXPECT_FLOAT_EQ(action->getPointSize(), SoPointSizeElement::getDefault());
        float factor, units;
        int styles;
        bool on;
        SoPolygonOffsetElement::get(action->getState(), factor, units, styles, on);
        EXPECT_FLOAT_EQ(factor, 2.0f);
        EXPECT_EQ(styles, SoPolygonOffset::FILLED | SoPolygonOffset::LINES);
        EXPECT_TRUE(on);
        const SoNodeList& lights = SoLightElement::getLights(action->getState());
        ASSERT_EQ(lights.getLength(), 1);
        EXPECT_EQ(lights[0], light);
        // Scaled about the centre (which stays put), then moved, then turned.
        SbVec3f p;
        action->getModelMatrix().multVecMatrix(SbVec3f(2, 0, 0), p);
        EXPECT_TRUE(p.equals(SbVec3f(0, 0, -13), 1e-5f));
    });
}

TEST_F(NodeStateTest, ViewportMappingsFitCameraAndViewport) {
    const struct {
        int mapping;
        short width, height;
        SbVec2f volume, origin, size;
    } cases[] = {
        {SoCamera::ADJUST_CAMERA, 200, 100, SbVec2f(4, 2), SbVec2f(0, 0), SbVec2f(1, 1)},
        {SoCamera::ADJUST_CAMERA, 100, 200, SbVec2f(2, 4), SbVec2f(0, 0), SbVec2f(1, 1)},
        {SoCamera::CROP_VIEWPORT_FILL_FRAME, 200, 100, SbVec2f(2, 2), SbVec2f(0.25f, 0),
         SbVec2f(0.5f, 1)},
        {SoCamera::CROP_VIEWPORT_NO_FRAME, 100, 200, SbVec2f(2, 2), SbVec2f(0, 0.25f),
         SbVec2f(1, 0.5f)},
        {SoCamera::LEAVE_ALONE, 200, 100, SbVec2f(2, 2), SbVec2f(0, 0), SbVec2f(1, 1)},
    };
    auto* camera = new SoOrthographicCamera;
    camera->height = 2.0f;
    root->addChild(camera);
    for (const auto& c : cases) {
        camera->viewportMapping = c.mapping;
        probeAtEnd(
            [&c](SoCallbackAction* action) {
                const SbViewVolume& volume = action->getViewVolume();
                const SbViewportRegion& region = action->getViewportRegionElement();
                EXPECT_TRUE(SbVec2f(volume.getWidth(), volume.getHeight()).equals(c.volume, 1e-5f))
                    << c.mapping << " " << c.width;
                EXPECT_TRUE(region.getViewportOrigin().equals(c.origin, 1e-5f)) << c.mapping;
                EXPECT_TRUE(region.getViewportSize().equals(c.size, 1e-5f)) << c.mapping;
            },
            SbViewportRegion(c.width, c.height));
    }
}

TEST_F(NodeStateTest, ViewAllShowsTheWholeSceneAndPointAtTurnsToTheTarget) {
    auto* scene = new SoSeparator;  // points spanning (9, -5, 1) to (14, -1, 5)
    auto* offset = new SoTranslation;
    offset->translation.setValue(SbVec3f(10, -3, 2));
    auto* coords = new SoCoordinate3;
    coords->point.setValues({SbVec3f(-1, -2, -1), SbVec3f(4, 2, 3)});
    auto* points = new SoPointSet;
    for (SoNode* node : std::initializer_list<SoNode*>{offset, coords, points})
        scene->addChild(node);
    root->addChild(scene);
    // Perspective or not, wide or tall, the whole scene or a path to the points.
    for (int i = 0; i < 4; ++i) {
        SoCamera* camera = i < 2 ? static_cast<SoCamera*>(new SoPerspectiveCamera)
                                 : static_cast<SoCamera*>(new SoOrthographicCamera);
        root->insertChild(camera, 0);
        const SbViewportRegion region(i % 2 ? 200 : 300, i % 2 ? 300 : 200);
        auto* path = new SoPath(root);
        path->ref();
        path->append(scene);
        path->append(points);
        if (i % 2)
            camera->viewAll(path, region);
        else
            camera->viewAll(root, region);
        path->unref();
        probeAtEnd(
            [i](SoCallbackAction* action) {
                for (int corner = 0; corner < 8; ++corner) {
                    const SbVec3f ndc = toNdc(
                        action,
                        SbVec3f(corner & 1 ? 14 : 9, corner & 2 ? -1 : -5, corner & 4 ? 5 : 1));
                    for (int k = 0; k < 3; ++k) EXPECT_LE(std::fabs(ndc[k]), 1.0f) << i;
                }
            },
            region);
        root->removeChild(camera);
    }

    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(5, 0, 0));
    camera->pointAt(SbVec3f(0, 0, 0));
    root->insertChild(camera, 0);
    probeAtEnd([](SoCallbackAction* action) {
        const SbVec3f target = toNdc(action, SbVec3f(0, 0, 0));
        EXPECT_TRUE(SbVec2f(target[0], target[1]).equals(SbVec2f(0, 0), 1e-5f));
        EXPECT_GT(toNdc(action, SbVec3f(0, 1, 0))[1], 0.0f);  // +y stays up on the screen
    });
}

}  // namespace
