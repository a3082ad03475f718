// Run-time types, class registration through SoDB, and reference counting.

#include "support/DebugErrorRecorder.h"

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoType.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>

#include <gtest/gtest.h>

namespace {

class TypeSystemTest : public ::testing::Test {
protected:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }
};

TEST_F(TypeSystemTest, CoreClassesAreRegisteredBelowTheirParents) {
    const SoType sep = SoType::fromName("SoSeparator");
    ASSERT_FALSE(sep.isBad());
    EXPECT_EQ(sep, SoSeparator::getClassTypeId());
    EXPECT_EQ(sep.getParent(), SoGroup::getClassTypeId());
    EXPECT_TRUE(sep.isDerivedFrom(SoNode::getClassTypeId()));
    EXPECT_TRUE(sep.isDerivedFrom(SoBase::getClassTypeId()));
    EXPECT_FALSE(SoNode::getClassTypeId().isDerivedFrom(sep));
    EXPECT_TRUE(SoCallbackAction::getClassTypeId().isDerivedFrom(SoAction::getClassTypeId()));
    EXPECT_TRUE(SoType::fromName("NoSuchClass").isBad());
    EXPECT_FALSE(SoType::badType().isDerivedFrom(SoNode::getClassTypeId()));
}

TEST_F(TypeSystemTest, FactoriesCreateConcreteNodesOnly) {
    void* made = SoType::fromName("SoCube").createInstance();
    ASSERT_NE(made, nullptr);
    auto* cube = static_cast<SoNode*>(made);
    EXPECT_TRUE(cube->isOfType(SoShape::getClassTypeId()));
    cube->ref();
    cube->unref();
    EXPECT_FALSE(SoType::fromName("SoShape").canCreateInstance());
    EXPECT_EQ(SoType::fromName("SoShape").createInstance(), nullptr);
}

TEST_F(TypeSystemTest, CreateAndRemoveTypes) {
    const SoType parent = SoType::createType(SoNode::getClassTypeId(), "TestParentType");
    const SoType child = SoType::createType(parent, "TestChildType", nullptr, 7);
    ASSERT_FALSE(child.isBad());
    EXPECT_EQ(child.getData(), 7);
    {
        DebugErrorRecorder recorder;
        EXPECT_TRUE(SoType::createType(parent, "TestChildType").isBad());
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1);
    }
    EXPECT_FALSE(SoType::removeType("TestParentType"));  // a child still derives from it
    EXPECT_TRUE(SoType::removeType("TestChildType"));
    EXPECT_FALSE(SoType::removeType("TestChildType"));  // gone already
    EXPECT_TRUE(SoType::fromName("TestChildType").isBad());
    EXPECT_TRUE(SoType::removeType("TestParentType"));
}

TEST_F(TypeSystemTest, InitAndFinishAreCounted) {
    SoDB::init();
    SoDB::finish();
    EXPECT_TRUE(SoDB::isInitialized());
    EXPECT_FALSE(SoSeparator::getClassTypeId().isBad());
}

TEST(TypeSystemLifecycle, FinishUnregistersAndInitRegistersAgain) {
    SoDB::init();
    ASSERT_FALSE(SoCube::getClassTypeId().isBad());
    SoDB::finish();
    EXPECT_FALSE(SoDB::isInitialized());
    EXPECT_TRUE(SoCube::getClassTypeId().isBad());
    EXPECT_TRUE(SoType::fromName("SoCube").isBad());
    SoDB::finish();  // unbalanced: ignored
    SoDB::init();
    EXPECT_FALSE(SoCube::getClassTypeId().isBad());
    EXPECT_EQ(SoType::fromName("SoCube"), SoCube::getClassTypeId());
    SoDB::finish();
}

TEST(TypeSystemLifecycle, NodesRegisterTheirClassLazily) {
    ASSERT_FALSE(SoDB::isInitialized());
    auto* camera = new SoPerspectiveCamera;
    camera->ref();
    EXPECT_FALSE(SoPerspectiveCamera::getClassTypeId().isBad());
    EXPECT_TRUE(camera->isOfType(SoCamera::getClassTypeId()));
    camera->unref();
    SoDB::init();
    SoDB::finish();
}

TEST_F(TypeSystemTest, ReferenceCountsOwnNodes) {
    auto* sep = new SoSeparator;
    auto* cube = new SoCube;
    sep->ref();
    sep->addChild(cube);
    EXPECT_EQ(cube->getRefCount(), 1);
    {
        SoNodeList list;
        list.append(cube);
        EXPECT_EQ(cube->getRefCount(), 2);
        SoNodeList copy = list;
        EXPECT_EQ(cube->getRefCount(), 3);
    }
    EXPECT_EQ(cube->getRefCount(), 1);
    cube->ref();
    sep->removeChild(cube);
    EXPECT_EQ(cube->getRefCount(), 1);
    cube->unref();
    sep->unref();
}

TEST_F(TypeSystemTest, BadIndicesAndDoubleUnrefArePostedNotFatal) {
    DebugErrorRecorder recorder;
    auto* sep = new SoSeparator;
    sep->ref();
    EXPECT_EQ(sep->getChild(3), nullptr);
    sep->removeChild(5);
    sep->addChild(nullptr);
    EXPECT_GE(recorder.countSeverity(SoDebugError::ERROR), 3);
    sep->unref();
}

}  // namespace
