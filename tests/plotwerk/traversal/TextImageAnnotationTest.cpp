// Text, images and annotations: 2D text stacked line by line, 3D and annotation text in
// their print forms, images with their requested sizes, and annotation subgraphs drawn on
// top of everything else.

#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoAnnoText3Property.h>
#include <Tessara/nodes/SoAnnotation.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoText3.h>
#include <Tessara/nodes/SoTranslation.h>

#include "TraversalFixture.h"

using traversal::coordinatesFor;
using traversal::expectColor;
using traversal::expectPointAt;
using traversal::pageOf;
using K = RecordedCall;

namespace {

SoMaterial* diffuse(const SbColor& color, float transparency = 0.0f) {
    auto* material = new SoMaterial;
    material->diffuseColor.setValue(color);
    material->transparency.setValue(transparency);
    return material;
}

SoSeparator* lineAt(float y) {
    auto* sep = new SoSeparator;
    sep->addChild(coordinatesFor({SbVec3f(-0.5f, y, 0), SbVec3f(0.5f, y, 0)}));
    sep->addChild(new SoLineSet);
    return sep;
}

SoFont* font(const char* name, float size) {
    auto* f = new SoFont;
    f->name.setValue(SbName(name));
    f->size.setValue(size);
    return f;
}

}  // namespace

class TextCapture : public traversal::TraversalTest {};

TEST_F(TextCapture, Text2LinesStepDownByFontSizeTimesNominalWidthTimesSpacing) {
    root->addChild(font("Courier", 12.0f));
    root->addChild(diffuse(SbColor(0, 0, 1)));
    auto* text = new SoText2;
    text->string.setValues({SbString("first"), SbString("second"), SbString("third")});
    text->spacing.setValue(1.5f);
    text->justification.setValue(SoText2::RIGHT);
    root->addChild(text);
    action->apply(root);

    const std::vector<RecordedCall> lines = action->ofKind(K::TEXT2);
    ASSERT_EQ(lines.size(), 3u);
    const float step = 12.0f * (25.4f / 72.0f) * 1.5f;
    const char* strings[3] = {"first", "second", "third"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].string, strings[i]);
        EXPECT_NEAR(lines[i].origin[0], 50.0f, 1e-3f);
        EXPECT_NEAR(lines[i].origin[1], 50.0f - i * step, 1e-3f);
        EXPECT_EQ(lines[i].fontName, "Courier");
        EXPECT_FLOAT_EQ(lines[i].fontSize, 12.0f);
        EXPECT_EQ(lines[i].justification, SoText2::RIGHT);
        EXPECT_FLOAT_EQ(lines[i].angle, 0.0f);
        expectColor(lines[i].color, SbColor(0, 0, 1));
    }
}

TEST_F(TextCapture, TheLineStepFollowsTheNominalWidth) {
    action->setNominalWidth(1.0f, SoVectorizeAction::MILLIMETER);
    root->addChild(font("Courier", 10.0f));
    auto* translation = new SoTranslation;
    translation->translation.setValue(SbVec3f(-0.5f, 0.5f, 0));
    root->addChild(translation);
    auto* text = new SoText2;
    text->string.setValues({SbString("a"), SbString("b")});
    root->addChild(text);
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::TEXT2);
    ASSERT_EQ(lines.size(), 2u);
    expectPointAt(lines[0].origin, pageOf(-0.5f, 0.5f));
    expectPointAt(lines[1].origin, SbVec2f(25.0f, 75.0f - 10.0f));
}

TEST_F(TextCapture, FullyTransparentTextIsNotPrinted) {
    root->addChild(diffuse(SbColor(1, 0, 0), 1.0f));
    auto* text = new SoText2;
    text->string.setValue(SbString("gone"));
    root->addChild(text);
    action->apply(root);
    EXPECT_EQ(action->count(K::TEXT2), 0u);
}

TEST_F(TextCapture, TextureRenderedText3IsDrawnAsPolygons) {
    root->addChild(font("defaultFont", 0.5f));
    auto* style = new SoFont;
    style->renderStyle.setValue(SoFont::TEXTURE);
    style->size.setValue(0.5f);
    root->addChild(style);
    auto* text = new SoText3;
    text->string.setValue(SbString("I"));
    root->addChild(text);
    action->apply(root);
    EXPECT_GT(action->count(K::POLYGON), 0u);
    EXPECT_EQ(action->count(K::TEXT2), 0u);
}

class AnnotationTextCapture : public traversal::TraversalTest {
  protected:
    SoAnnoText3* addAnnotationText(SoAnnoText3Property::RenderPrintType type) {
        auto* property = new SoAnnoText3Property;
        property->renderPrintType.setValue(type);
        root->addChild(property);
        root->addChild(font("defaultFont", 0.5f));
        auto* text = new SoAnnoText3;
        text->string.setValues({SbString("I"), SbString("II")});
        root->addChild(text);
        return text;
    }
};

TEST_F(AnnotationTextCapture, PrintedAs2DTextWithoutItsGlyphs) {
    addAnnotationText(SoAnnoText3Property::RENDER2D_PRINT_RASTER);
    root->addChild(lineAt(-0.5f));
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::TEXT2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].string, "I");
    EXPECT_EQ(lines[1].string, "II");
    EXPECT_LT(lines[1].origin[1], lines[0].origin[1]);
    EXPECT_EQ(action->count(K::POLYGON), 0u);
    // Shapes after the annotation text are drawn again.
    EXPECT_EQ(action->count(K::POLYLINE), 1u);
}

TEST_F(AnnotationTextCapture, PrintedAsVectorGlyphsOnly) {
    addAnnotationText(SoAnnoText3Property::RENDER3D_PRINT_VECTOR);
    action->apply(root);
    EXPECT_EQ(action->count(K::TEXT2), 0u);
    EXPECT_GT(action->count(K::POLYGON), 0u);
}

TEST_F(AnnotationTextCapture, RenderedIn3DButPrintedRasterGivesTextAndGlyphs) {
    addAnnotationText(SoAnnoText3Property::RENDER3D_PRINT_RASTER);
    action->apply(root);
    EXPECT_EQ(action->count(K::TEXT2), 2u);
    EXPECT_GT(action->count(K::POLYGON), 0u);
}

class ImageCapture : public traversal::TraversalTest {};

TEST_F(ImageCapture, AnImageIsPrintedAtItsAnchorWithItsPixels) {
    auto* translation = new SoTranslation;
    translation->translation.setValue(SbVec3f(0.5f, 0.5f, 0));
    root->addChild(translation);
    auto* image = new SoImage;
    const unsigned char pixels[4 * 2 * 3] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                             13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    image->image.setValue(SbVec2s(4, 2), 3, pixels);
    image->height.setValue(5);
    image->horAlignment.setValue(SoImage::RIGHT);
    image->vertAlignment.setValue(SoImage::HALF);
    root->addChild(image);
    action->apply(root);

    const std::vector<RecordedCall> images = action->ofKind(K::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    const RecordedCall& printed = images[0];
    expectPointAt(printed.origin, pageOf(0.5f, 0.5f));
    EXPECT_EQ(printed.sourceSize, SbVec2s(4, 2));
    // A negative width keeps the image's own; the height asked for is kept.
    EXPECT_EQ(printed.requestedSize, SbVec2s(4, 5));
    EXPECT_EQ(printed.numComponents, 3);
    EXPECT_EQ(printed.horAlignment, SoImage::RIGHT);
    EXPECT_EQ(printed.vertAlignment, SoImage::HALF);
    ASSERT_EQ(printed.pixels.size(), sizeof(pixels));
    EXPECT_TRUE(std::equal(printed.pixels.begin(), printed.pixels.end(), pixels));
}

TEST_F(ImageCapture, AnImageBeyondTheSidesIsStillHandedToTheBackend) {
    auto* translation = new SoTranslation;
    translation->translation.setValue(SbVec3f(3.0f, 0, 0));
    root->addChild(translation);
    auto* image = new SoImage;
    const unsigned char pixel[1] = {128};
    image->image.setValue(SbVec2s(1, 1), 1, pixel);
    root->addChild(image);
    action->apply(root);
    const std::vector<RecordedCall> images = action->ofKind(K::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    expectPointAt(images[0].origin, pageOf(3.0f, 0));
}

class AnnotationCapture : public traversal::TraversalTest {};

TEST_F(AnnotationCapture, AnnotationsAreDrawnLastWithoutDisturbingTheRest) {
    root->addChild(diffuse(SbColor(1, 0, 0)));
    auto* annotation = new SoAnnotation;
    annotation->addChild(diffuse(SbColor(0, 1, 0)));
    annotation->addChild(lineAt(0.5f));
    root->addChild(annotation);
    root->addChild(lineAt(-0.5f));
    action->apply(root);

    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 2u);
    // First the line that follows the annotation, in the colour in force before it.
    expectPointAt(lines[0].points[0], pageOf(-0.5f, -0.5f));
    expectColor(lines[0].colors[0], SbColor(1, 0, 0));
    // Then the annotation's own line, in its own colour, before the border.
    expectPointAt(lines[1].points[0], pageOf(-0.5f, 0.5f));
    expectColor(lines[1].colors[0], SbColor(0, 1, 0));
    const std::vector<K::Kind> kinds = action->kinds();
    ASSERT_GE(kinds.size(), 3u);
    EXPECT_EQ(kinds[kinds.size() - 3], K::POLYLINE);
    EXPECT_EQ(kinds[kinds.size() - 2], K::BORDER);
}

TEST_F(AnnotationCapture, AnAnnotationSeesTheStateBuiltUpBeforeIt) {
    root->addChild(diffuse(SbColor(0, 0, 1)));
    auto* translation = new SoTranslation;
    translation->translation.setValue(SbVec3f(0.25f, 0, 0));
    root->addChild(translation);
    auto* annotation = new SoAnnotation;
    annotation->addChild(lineAt(0.0f));
    root->addChild(annotation);
    action->apply(root);
    const std::vector<RecordedCall> lines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(lines.size(), 1u);
    expectPointAt(lines[0].points[0], pageOf(-0.25f, 0));
    expectPointAt(lines[0].points[1], pageOf(0.75f, 0));
    expectColor(lines[0].colors[0], SbColor(0, 0, 1));
}

TEST_F(AnnotationCapture, EachApplyDrawsItsAnnotationsOnce) {
    auto* annotation = new SoAnnotation;
    annotation->addChild(lineAt(0.0f));
    root->addChild(annotation);
    action->apply(root);
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYLINE), 2u);
}

TEST_F(AnnotationCapture, AnnotationsAreDrawnWithTheHiddenLineModeOff) {
    action->setHLHSRMode(SoVectorizeAction::HLHSR_RASTER);
    auto* annotation = new SoAnnotation;
    annotation->addChild(lineAt(0.0f));
    root->addChild(annotation);
    root->addChild(lineAt(-0.5f));
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYLINE), 2u);
    EXPECT_EQ(action->getHLHSRMode(), SoVectorizeAction::HLHSR_OFF);
}
