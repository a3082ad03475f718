// 3D text: glyph triangles, their layout, parts, details and render styles; 2D text and images
// generate nothing and are boxed by their anchor.

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
    SoText3* text = addText({"A"});
    const Generated a = generate();
    root->removeChild(text);
    ASSERT_GT(a.triangles.size(), 0u);
    for (const Primitive& t : a.triangles) {
        EXPECT_EQ(t.part, 0);
        EXPECT_EQ(t.face, 0);
        EXPECT_GT(t.geometricNormal()[2], 0.0f);
        for (const shapetest::Vertex& v : t.v) {
            EXPECT_EQ(v.point[2], 0.0f);
            EXPECT_EQ(v.normal, SbVec3f(0, 0, 1));
        }
    }
    EXPECT_TRUE(a.segments.empty() && a.points.empty());

    // The rectangular I fills its box exactly, sitting on the baseline and most of the em
    // square high.
    const Triangles i = captureText({"I"});
    const SbVec3f size = boxOf(i).getSize();
    EXPECT_NEAR(totalArea(i), size[0] * size[1], 0.01f * size[0] * size[1]);
    EXPECT_NEAR(boxOf(i).getMin()[1], 0.0f, 1e-4f);
    EXPECT_GT(size[1], 0.6f * font->size.getValue());
    EXPECT_LT(size[1], 0.8f * font->size.getValue());

    const SbBox3f at10 = boxOf(captureText({"Ag"}));
    font->size.setValue(2.5f * font->size.getValue());
    const SbBox3f at25 = boxOf(captureText({"Ag"}));
    EXPECT_TRUE(at25.getMin().equals(2.5f * at10.getMin(), 1e-3f));
    EXPECT_TRUE(at25.getMax().equals(2.5f * at10.getMax(), 1e-3f));
    EXPECT_LT(at10.getMin()[1], 0.0f);  // the descender of g goes below the baseline
}

TEST_F(Text3Test, JustificationLinesAndCharacterIndicesLayOutTheText) {
    // The pen advance of "AB" is where a third letter starts: the offset of an I after it,
    // relative to an I alone.
    const float ix = boxOf(captureText({"I"})).getMin()[0];
    const float width = boxOf(ofFace(captureText({"ABI"}), 2)).getMin()[0] - ix;
    ASSERT_GT(width, 10.0f);
    const SbBox3f left = boxOf(captureText({"AB"}, SoText3::LEFT));
    const struct {
        int justification;
        float shift;
    } cases[] = {{SoText3::RIGHT, -width}, {SoText3::CENTER, -0.5f * width}};
    for (const auto& c : cases) {
        const SbBox3f shifted = boxOf(captureText({"AB"}, c.justification));
        EXPECT_TRUE(shifted.getMin().equals(left.getMin() + SbVec3f(c.shift, 0, 0), 1e-3f));
        EXPECT_TRUE(shifted.getMax().equals(left.getMax() + SbVec3f(c.shift, 0, 0), 1e-3f));
    }

    // Lines stack by size times spacing; character indices run over all lines.
    font->size.setValue(4.0f);
    SoText3* text = addText({"I", "", "I"});
    text->spacing.setValue(1.5f);
    const Triangles result = triangles();
    std::set<int> faces;
    for (const Primitive& t : result) faces.insert(t.face);
    EXPECT_EQ(faces, (std::set<int>{0, 1}));
    const SbBox3f first = boxOf(ofFace(result, 0)), third = boxOf(ofFace(result, 1));
    EXPECT_TRUE(third.getMin().equals(first.getMin() - SbVec3f(0, 12, 0), 1e-4f));
    EXPECT_TRUE(third.getMax().equals(first.getMax() - SbVec3f(0, 12, 0), 1e-4f));
}

TEST_F(Text3Test, RenderStylesChooseTrianglesOutlinesOrNothing) {
    for (int style : {SoFont::TEXTURE, SoFont::TEXTURE_DELAYED}) {
        font->renderStyle.setValue(style);
        EXPECT_TRUE(captureText({"Text"}).empty()) << style;
    }
    font->renderStyle.setValue(SoFont::POLYGON_AND_OUTLINE);
    addText({"I"});
    const Generated result = generate();
    // The I is one rectangle: four edges on the border of its filled box.
    ASSERT_EQ(result.segments.size(), 4u);
    const SbBox3f ink = boxOf(result.triangles);
    EXPECT_EQ(boxOf(result.segments), ink);
    float perimeter = 0.0f;
    for (const Primitive& s : result.segments) {
        EXPECT_EQ(s.face, 0);
        perimeter += (s.v[1].point - s.v[0].point).length();
    }
    EXPECT_NEAR(perimeter, 2.0f * (ink.getSize()[0] + ink.getSize()[1]), 1e-3f);
}

TEST_F(Text3Test, BackAndSidesCloseTheLetterAtATenthOfTheSize) {
    auto* binding = add(new SoMaterialBinding);
    binding->value.setValue(SoMaterialBinding::PER_PART);
    SoText3* text = addText({"I"});
    text->parts.setValue(SoText3::ALL);
    const Triangles result = triangles();
    const float depth = 0.1f * font->size.getValue();
    const Triangles front = ofPart(result, 0), back = ofPart(result, 2);
    ASSERT_EQ(front.size(), back.size());
    for (const Primitive& t : back) {
        EXPECT_LT(t.geometricNormal()[2], 0.0f);  // counterclockwise seen from -z
        for (const shapetest::Vertex& v : t.v) {
            EXPECT_FLOAT_EQ(v.point[2], -depth);
            EXPECT_EQ(v.normal, SbVec3f(0, 0, -1));
        }
    }
    EXPECT_NEAR(totalArea(back), totalArea(front), 1e-4f);

    const Triangles sides = ofPart(result, 1);
    ASSERT_EQ(sides.size(), 8u);  // a quad per edge of the rectangle
    const SbVec3f size = boxOf(sides).getSize(), middle = boxOf(sides).getCenter();
    EXPECT_FLOAT_EQ(size[2], depth);
    EXPECT_NEAR(totalArea(sides), 2.0f * (size[0] + size[1]) * depth, 1e-3f);
    for (const Primitive& t : sides) {
        const SbVec3f n = t.v[0].normal;
        EXPECT_FLOAT_EQ(n[2], 0.0f);
        EXPECT_NEAR(n.length(), 1.0f, 1e-6f);
        // Counterclockwise seen from where the normal points, and pointing away from the
        // middle of the letter.
        EXPECT_GT(t.geometricNormal().dot(n), 0.0f);
        EXPECT_GT((t.v[0].point - middle).dot(n), 0.0f);
    }
    for (const Primitive& t : result) EXPECT_EQ(t.v[0].material, t.part);
    binding->value.setValue(SoMaterialBinding::OVERALL);
    for (const Primitive& t : triangles()) EXPECT_EQ(t.v[0].material, 0);

    // The bounding box holds the ink, and the depth only where there is a side or back.
    EXPECT_TRUE(box().getMin().equals(boxOf(result).getMin(), 1e-4f));
    EXPECT_TRUE(box().getMax().equals(boxOf(result).getMax(), 1e-4f));
    text->parts.setValue(SoText3::FRONT);
    EXPECT_EQ(box().getMin()[2], 0.0f);
    text->parts.setValue(SoText3::SIDES);
    EXPECT_TRUE(ofPart(triangles(), 0).empty());
}

TEST_F(Text3Test, CodePointsWithAndWithoutGlyphs) {
    const Triangles greek = captureText({"\xCE\xA9\xD0\xB6"});  // Omega, Cyrillic zhe
    EXPECT_FALSE(ofFace(greek, 0).empty());
    EXPECT_GT(boxOf(ofFace(greek, 1)).getMin()[0], boxOf(ofFace(greek, 0)).getMax()[0] - 1.0f);

    // A character the face has no glyph for is skipped but takes space.
    const std::string cjk = "\xE4\xB8\xAD";
    const Triangles withOne = captureText({("A" + cjk + "A").c_str()});
    const Triangles withTwo = captureText({("A" + cjk + cjk + "A").c_str()});
    EXPECT_EQ(withOne.size(), 2 * captureText({"A"}).size());
    EXPECT_TRUE(ofFace(withOne, 1).empty());
    const float afterOne = boxOf(ofFace(withOne, 2)).getMin()[0];
    const float missingAdvance = boxOf(ofFace(withTwo, 3)).getMin()[0] - afterOne;
    EXPECT_GT(missingAdvance, 1.0f);
    EXPECT_NEAR(afterOne - boxOf(ofFace(captureText({"AA"}), 1)).getMin()[0], missingAdvance,
                1e-3f);
}

TEST_F(Text3Test, ComplexityRefinesCurvesOnlyAndRepeatsExactly) {
    auto* level = add(new SoComplexity);
    level->value.setValue(0.0f);
    const Triangles coarse = captureText({"OI"});
    level->value.setValue(1.0f);
    const Triangles fine = captureText({"OI"});
    EXPECT_GT(ofFace(fine, 0).size(), ofFace(coarse, 0).size());
    EXPECT_EQ(ofFace(fine, 1).size(), ofFace(coarse, 1).size());
    EXPECT_NEAR(totalArea(ofFace(fine, 0)), totalArea(ofFace(coarse, 0)),
                0.05f * totalArea(ofFace(fine, 0)));
    EXPECT_TRUE(sameTriangles(captureText({"OI"}), fine));  // cached or not
    // Annotation text draws the same glyphs, though it is no SoText3.
    SoAnnoText3* anno = addText<SoAnnoText3>({"OI"});
    EXPECT_FALSE(anno->isOfType(SoText3::getClassTypeId()));
    EXPECT_TRUE(sameTriangles(triangles(), fine));
}

TEST_F(Text3Test, EmptyTextIsQuietAndANonPositiveSizeIsReported) {
    DebugErrorRecorder recorder;
    EXPECT_TRUE(captureText({""}).empty());
    EXPECT_TRUE(captureText({"   ", ""}).empty());
    SoText3* text = addText({"x"});
    text->string.setNum(0);
    EXPECT_TRUE(triangles().empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    root->removeChild(text);
    for (float size : {0.0f, -3.0f}) {
        font->size.setValue(size);
        recorder.clear();
        EXPECT_TRUE(captureText({"A"}).empty()) << size;
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u) << recorder.dump();
    }
}

TEST_F(Text3Test, Text2AndImagesGenerateNothingAndAreBoxedByTheirAnchor) {
    add(new SoTranslation)->translation.setValue(SbVec3f(1, 2, 3));
    auto* image = new SoImage;
    const unsigned char pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    image->image.setValue(SbVec2s(2, 2), 3, pixels);
    image->horAlignment.setValue(SoImage::CENTER);
    auto* empty = new SoImage;
    empty->image.setValue(SbVec2s(0, 0), 0, nullptr);
    auto* text2 = new SoText2;
    text2->string.set1Value(1, "World");
    text2->justification.setValue(SoText2::CENTER);
    for (SoNode* node :
         {static_cast<SoNode*>(text2), static_cast<SoNode*>(image), static_cast<SoNode*>(empty)}) {
        add(node);
        const Generated result = generate();
        EXPECT_TRUE(result.triangles.empty() && result.segments.empty() && result.points.empty());
        EXPECT_EQ(box(), SbBox3f(SbVec3f(1, 2, 3), SbVec3f(1, 2, 3)));
        root->removeChild(node);
    }
}

}  // namespace
