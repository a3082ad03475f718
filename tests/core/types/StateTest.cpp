// Element stacks: defaults, copy on write, and restoration by pop.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoDirectionalLight.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class StateTest : public ::testing::Test {
protected:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }
    SoCallbackAction action;
};

TEST_F(StateTest, ElementsStartWithDefaults) {
    SoState* state = action.getState();
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::FILLED);
    EXPECT_TRUE(SoModelMatrixElement::get(state).equals(SbMatrix::identity(), 0.0f));
    EXPECT_EQ(SoLightElement::getLights(state).getLength(), 0);
}

TEST_F(StateTest, PopRestoresWhatWasWrittenAfterPush) {
    SoState* state = action.getState();
    SoDrawStyleElement::set(state, SoDrawStyleElement::LINES);
    state->push();
    SoDrawStyleElement::set(state, SoDrawStyleElement::POINTS);
    state->push();
    SoDrawStyleElement::set(state, SoDrawStyleElement::INVISIBLE);
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::INVISIBLE);
    state->pop();
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::POINTS);
    state->pop();
    EXPECT_EQ(SoDrawStyleElement::get(state), SoDrawStyleElement::LINES);
}

TEST_F(StateTest, ModelMatrixAccumulatesInLocalSpace) {
    SoState* state = action.getState();
    SoModelMatrixElement::translateBy(state, nullptr, SbVec3f(1, 0, 0));
    SoModelMatrixElement::scaleBy(state, nullptr, SbVec3f(2, 2, 2));
    SbVec3f p;
    SoModelMatrixElement::get(state).multVecMatrix(SbVec3f(1, 0, 0), p);
    // Scaled first (local), then translated: 1 * 2 + 1.
    EXPECT_FLOAT_EQ(p[0], 3.0f);
}

TEST_F(StateTest, LightsAreScopedBySeparatorLevels) {
    SoState* state = action.getState();
    auto* light = new SoDirectionalLight;
    light->ref();
    state->push();
    SoLightElement::add(state, light);
    EXPECT_EQ(SoLightElement::getLights(state).getLength(), 1);
    EXPECT_EQ(light->getRefCount(), 2);
    state->pop();
    EXPECT_EQ(SoLightElement::getLights(state).getLength(), 0);
    EXPECT_EQ(light->getRefCount(), 1);
    light->unref();
}

TEST_F(StateTest, OverrideBitsAreRangeChecked) {
    SoState* state = action.getState();
    SoOverrideElement::setFontRenderStyleOverride(state, nullptr, true);
    EXPECT_TRUE(SoOverrideElement::isOverridden(state, 26));
    EXPECT_THROW(SoOverrideElement::setOverride(state, nullptr, 47, true), std::out_of_range);
    try {
        SoOverrideElement::setOverride(state, nullptr, 50, true);
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid bitset<N> position");
    }
}

}  // namespace
