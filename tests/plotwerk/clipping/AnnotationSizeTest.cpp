// The printed size and angle of annotation text drawn as 2D text.
//
// The fixture's view maps one world unit to 100 mm, and the nominal width is set to 0.5 mm,
// so a font size of 0.1 world units measures 10 mm on the page and prints as 20 nominal
// widths.

#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoAnnoText3Property.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoRotation.h>
#include <Tessara/nodes/SoScale.h>

#include <cmath>

#include "ClipScene.h"
#include "support/DebugErrorRecorder.h"

namespace {

constexpr const char* kMaxSizeKey = "VXN_MAX_ANNO_RENDER2D_SIZE";
constexpr float kNominal = 0.5f;

class AnnotationSizeTest : public ClipScene {
  protected:
    void SetUp() override {
        ClipScene::SetUp();
        SoPreferences::removeValue(kMaxSizeKey);
        action->setNominalWidth(kNominal);
        addOrthoCamera();
        addBaseColor(SbColor(1, 0, 0));
    }

    void TearDown() override {
        SoPreferences::removeValue(kMaxSizeKey);
        ClipScene::TearDown();
    }

    SoAnnoText3Property* addProperty(SoAnnoText3Property::FontSizeHint hint, bool oriented) {
        auto* property = new SoAnnoText3Property;
        property->fontSizeHint.setValue(hint);
        property->isCharOrientedRasterPrint.setValue(oriented);
        root->addChild(property);
        return property;
    }

    SoFont* addFontSize(float size) {
        auto* font = new SoFont;
        font->size.setValue(size);
        root->addChild(font);
        return font;
    }

    SoAnnoText3* addText(std::initializer_list<SbString> strings) {
        auto* text = new SoAnnoText3;
        text->string.setValues(strings);
        root->addChild(text);
        return text;
    }

    /// The one printed line; fails the test when there is not exactly one.
    RecordedCall printedLine() const {
        const auto lines = calls(RecordedCall::TEXT2);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? RecordedCall() : lines[0];
    }
};

TEST_F(AnnotationSizeTest, SizeIsWhatTheFontSizeMeasuresOnThePage) {
    addProperty(SoAnnoText3Property::ANNOTATION, true);
    addFontSize(0.1f);
    addText({SbString("label")});
    apply();
    const RecordedCall line = printedLine();
    EXPECT_NEAR(line.fontSize, 10.0f / kNominal, 1e-3f);
    EXPECT_NEAR(line.angle, 0.0f, 1e-6f);
    expectPoint(line.origin, 100, 100, 0.5f);
    EXPECT_EQ(line.string, "label");
}

TEST_F(AnnotationSizeTest, AnnotationHintTakesTheLongestAxisAndFitHintTheShortest) {
    auto* scale = new SoScale;
    scale->scaleFactor.setValue(SbVec3f(2, 1, 1));
    root->addChild(scale);
    SoAnnoText3Property* property = addProperty(SoAnnoText3Property::ANNOTATION, true);
    addFontSize(0.1f);
    addText({SbString("wide")});
    apply();
    EXPECT_NEAR(printedLine().fontSize, 20.0f / kNominal, 1e-3f);

    action->clear();
    property->fontSizeHint.setValue(SoAnnoText3Property::FIT_TEXT_VECTOR);
    apply();
    EXPECT_NEAR(printedLine().fontSize, 10.0f / kNominal, 1e-3f);
}

TEST_F(AnnotationSizeTest, AnnotationHintMeasuresTheDepthAxisToo) {
    // Turned a quarter about x: the text's y axis points away from the viewer and its z
    // axis points down the page.
    auto* rotation = new SoRotation;
    rotation->rotation.setValue(SbRotation(SbVec3f(1, 0, 0), 1.5707963f));
    root->addChild(rotation);
    auto* scale = new SoScale;
    scale->scaleFactor.setValue(SbVec3f(1, 1, 3));
    root->addChild(scale);
    addProperty(SoAnnoText3Property::ANNOTATION, true);
    addFontSize(0.1f);
    addText({SbString("edge on")});
    apply();
    EXPECT_NEAR(printedLine().fontSize, 30.0f / kNominal, 1e-3f);
}

TEST_F(AnnotationSizeTest, OrientedTextFollowsItsBaselineOnThePage) {
    auto* rotation = new SoRotation;
    rotation->rotation.setValue(SbRotation(SbVec3f(0, 0, 1), 0.5235988f));
    root->addChild(rotation);
    SoAnnoText3Property* property = addProperty(SoAnnoText3Property::ANNOTATION, true);
    addFontSize(0.1f);
    addText({SbString("tilted")});
    apply();
    EXPECT_NEAR(printedLine().angle, 0.5235988f, 1e-5f);
    EXPECT_NEAR(printedLine().fontSize, 10.0f / kNominal, 1e-3f);

    action->clear();
    property->isCharOrientedRasterPrint.setValue(false);
    apply();
    EXPECT_EQ(printedLine().angle, 0.0f);
}

TEST_F(AnnotationSizeTest, ZeroSizeBecomesOneMillimetre) {
    DebugErrorRecorder errors;  // the glyph builder's note about the empty font
    addProperty(SoAnnoText3Property::FIT_TEXT_VECTOR, true);
    addFontSize(0.0f);
    addText({SbString("tiny")});
    apply();
    EXPECT_NEAR(printedLine().fontSize, 1.0f / kNominal, 1e-5f);
}

TEST_F(AnnotationSizeTest, SizeIsCappedByThePreferenceReadAtEveryApply) {
    addProperty(SoAnnoText3Property::ANNOTATION, true);
    SoFont* font = addFontSize(0.1f);
    addText({SbString("capped")});
    SoPreferences::setInt(kMaxSizeKey, 4);
    apply();
    EXPECT_NEAR(printedLine().fontSize, 4.0f / kNominal, 1e-5f);

    action->clear();
    SoPreferences::setInt(kMaxSizeKey, 7);
    apply();
    EXPECT_NEAR(printedLine().fontSize, 7.0f / kNominal, 1e-5f);

    action->clear();
    SoPreferences::removeValue(kMaxSizeKey);
    font->size.setValue(20.0f);  // 2000 mm on the page: the default cap of 1000 mm applies
    apply();
    EXPECT_NEAR(printedLine().fontSize, 1000.0f / kNominal, 1e-2f);
}

TEST_F(AnnotationSizeTest, LinesStepDownByThePrintedSize) {
    addProperty(SoAnnoText3Property::ANNOTATION, true);
    addFontSize(0.1f);
    SoAnnoText3* text = addText({SbString("first"), SbString("second")});
    text->spacing.setValue(2.0f);
    apply();
    const auto lines = calls(RecordedCall::TEXT2);
    ASSERT_EQ(lines.size(), 2u);
    // 20 nominal widths of 0.5 mm, twice: 20 mm between the baselines.
    expectPoint(lines[0].origin, 100, 100, 0.5f);
    expectPoint(lines[1].origin, 100, 80, 0.5f);
    EXPECT_EQ(lines[1].string, "second");
}

}  // namespace
