// Property nodes: the elements they set, ignored fields, overrides, patterns, lights.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/elements/SoEnvironmentElement.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/elements/SoPatternElement.h>
#include <Tessara/elements/SoPolygonOffsetElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoEnvironment.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoPattern.h>
#include <Tessara/nodes/SoPolygonOffset.h>
#include <Tessara/nodes/SoRotation.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoTransform.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Probe = std::function<void(SoCallbackAction*)>;

SoCallbackAction::Response runProbe(void* data, SoCallbackAction* action, const SoNode*) {
    (*static_cast<Probe*>(data))(action);
    return SoCallbackAction::CONTINUE;
}

class PropertyNodeTest : public ::testing::Test {
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
    void probeAtEnd(const Probe& probe) {
        auto* marker = new SoCoordinate3;
        root->addChild(marker);
        Probe copy = probe;
        SoCallbackAction action;
        action.addPreCallback(SoCoordinate3::getClassTypeId(), runProbe, &copy);
        action.apply(root);
        root->removeChild(marker);
    }
    SoSeparator* root;
};

TEST_F(PropertyNodeTest, MaterialValuesArePickedByIndexAndClamped) {
    auto* material = new SoMaterial;
    material->diffuseColor.setValues({SbColor(1, 0, 0), SbColor(0, 1, 0)});
    material->transparency.setValue(0.25f);
    root->addChild(material);
    probeAtEnd([](SoCallbackAction* action) {
        SbColor ambient, diffuse, specular, emission;
        float shininess, transparency;
        action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency, 1);
        EXPECT_EQ(diffuse, SbColor(0, 1, 0));
        EXPECT_FLOAT_EQ(transparency, 0.25f);
        EXPECT_EQ(ambient, SbColor(0.2f, 0.2f, 0.2f));
        action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency, 9);
        EXPECT_EQ(diffuse, SbColor(0, 1, 0));  // beyond the end: the last value
    });
}

TEST_F(PropertyNodeTest, BaseColorChangesOnlyTheDiffuseColour) {
    auto* material = new SoMaterial;
    material->emissiveColor.setValue(SbColor(0.1f, 0.2f, 0.3f));
    auto* base = new SoBaseColor;
    base->rgb.setValue(SbColor(0, 0, 1));
    root->addChild(material);
    root->addChild(base);
    probeAtEnd([](SoCallbackAction* action) {
        SbColor ambient, diffuse, specular, emission;
        float shininess, transparency;
        action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency);
        EXPECT_EQ(diffuse, SbColor(0, 0, 1));
        EXPECT_EQ(emission, SbColor(0.1f, 0.2f, 0.3f));
    });
}

TEST_F(PropertyNodeTest, IgnoredFieldsAndOverridesAreRespected) {
    auto* over = new SoDrawStyle;
    over->style = SoDrawStyle::LINES;
    over->lineWidth = 3.0f;
    over->setOverride(true);
    auto* below = new SoDrawStyle;
    below->style = SoDrawStyle::POINTS;
    below->lineWidth = 5.0f;
    below->pointSize = 4.0f;
    below->pointSize.setIgnored(true);
    root->addChild(over);
    root->addChild(below);
    probeAtEnd([](SoCallbackAction* action) {
        EXPECT_EQ(action->getDrawStyle(), SoDrawStyleElement::LINES);
        EXPECT_FLOAT_EQ(action->getLineWidth(), 3.0f);
        EXPECT_FLOAT_EQ(action->getPointSize(), 0.0f);
        EXPECT_EQ(action->getLinePattern(), 0xFFFF);
    });
}

TEST_F(PropertyNodeTest, PatternMaskBytesFollowTheRows) {
    auto* pattern = new SoPattern;
    pattern->category = SbString("hatch");
    pattern->name = SbString("diagonal");
    pattern->mask.setValues({0x80000001u, 0x12345678u});
    root->addChild(pattern);
    probeAtEnd([](SoCallbackAction* action) {
        SbString category, name;
        const unsigned char* mask = nullptr;
        SoPatternElement::get(action->getState(), category, name, mask);
        EXPECT_EQ(category, SbString("hatch"));
        EXPECT_EQ(name, SbString("diagonal"));
        ASSERT_NE(mask, nullptr);
        EXPECT_EQ(mask[0], 0x80);
        EXPECT_EQ(mask[3], 0x01);
        EXPECT_EQ(mask[4], 0x12);
        EXPECT_EQ(mask[7], 0x78);
        EXPECT_EQ(mask[127], 0x00);  // rows not given are clear
    });
}

TEST_F(PropertyNodeTest, NoPatternMeansSolidFill) {
    probeAtEnd([](SoCallbackAction* action) {
        SbString category, name;
        const unsigned char* mask = reinterpret_cast<const unsigned char*>(1);
        SoPatternElement::get(action->getState(), category, name, mask);
        EXPECT_EQ(mask, nullptr);
    });
}

TEST_F(PropertyNodeTest, EnvironmentAndPolygonOffsetReachTheirElements) {
    auto* environment = new SoEnvironment;
    environment->ambientIntensity = 0.5f;
    environment->attenuation.setValue(SbVec3f(0, 0, 1));
    auto* offset = new SoPolygonOffset;
    offset->factor = 2.0f;
    offset->styles = SoPolygonOffset::FILLED | SoPolygonOffset::LINES;
    root->addChild(environment);
    root->addChild(offset);
    probeAtEnd([](SoCallbackAction* action) {
        EXPECT_FLOAT_EQ(SoEnvironmentElement::getAmbientIntensity(action->getState()), 0.5f);
        EXPECT_EQ(SoEnvironmentElement::getLightAttenuation(action->getState()), SbVec3f(0, 0, 1));
        float factor, units;
        int styles;
        bool on;
        SoPolygonOffsetElement::get(action->getState(), factor, units, styles, on);
        EXPECT_FLOAT_EQ(factor, 2.0f);
        EXPECT_FLOAT_EQ(units, 1.0f);
        EXPECT_EQ(styles, 3);
        EXPECT_TRUE(on);
    });
}

TEST_F(PropertyNodeTest, LightsCarryTheirModelMatrixAndStayInTheirSeparator) {
    auto* inner = new SoSeparator;
    auto* turn = new SoRotation;
    turn->rotation.setValue(SbRotation(SbVec3f(0, 1, 0), static_cast<float>(M_PI / 2)));
    auto* light = new SoDirectionalLight;
    auto* off = new SoDirectionalLight;
    off->on = false;
    root->addChild(turn);
    root->addChild(light);
    root->addChild(off);
    root->addChild(inner);
    inner->addChild(new SoDirectionalLight);
    probeAtEnd([light](SoCallbackAction* action) {
        const SoNodeList& lights = SoLightElement::getLights(action->getState());
        ASSERT_EQ(lights.getLength(), 1);
        EXPECT_EQ(lights[0], light);
        SbVec3f direction;
        SoLightElement::getMatrix(action->getState(), 0).multDirMatrix(SbVec3f(0, 0, -1),
                                                                      direction);
        EXPECT_NEAR(direction[0], -1.0f, 1e-5f);
        EXPECT_NEAR(direction[2], 0.0f, 1e-5f);
    });
}

TEST_F(PropertyNodeTest, TransformComposesScaleRotationTranslationAboutCentre) {
    auto* transform = new SoTransform;
    transform->translation.setValue(SbVec3f(10, 0, 0));
    transform->scaleFactor.setValue(SbVec3f(2, 2, 2));
    transform->center.setValue(SbVec3f(1, 0, 0));
    root->addChild(transform);
    probeAtEnd([](SoCallbackAction* action) {
        SbVec3f p;
        action->getModelMatrix().multVecMatrix(SbVec3f(1, 0, 0), p);
        EXPECT_NEAR(p[0], 11.0f, 1e-5f);  // the centre does not move under the scale
        action->getModelMatrix().multVecMatrix(SbVec3f(2, 0, 0), p);
        EXPECT_NEAR(p[0], 13.0f, 1e-5f);
    });
}

}  // namespace
