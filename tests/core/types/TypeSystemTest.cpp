// Run-time types and class registration through SoDB, reference counting, and the element
// stacks of the traversal state.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoType.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoIndexedLineSet.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText3.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

class TypeSystemTest : public ::testing::Test {
  protected:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }
};

TEST_F(TypeSystemTest, TypesFormATreeAndCanBeAddedAndRemoved) {
    const SoType sep = SoType::fromName("SoSeparator");
    EXPECT_EQ(sep.getParent(), SoGroup::getClassTypeId());
    EXPECT_TRUE(sep.isDerivedFrom(SoBase::getClassTypeId()));
    EXPECT_FALSE(SoNode::getClassTypeId().isDerivedFrom(sep));
    EXPECT_TRUE(SoType::fromName("NoSuchClass").isBad());
    EXPECT_EQ(SoType::fromName("SoShape").createInstance(), nullptr);  // abstract
    const SoType element = SoElement::getClassTypeId();
    SoElement::initClass();  // registering a class again changes nothing
    EXPECT_EQ(SoElement::getClassTypeId(), element);

    const SoType parent = SoType::createType(sep, "TestParentType");
    const SoType child = SoType::createType(parent, "TestChildType", nullptr, 7);
    EXPECT_TRUE(child.isDerivedFrom(sep));
    EXPECT_EQ(child.getData(), 7);
    std::vector<SoType> derived;
    EXPECT_EQ(SoType::getAllDerivedFrom(parent, derived), 2);  // itself and its child
    {
        DebugErrorRecorder recorder;
        EXPECT_TRUE(SoType::createType(parent, "TestChildType").isBad());
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u);
    }
    EXPECT_FALSE(SoType::removeType("TestParentType"));  // a child still derives from it
    EXPECT_TRUE(SoType::removeType("TestChildType"));
    EXPECT_FALSE(SoType::removeType("TestChildType"));
    EXPECT_EQ(SoType::getAllDerivedFrom(parent, derived), 1);
    EXPECT_TRUE(SoType::fromName("TestChildType").isBad());
    EXPECT_TRUE(SoType::removeType("TestParentType"));
}

TEST(TypeSystemLifecycle, InitAndFinishAreCountedAndNodesRegisterLazily) {
    // A node built before any init registers its class.
    for (SoNode* node : std::initializer_list<SoNode*>{new SoPerspectiveCamera, new SoText3,
                                                       new SoIndexedLineSet}) {
        node->ref();
        EXPECT_TRUE(node->isOfType(SoNode::getClassTypeId())) << node->getTypeId().getKey();
        node->unref();
    }
    SoDB::init();
    SoDB::init();
    SoDB::finish();
    EXPECT_TRUE(SoDB::isInitialized());
    EXPECT_FALSE(SoCube::getClassTypeId().isBad());
    SoDB::finish();
    EXPECT_FALSE(SoDB::isInitialized());
    EXPECT_TRUE(SoCube::getClassTypeId().isBad());
    EXPECT_TRUE(SoType::fromName("SoCube").isBad());
    SoDB::finish();  // unbalanced: ignored
    SoDB::init();
    EXPECT_EQ(SoType::fromName("SoCube"), SoCube::getClassTypeId());
    SoDB::finish();
}

TEST_F(TypeSystemTest, ListsAndParentsOwnReferencesAndBadIndicesArePosted) {
    auto* sep = new SoSeparator;
    auto* cube = new SoCube;
    sep->ref();
    sep->addChild(cube);
    {
        SoNodeList list;
        list.append(cube);
        SoNodeList copy = list;
        EXPECT_EQ(cube->getRefCount(), 3);
    }
    EXPECT_EQ(cube->getRefCount(), 1);
    cube->ref();
    sep->removeChild(cube);
    EXPECT_EQ(cube->getRefCount(), 1);
    cube->unref();

    DebugErrorRecorder recorder;  // one message for each mistake
    EXPECT_EQ(sep->getChild(3), nullptr);
    sep->removeChild(5);
    sep->removeChild(sep);  // not a child of itself
    sep->addChild(nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 4u) << recorder.dump();
    sep->unref();
}

TEST_F(TypeSystemTest, StatePushAndPopScopeElements) {
    SoCallbackAction action;
    SoState* state = action.getState();
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::FILLED);
    auto* light = new SoDirectionalLight;
    light->ref();
    SoDrawStyleElement::set(state, SoDrawStyleElement::LINES);
    state->push();
    SoDrawStyleElement::set(state, SoDrawStyleElement::POINTS);
    SoLightElement::add(state, light);
    EXPECT_EQ(light->getRefCount(), 2);
    // Scaled first (local), then translated: 1 * 2 + 1.
    SoModelMatrixElement::translateBy(state, nullptr, SbVec3f(1, 0, 0));
    SoModelMatrixElement::scaleBy(state, nullptr, SbVec3f(2, 2, 2));
    SbVec3f p;
    SoModelMatrixElement::get(state).multVecMatrix(SbVec3f(1, 0, 0), p);
    EXPECT_EQ(p, SbVec3f(3, 0, 0));
    state->pop();
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::LINES);
    EXPECT_EQ(SoLightElement::getLights(state).getLength(), 0);
    EXPECT_EQ(light->getRefCount(), 1);
    EXPECT_EQ(SoModelMatrixElement::get(state), SbMatrix::identity());
    light->unref();

    EXPECT_FALSE(SoOverrideElement::isOverridden(state, SoOverrideElement::NUM_BITS));
    EXPECT_THROW(SoOverrideElement::setOverride(state, nullptr, SoOverrideElement::NUM_BITS, true),
                 std::out_of_range);
}

}  // namespace
