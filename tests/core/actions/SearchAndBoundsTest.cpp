// The search and bounding-box actions, and forwarded traversals.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoScale.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoSphere.h>
#include <Tessara/nodes/SoSwitch.h>
#include <Tessara/nodes/SoTranslation.h>

#include <gtest/gtest.h>

namespace {

class SearchAndBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
        auto* left = new SoSeparator;
        auto* move = new SoTranslation;
        move->translation.setValue(SbVec3f(-5, 0, 0));
        left->addChild(move);
        cube = new SoCube;
        cube->setName("box");
        left->addChild(cube);
        root->addChild(left);
        auto* sw = new SoSwitch;
        hidden = new SoSphere;
        sw->addChild(hidden);
        root->addChild(sw);
        auto* scale = new SoScale;
        scale->scaleFactor.setValue(SbVec3f(2, 1, 1));
        root->addChild(scale);
        sphere = new SoSphere;
        root->addChild(sphere);
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    SoSeparator* root;
    SoCube* cube;
    SoSphere* sphere;
    SoSphere* hidden;
};

TEST_F(SearchAndBoundsTest, FindsFirstLastAndAllByType) {
    SoSearchAction search;
    search.setType(SoSphere::getClassTypeId());
    search.apply(root);
    ASSERT_NE(search.getPath(), nullptr);
    EXPECT_EQ(search.getPath()->getTail(), sphere);  // the hidden one is not traversed
    EXPECT_EQ(search.getPath()->getHead(), root);

    search.setSearchingAll(true);
    search.apply(root);
    EXPECT_EQ(search.getPath()->getTail(), hidden);

    search.setInterest(SoSearchAction::ALL);
    search.apply(root);
    EXPECT_EQ(search.getPaths().getLength(), 2);

    search.setInterest(SoSearchAction::LAST);
    search.apply(root);
    EXPECT_EQ(search.getPath()->getTail(), sphere);
}

TEST_F(SearchAndBoundsTest, FindsByNameDerivedTypeAndNode) {
    SoSearchAction search;
    search.setName("box");
    search.apply(root);
    ASSERT_TRUE(search.isFound());
    EXPECT_EQ(search.getPath()->getTail(), cube);
    EXPECT_EQ(search.getPath()->getLength(), 3);

    search.reset();
    search.setType(SoShape::getClassTypeId(), false);  // exact type only: nothing
    search.apply(root);
    EXPECT_FALSE(search.isFound());

    search.reset();
    search.setNode(sphere);
    search.apply(root);
    EXPECT_EQ(search.getPath()->getIndex(1), 3);
}

TEST_F(SearchAndBoundsTest, BoundingBoxCoversTransformedShapes) {
    SoGetBoundingBoxAction bounds;
    bounds.apply(root);
    const SbBox3f& box = bounds.getBoundingBox();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_FLOAT_EQ(box.getMin()[0], -6.0f);  // the cube, moved left
    EXPECT_FLOAT_EQ(box.getMax()[0], 2.0f);   // the sphere, stretched along x
    EXPECT_FLOAT_EQ(box.getMax()[1], 1.0f);
    EXPECT_FLOAT_EQ(box.getMin()[2], -1.0f);
}

TEST_F(SearchAndBoundsTest, BoundingBoxOfAPathCoversItsTail) {
    SoSearchAction search;
    search.setNode(cube);
    search.apply(root);
    SoGetBoundingBoxAction bounds;
    bounds.apply(search.getPath());
    EXPECT_FLOAT_EQ(bounds.getBoundingBox().getMin()[0], -6.0f);
    EXPECT_FLOAT_EQ(bounds.getBoundingBox().getMax()[0], -4.0f);
    EXPECT_EQ(bounds.getCenter(), SbVec3f(-5, 0, 0));
}

// A group standing for another node: actions that use alternate representations
// traverse the stand-in instead, through a forwarded traversal.
class StandIn : public SoGroup {
public:
    SoNode* replacement = nullptr;
    SoNode* getAlternateRep() const override { return replacement; }
};

struct LightPathProbe {
    int lightLength = -1;
    int fullLength = -1;
};

SoCallbackAction::Response probeCube(void* data, SoCallbackAction* action, const SoNode*) {
    auto* probe = static_cast<LightPathProbe*>(data);
    probe->lightLength = action->getCurLightPath()->getLength();
    probe->fullLength = action->getCurPath()->getLength();
    return SoCallbackAction::CONTINUE;
}

TEST_F(SearchAndBoundsTest, AlternateRepresentationsAreForwarded) {
    auto* standIn = new StandIn;
    auto* replacement = new SoCube;
    replacement->ref();
    standIn->replacement = replacement;
    auto* holder = new SoSeparator;
    holder->ref();
    holder->addChild(standIn);

    LightPathProbe probe;
    SoCallbackAction action;
    action.addPreCallback(SoCube::getClassTypeId(), probeCube, &probe);
    action.apply(holder);
    EXPECT_EQ(probe.fullLength, -1);  // not used by default

    action.useAlternateRep(true);
    action.apply(holder);
    EXPECT_EQ(probe.fullLength, 3);   // holder, stand-in, replacement
    EXPECT_EQ(probe.lightLength, 2);  // the replacement is not part of the light path
    holder->unref();
    replacement->unref();
}

}  // namespace
