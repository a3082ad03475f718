// 3D text: glyph triangles, their layout, parts, details and render styles; 2D text and images
// generate nothing and are boxed by their anchor.

#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoComplexity.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>

#include <set>
#include <string>

#include "TextTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

using Text3Test = TextTest;

TEST_F(Text3Test, LettersAreCounterclockwiseTrianglesOnTheBaselineScaledBySize) {
    const Capture a = captureText({"A"});
    ASSERT_GT(a.triangles.size(), 0u);
    for (const CapturedTriangle& t : a.triangles) {
        EXPECT_EQ(t.part, 0);
        EXPECT_EQ(t.face, 0);
        EXPECT_GT(t.crossZ(), 0.0f);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(t.p[k][2], 0.0f);
            EXPECT_EQ(t.n[k], SbVec3f(0, 0, 1));
        }
    }
    EXPECT_TRUE(a.segments.empty());
    EXPECT_EQ(a.points, 0);

    // The rectangular I fills its box exactly, sitting on the baseline and most of the em
    // square high.
    const Triangles i = captureText({"I"}).triangles;
    const SbVec3f size = boxOf(i).getSize();
    EXPECT_NEAR(totalArea(i), size[0] * size[1], 0.01f * size[0] * size[1]);
    EXPECT_NEAR(boxOf(i).getMin()[1], 0.0f, 1e-4f);
    EXPECT_GT(size[1], 0.6f * font->size.getValue());
    EXPECT_LT(size[1], 0.8f * font->size.getValue());

    const SbBox3f at10 = boxOf(captureText({"Ag"}).triangles);
    font->size.setValue(2.5f * font->size.getValue());
    const SbBox3f at25 = boxOf(captureText({"Ag"}).triangles);
    EXPECT_TRUE(at25.getMin().equals(2.5f * at10.getMin(), 1e-3f));
    EXPECT_TRUE(at25.getMax().equals(2.5f * at10.getMax(), 1e-3f));
    EXPECT_LT(at10.getMin()[1], 0.0f);  // the descender of g goes below the baseline
}

TEST_F(Text3Test, JustificationLinesAndCharacterIndicesLayOutTheText) {
    // The pen advance of "AB" is where a third letter starts: the offset of an I after it,
    // relative to an I alone.
    const float ix = boxOf(captureText({"I"}).triangles).getMin()[0];
    const float width = boxOf(captureText({"ABI"}).ofFace(2)).getMin()[0] - ix;
    ASSERT_GT(width, 10.0f);
    const SbBox3f left = boxOf(captureText({"AB"}, SoText3::LEFT).triangles);
    const struct {
        int justification;
        float shift;
    } cases[] = {{SoText3::RIGHT, -width}, {SoText3::CENTER, -0.5f * width}};
    for (const auto& c : cases) {
        const SbBox3f box = boxOf(captureText({"AB"}, c.justification).triangles);
        EXPECT_TRUE(box.getMin().equals(left.getMin() + SbVec3f(c.shift, 0, 0), 1e-3f));
        EXPECT_TRUE(box.getMax().equals(left.getMax() + SbVec3f(c.shift, 0, 0), 1e-3f));
    }

    // Lines stack by size times spacing; character indices run over all lines.
    font->size.setValue(4.0f);
    SoText3* text = addText({"I", "", "I"});
    text->spacing.setValue(1.5f);
    const Capture result = capture();
    std::set<int> faces;
    for (const CapturedTriangle& t : result.triangles) faces.insert(t.face);
    EXPECT_EQ(faces, (std::set<int>{0, 1}));
    const SbBox3f first = boxOf(result.ofFace(0)), third = boxOf(result.ofFace(1));
    EXPECT_TRUE(third.getMin().equals(first.getMin() - SbVec3f(0, 12, 0), 1e-4f));
    EXPECT_TRUE(third.getMax().equals(first.getMax() - SbVec3f(0, 12, 0), 1e-4f));
}

TEST_F(Text3Test, RenderStylesChooseTrianglesOutlinesOrNothing) {
    for (int style : {SoFont::TEXTURE, SoFont::TEXTURE_DELAYED}) {
        font->renderStyle.setValue(style);
        EXPECT_TRUE(captureText({"Text"}).triangles.empty()) << style;
    }
    font->renderStyle.setValue(SoFont::POLYGON_AND_OUTLINE);
    const Capture result = captureText({"I"});
    // The I is one rectangle: four edges on the border of its filled box.
    ASSERT_EQ(result.segments.size(), 4u);
    const SbBox3f box = boxOf(result.triangles);
    float perimeter = 0.0f;
    for (const CapturedSegment& s : result.segments) {
        EXPECT_EQ(s.line, 0);
        perimeter += (s.p[1] - s.p[0]).length();
        for (const SbVec3f& p : s.p) EXPECT_TRUE(box.intersect(p));
    }
    EXPECT_NEAR(perimeter, 2.0f * (box.getSize()[0] + box.getSize()[1]), 1e-3f);
}

TEST_F(Text3Test, BackAndSidesCloseTheLetterAtATenthOfTheSize) {
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_PART);
    root->addChild(binding);
    SoText3* text = addText({"I"});
    text->parts.setValue(SoText3::ALL);
    const Capture result = capture();
    const float depth = 0.1f * font->size.getValue();
    const Triangles front = result.ofPart(0), back = result.ofPart(2);
    ASSERT_EQ(front.size(), back.size());
    for (const CapturedTriangle& t : back) {
        EXPECT_LT(t.crossZ(), 0.0f);  // counterclockwise seen from -z
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(t.p[k][2], -depth);
            EXPECT_EQ(t.n[k], SbVec3f(0, 0, -1));
        }
    }
    EXPECT_NEAR(totalArea(back), totalArea(front), 1e-4f);

    const Triangles sides = result.ofPart(1);
    ASSERT_EQ(sides.size(), 8u);  // a quad per edge of the rectangle
    const SbBox3f box = boxOf(sides);
    const SbVec3f size = box.getSize(), middle = box.getCenter();
    EXPECT_FLOAT_EQ(size[2], depth);
    EXPECT_NEAR(totalArea(sides), 2.0f * (size[0] + size[1]) * depth, 1e-3f);
    for (const CapturedTriangle& t : sides) {
        const SbVec3f n = t.n[0];
        EXPECT_FLOAT_EQ(n[2], 0.0f);
        EXPECT_NEAR(n.length(), 1.0f, 1e-6f);
        // Counterclockwise seen from where the normal points, and pointing away from the
        // middle of the letter.
        EXPECT_GT((t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]).dot(n), 0.0f);
        EXPECT_GT((t.p[0] - middle).dot(n), 0.0f);
    }
    for (const CapturedTriangle& t : result.triangles) EXPECT_EQ(t.material, t.part);
    binding->value.setValue(SoMaterialBinding::OVERALL);
    for (const CapturedTriangle& t : capture().triangles) EXPECT_EQ(t.material, 0);

    // The bounding box holds the ink, and the depth only where there is a side or back.
    SoGetBoundingBoxAction action;
    action.apply(root);
    EXPECT_TRUE(action.getBoundingBox().getMin().equals(boxOf(result.triangles).getMin(), 1e-4f));
    EXPECT_TRUE(action.getBoundingBox().getMax().equals(boxOf(result.triangles).getMax(), 1e-4f));
    text->parts.setValue(SoText3::FRONT);
    action.apply(root);
    EXPECT_EQ(action.getBoundingBox().getMin()[2], 0.0f);
    text->parts.setValue(SoText3::SIDES);
    EXPECT_TRUE(capture().ofPart(0).empty());
}

TEST_F(Text3Test, CodePointsWithAndWithoutGlyphs) {
    const Capture greek = captureText({"\xCE\xA9\xD0\xB6"});  // Omega, Cyrillic zhe
    EXPECT_FALSE(greek.ofFace(0).empty());
    EXPECT_GT(boxOf(greek.ofFace(1)).getMin()[0], boxOf(greek.ofFace(0)).getMax()[0] - 1.0f);

    // A character the face has no glyph for is skipped but takes space.
    const std::string cjk = "\xE4\xB8\xAD";
    const Capture withOne = captureText({("A" + cjk + "A").c_str()});
    const Capture withTwo = captureText({("A" + cjk + cjk + "A").c_str()});
    EXPECT_EQ(withOne.triangles.size(), 2 * captureText({"A"}).triangles.size());
    EXPECT_TRUE(withOne.ofFace(1).empty());
    const float afterOne = boxOf(withOne.ofFace(2)).getMin()[0];
    const float missingAdvance = boxOf(withTwo.ofFace(3)).getMin()[0] - afterOne;
    EXPECT_GT(missingAdvance, 1.0f);
    EXPECT_NEAR(afterOne - boxOf(captureText({"AA"}).ofFace(1)).getMin()[0], missingAdvance, 1e-3f);
}

TEST_F(Text3Test, ComplexityRefinesCurvesOnlyAndRepeatsExactly) {
    auto* complexity = new SoComplexity;
    root->insertChild(complexity, 0);
    complexity->value.setValue(0.0f);
    const Capture coarse = captureText({"OI"});
    complexity->value.setValue(1.0f);
    const Capture fine = captureText({"OI"});
    EXPECT_GT(fine.ofFace(0).size(), coarse.ofFace(0).size());
    EXPECT_EQ(fine.ofFace(1).size(), coarse.ofFace(1).size());
    EXPECT_NEAR(totalArea(fine.ofFace(0)), totalArea(coarse.ofFace(0)),
                0.05f * totalArea(fine.ofFace(0)));
    EXPECT_TRUE(sameTriangles(captureText({"OI"}).triangles, fine.triangles));  // cached or not
    // Annotation text draws the same glyphs, though it is no SoText3.
    SoAnnoText3* anno = addText<SoAnnoText3>({"OI"});
    EXPECT_FALSE(anno->isOfType(SoText3::getClassTypeId()));
    EXPECT_TRUE(sameTriangles(capture().triangles, fine.triangles));
}

TEST_F(Text3Test, EmptyTextIsQuietAndANonPositiveSizeIsReported) {
    DebugErrorRecorder recorder;
    EXPECT_TRUE(captureText({""}).triangles.empty());
    EXPECT_TRUE(captureText({"   ", ""}).triangles.empty());
    SoText3* text = addText({"x"});
    text->string.setNum(0);
    EXPECT_TRUE(capture().triangles.empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    root->removeChild(text);
    for (float size : {0.0f, -3.0f}) {
        font->size.setValue(size);
        recorder.clear();
        EXPECT_TRUE(captureText({"A"}).triangles.empty()) << size;
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u) << recorder.dump();
    }
}

TEST_F(Text3Test, Text2AndImagesGenerateNothingAndAreBoxedByTheirAnchor) {
    auto* move = new SoTranslation;
    move->translation.setValue(SbVec3f(1, 2, 3));
    root->addChild(move);
    auto* image = new SoImage;
    const unsigned char pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    image->image.setValue(SbVec2s(2, 2), 3, pixels);
    image->horAlignment.setValue(SoImage::CENTER);
    auto* empty = new SoImage;
    empty->image.setValue(SbVec2s(0, 0), 0, nullptr);
    auto* text2 = new SoText2;
    text2->string.set1Value(1, "World");
    EXPECT_FALSE(text2->justification.setValue("MIDDLE"));  // by name, as a file gives it
    EXPECT_TRUE(text2->justification.setValue("CENTER"));
    for (SoNode* node :
         {static_cast<SoNode*>(text2), static_cast<SoNode*>(image), static_cast<SoNode*>(empty)}) {
        root->addChild(node);
        const Capture result = capture();
        EXPECT_TRUE(result.triangles.empty() && result.segments.empty() && result.points == 0);
        SoGetBoundingBoxAction action;
        action.apply(root);
        EXPECT_EQ(action.getBoundingBox(), SbBox3f(SbVec3f(1, 2, 3), SbVec3f(1, 2, 3)));
        root->removeChild(node);
    }
}

}  // namespace
