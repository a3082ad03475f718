// Cameras: the matrices they set, viewport fitting, viewAll and pointAt.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoTranslation.h>

#include <gtest/gtest.h>

namespace {

struct Seen {
    SbMatrix viewing, projection;
    SbViewVolume volume;
    SbViewportRegion region;
};

SoCallbackAction::Response grab(void* data, SoCallbackAction* action, const SoNode*) {
    auto* seen = static_cast<Seen*>(data);
    seen->viewing = action->getViewingMatrix();
    seen->projection = action->getProjectionMatrix();
    seen->volume = action->getViewVolume();
    seen->region = action->getViewportRegionElement();
    return SoCallbackAction::CONTINUE;
}

// Clip-space point after division by w.
SbVec3f toNdc(const Seen& seen, const SbVec3f& world) {
    SbVec4f p = SbVec4f(world[0], world[1], world[2], 1) * 1.0f;
    SbVec4f clip;
    (seen.viewing * seen.projection).multVecMatrix(p, clip);
    return SbVec3f(clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]);
}

class CameraTest : public ::testing::Test {
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
    Seen traverse(const SbViewportRegion& region) {
        auto* probe = new SoCoordinate3;
        root->addChild(probe);
        Seen seen;
        SoCallbackAction action(region);
        action.addPreCallback(SoCoordinate3::getClassTypeId(), grab, &seen);
        action.apply(root);
        root->removeChild(probe);
        return seen;
    }
    SoSeparator* root;
};

TEST_F(CameraTest, PerspectiveCameraLooksDownMinusZ) {
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(0, 0, 5));
    camera->nearDistance = 1.0f;
    camera->farDistance = 10.0f;
    root->addChild(camera);
    const Seen seen = traverse(SbViewportRegion(100, 100));
    const SbVec3f centre = toNdc(seen, SbVec3f(0, 0, 0));
    EXPECT_NEAR(centre[0], 0.0f, 1e-5f);
    EXPECT_NEAR(centre[1], 0.0f, 1e-5f);
    EXPECT_NEAR(toNdc(seen, SbVec3f(0, 0, 4))[2], -1.0f, 1e-4f);   // on the near plane
    EXPECT_NEAR(toNdc(seen, SbVec3f(0, 0, -5))[2], 1.0f, 1e-4f);   // on the far plane
    // tan(22.5°) * 5 at the origin's depth is the top edge.
    EXPECT_NEAR(toNdc(seen, SbVec3f(0, 5 * std::tan(0.392699f), 0))[1], 1.0f, 1e-4f);
}

TEST_F(CameraTest, AdjustCameraWidensToAWideViewport) {
    auto* camera = new SoOrthographicCamera;
    camera->height = 2.0f;
    root->addChild(camera);
    const Seen seen = traverse(SbViewportRegion(200, 100));
    EXPECT_NEAR(seen.volume.getWidth(), 4.0f, 1e-5f);
    EXPECT_NEAR(seen.volume.getHeight(), 2.0f, 1e-5f);
    EXPECT_NEAR(toNdc(seen, SbVec3f(2, 1, 0))[0], 1.0f, 1e-5f);
}

TEST_F(CameraTest, AdjustCameraKeepsTheWidthOfATallViewport) {
    auto* camera = new SoOrthographicCamera;
    camera->height = 2.0f;
    root->addChild(camera);
    const Seen seen = traverse(SbViewportRegion(100, 200));
    EXPECT_NEAR(seen.volume.getWidth(), 2.0f, 1e-5f);
    EXPECT_NEAR(seen.volume.getHeight(), 4.0f, 1e-5f);
}

TEST_F(CameraTest, CropModeShrinksTheViewportToTheCameraAspect) {
    auto* camera = new SoOrthographicCamera;
    camera->viewportMapping = SoCamera::CROP_VIEWPORT_FILL_FRAME;
    root->addChild(camera);
    const Seen seen = traverse(SbViewportRegion(200, 100));
    EXPECT_NEAR(seen.region.getViewportSize()[0], 0.5f, 1e-5f);
    EXPECT_NEAR(seen.region.getViewportOrigin()[0], 0.25f, 1e-5f);
    EXPECT_NEAR(seen.region.getViewportSize()[1], 1.0f, 1e-5f);
}

TEST_F(CameraTest, ViewAllShowsTheWholeScene) {
    for (bool perspective : {true, false}) {
        root->removeAllChildren();
        SoCamera* camera = perspective ? static_cast<SoCamera*>(new SoPerspectiveCamera)
                                       : static_cast<SoCamera*>(new SoOrthographicCamera);
        root->addChild(camera);
        auto* offset = new SoTranslation;
        offset->translation.setValue(SbVec3f(10, -3, 2));
        root->addChild(offset);
        auto* coords = new SoCoordinate3;
        coords->point.setValues({SbVec3f(-1, -2, -1), SbVec3f(4, 2, 3)});
        root->addChild(coords);
        root->addChild(new SoPointSet);
        const SbViewportRegion region(300, 200);
        camera->viewAll(root, region);
        const Seen seen = traverse(region);
        for (float x : {9.0f, 14.0f})
            for (float y : {-5.0f, -1.0f})
                for (float z : {1.0f, 5.0f}) {
                    const SbVec3f ndc = toNdc(seen, SbVec3f(x, y, z));
                    EXPECT_LE(std::fabs(ndc[0]), 1.0f) << perspective;
                    EXPECT_LE(std::fabs(ndc[1]), 1.0f) << perspective;
                    EXPECT_LE(std::fabs(ndc[2]), 1.0f) << perspective;
                }
    }
}

TEST_F(CameraTest, PointAtTurnsTheViewTowardsTheTarget) {
    auto* camera = new SoPerspectiveCamera;
    camera->position.setValue(SbVec3f(5, 0, 0));
    camera->pointAt(SbVec3f(0, 0, 0));
    root->addChild(camera);
    const Seen seen = traverse(SbViewportRegion(100, 100));
    const SbVec3f ndc = toNdc(seen, SbVec3f(0, 0, 0));
    EXPECT_NEAR(ndc[0], 0.0f, 1e-5f);
    EXPECT_NEAR(ndc[1], 0.0f, 1e-5f);
    // +y stays up on the screen.
    EXPECT_GT(toNdc(seen, SbVec3f(0, 1, 0))[1], 0.0f);
}

}  // namespace
