// 3D text: glyph triangles, their layout, parts, details and render styles.

#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoComplexity.h>
#include <Tessara/nodes/SoMaterialBinding.h>

#include <set>

#include "TextTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

using Text3Test = TextTest;

TEST_F(Text3Test, ALetterIsCounterclockwiseTrianglesInTheFrontPlane) {
    const Capture result = captureText({"A"});
    ASSERT_GT(result.triangles.size(), 0u);
    for (const CapturedTriangle& t : result.triangles) {
        EXPECT_EQ(t.part, 0);
        EXPECT_EQ(t.face, 0);
        EXPECT_GT(t.crossZ(), 0.0f);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(t.p[k][2], 0.0f);
            EXPECT_EQ(t.n[k], SbVec3f(0, 0, 1));
        }
    }
    EXPECT_TRUE(result.segments.empty());
    EXPECT_EQ(result.points, 0);
}

TEST_F(Text3Test, TheRectangularIFillsItsBoxExactly) {
    const Capture result = captureText({"I"});
    const SbBox3f box = boxOf(result.triangles);
    const SbVec3f size = box.getSize();
    EXPECT_NEAR(totalArea(result.triangles), size[0] * size[1], 0.01f * size[0] * size[1]);
    // Sitting on the baseline, a capital is most of the em square high (size 10 by default).
    EXPECT_NEAR(box.getMin()[1], 0.0f, 1e-4f);
    EXPECT_GT(size[1], 6.0f);
    EXPECT_LT(size[1], 8.0f);
}

TEST_F(Text3Test, GeometryScalesWithTheFontSize) {
    const SbBox3f at10 = boxOf(captureText({"Ag"}).triangles);
    font->size.setValue(25.0f);
    const SbBox3f at25 = boxOf(captureText({"Ag"}).triangles);
    for (int axis = 0; axis < 2; ++axis) {
        EXPECT_NEAR(at25.getMin()[axis], 2.5f * at10.getMin()[axis], 1e-3f);
        EXPECT_NEAR(at25.getMax()[axis], 2.5f * at10.getMax()[axis], 1e-3f);
    }
    EXPECT_LT(at10.getMin()[1], 0.0f);  // the descender of g goes below the baseline
}

TEST_F(Text3Test, JustificationPlacesTheLineEndOrMiddleAtTheOrigin) {
    // The pen advance of "AB" is where a third letter starts: measured by the offset of an I
    // after it, relative to an I alone.
    const Capture withI = captureText({"ABI"});
    const float ix = boxOf(captureText({"I"}).triangles).getMin()[0];
    const float width = boxOf(withI.ofFace(2)).getMin()[0] - ix;
    ASSERT_GT(width, 10.0f);

    const SbBox3f left = boxOf(captureText({"AB"}, SoText3::LEFT).triangles);
    const SbBox3f right = boxOf(captureText({"AB"}, SoText3::RIGHT).triangles);
    const SbBox3f centre = boxOf(captureText({"AB"}, SoText3::CENTER).triangles);
    EXPECT_NEAR(right.getMin()[0], left.getMin()[0] - width, 1e-3f);
    EXPECT_NEAR(right.getMax()[0], left.getMax()[0] - width, 1e-3f);
    EXPECT_NEAR(centre.getMin()[0], left.getMin()[0] - 0.5f * width, 1e-3f);
    EXPECT_NEAR(right.getMin()[1], left.getMin()[1], 1e-5f);
}

TEST_F(Text3Test, LinesStackBySizeTimesSpacing) {
    font->size.setValue(4.0f);
    SoText3* text = addText({"I", "I", "I"});
    text->spacing.setValue(1.5f);
    const Capture result = capture();
    const SbBox3f first = boxOf(result.ofFace(0));
    for (int line = 1; line < 3; ++line) {
        const SbBox3f box = boxOf(result.ofFace(line));
        EXPECT_NEAR(box.getMin()[1], first.getMin()[1] - 6.0f * line, 1e-4f);
        EXPECT_NEAR(box.getMax()[1], first.getMax()[1] - 6.0f * line, 1e-4f);
        EXPECT_NEAR(box.getMin()[0], first.getMin()[0], 1e-5f);
    }
}

TEST_F(Text3Test, CharacterIndicesRunOverAllLines) {
    const Capture result = captureText({"AB", "", "C"});
    std::set<int> faces;
    for (const CapturedTriangle& t : result.triangles) faces.insert(t.face);
    EXPECT_EQ(faces, (std::set<int>{0, 1, 2}));
    EXPECT_LT(boxOf(result.ofFace(2)).getMax()[1], boxOf(result.ofFace(0)).getMin()[1] - 10.0f);
}

TEST_F(Text3Test, TextureStylesGenerateNoTriangles) {
    for (int style : {SoFont::TEXTURE, SoFont::TEXTURE_DELAYED}) {
        font->renderStyle.setValue(style);
        EXPECT_TRUE(captureText({"Text"}).triangles.empty()) << style;
    }
    font->renderStyle.setValue(SoFont::POLYGON);
    EXPECT_FALSE(captureText({"Text"}).triangles.empty());
}

TEST_F(Text3Test, PolygonAndOutlineAddsTheFrontOutline) {
    EXPECT_TRUE(captureText({"I"}).segments.empty());
    font->renderStyle.setValue(SoFont::POLYGON_AND_OUTLINE);
    const Capture result = captureText({"I"});
    ASSERT_FALSE(result.triangles.empty());
    // The I is one rectangle: four edges on the border of its filled box.
    ASSERT_EQ(result.segments.size(), 4u);
    const SbBox3f box = boxOf(result.triangles);
    float perimeter = 0.0f;
    for (const CapturedSegment& s : result.segments) {
        EXPECT_EQ(s.line, 0);
        perimeter += (s.p[1] - s.p[0]).length();
        for (const SbVec3f& p : s.p) EXPECT_TRUE(box.intersect(p));
    }
    const SbVec3f size = box.getSize();
    EXPECT_NEAR(perimeter, 2.0f * (size[0] + size[1]), 1e-3f);
}

TEST_F(Text3Test, BackMirrorsTheFrontAtATenthOfTheSizeBehind) {
    SoText3* text = addText({"I"});
    text->parts.setValue(SoText3::ALL);
    const Capture result = capture();
    const std::vector<CapturedTriangle> front = result.ofPart(0);
    const std::vector<CapturedTriangle> back = result.ofPart(2);
    ASSERT_EQ(front.size(), back.size());
    for (const CapturedTriangle& t : back) {
        EXPECT_LT(t.crossZ(), 0.0f);  // counterclockwise seen from -z
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(t.p[k][2], -1.0f);
            EXPECT_EQ(t.n[k], SbVec3f(0, 0, -1));
        }
    }
    EXPECT_NEAR(totalArea(back), totalArea(front), 1e-4f);
}

TEST_F(Text3Test, SidesWrapTheOutlineFacingOutwards) {
    SoText3* text = addText({"I"});
    text->parts.setValue(SoText3::SIDES);
    const Capture result = capture();
    const std::vector<CapturedTriangle> sides = result.ofPart(1);
    ASSERT_EQ(sides.size(), result.triangles.size());
    ASSERT_EQ(sides.size(), 8u);  // a quad per edge of the rectangle
    const SbBox3f box = boxOf(sides);
    const SbVec3f size = box.getSize();
    EXPECT_FLOAT_EQ(size[2], 1.0f);
    EXPECT_NEAR(totalArea(sides), 2.0f * (size[0] + size[1]) * 1.0f, 1e-3f);
    const SbVec3f middle = box.getCenter();
    for (const CapturedTriangle& t : sides) {
        const SbVec3f n = t.n[0];
        EXPECT_FLOAT_EQ(n[2], 0.0f);
        EXPECT_NEAR(n.length(), 1.0f, 1e-6f);
        // Counterclockwise seen from where the normal points, and pointing away from the
        // middle of the letter.
        EXPECT_GT((t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]).dot(n), 0.0f);
        EXPECT_GT((t.p[0] - middle).dot(n), 0.0f);
    }
}

TEST_F(Text3Test, PerPartBindingGivesEachPartItsMaterial) {
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_PART);
    root->addChild(binding);
    SoText3* text = addText({"o"});
    text->parts.setValue(SoText3::ALL);
    const Capture result = capture();
    std::set<int> parts;
    for (const CapturedTriangle& t : result.triangles) {
        EXPECT_EQ(t.material, t.part);
        parts.insert(t.part);
    }
    EXPECT_EQ(parts, (std::set<int>{0, 1, 2}));
    binding->value.setValue(SoMaterialBinding::OVERALL);
    for (const CapturedTriangle& t : capture().triangles) EXPECT_EQ(t.material, 0);
}

TEST_F(Text3Test, EmptyAndBlankTextGenerateNothingQuietly) {
    DebugErrorRecorder recorder;
    EXPECT_TRUE(captureText({""}).triangles.empty());
    EXPECT_TRUE(captureText({"   ", ""}).triangles.empty());
    SoText3* text = addText({"x"});
    text->string.setNum(0);
    EXPECT_TRUE(capture().triangles.empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(Text3Test, ANonPositiveSizeDrawsNothingAndSaysSo) {
    for (float size : {0.0f, -3.0f}) {
        font->size.setValue(size);
        DebugErrorRecorder recorder;
        EXPECT_TRUE(captureText({"A"}).triangles.empty()) << size;
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 1u) << recorder.dump();
    }
}

TEST_F(Text3Test, NonLatinTextIsDrawnPerCodePoint) {
    const Capture result = captureText({"\xCE\xA9\xD0\xB6"});  // Omega, Cyrillic zhe
    EXPECT_FALSE(result.ofFace(0).empty());
    EXPECT_FALSE(result.ofFace(1).empty());
    EXPECT_GT(boxOf(result.ofFace(1)).getMin()[0], boxOf(result.ofFace(0)).getMax()[0] - 1.0f);
}

TEST_F(Text3Test, CharactersWithoutAGlyphAreSkippedButTakeSpace) {
    const char* cjk = "\xE4\xB8\xAD";  // not covered by DejaVu Sans
    const std::string one = std::string("A") + cjk + "A";
    const std::string two = std::string("A") + cjk + cjk + "A";
    const Capture a = captureText({"A"});
    const Capture withOne = captureText({one.c_str()});
    const Capture withTwo = captureText({two.c_str()});
    const Capture plain = captureText({"AA"});
    EXPECT_EQ(withOne.triangles.size(), 2 * a.triangles.size());
    EXPECT_TRUE(withOne.ofFace(1).empty());
    const float afterOne = boxOf(withOne.ofFace(2)).getMin()[0];
    const float afterTwo = boxOf(withTwo.ofFace(3)).getMin()[0];
    const float noGap = boxOf(plain.ofFace(1)).getMin()[0];
    const float missingAdvance = afterTwo - afterOne;
    EXPECT_GT(missingAdvance, 1.0f);
    EXPECT_NEAR(afterOne - noGap, missingAdvance, 1e-3f);
}

TEST_F(Text3Test, ComplexityRefinesCurvesOnly) {
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
    // The same text again comes out the same, whether cached or not.
    const Capture again = captureText({"OI"});
    ASSERT_EQ(again.triangles.size(), fine.triangles.size());
    for (size_t i = 0; i < again.triangles.size(); ++i)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(again.triangles[i].p[k], fine.triangles[i].p[k]);
}

TEST_F(Text3Test, BoundingBoxHoldsTheInkAndTheDepth) {
    SoText3* text = addText({"Ag", "W"}, SoText3::CENTER);
    const SbBox3f ink = boxOf(capture().triangles);
    SoGetBoundingBoxAction action;
    action.apply(root);
    const SbBox3f box = action.getBoundingBox();
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(box.getMin()[axis], ink.getMin()[axis], 1e-4f);
        EXPECT_NEAR(box.getMax()[axis], ink.getMax()[axis], 1e-4f);
    }
    text->parts.setValue(SoText3::FRONT | SoText3::BACK);
    action.apply(root);
    EXPECT_FLOAT_EQ(action.getBoundingBox().getMin()[2], -1.0f);
    EXPECT_FLOAT_EQ(action.getBoundingBox().getMax()[2], 0.0f);
}

TEST_F(Text3Test, AnnotationTextGeneratesTheSameGlyphs) {
    SoAnnoText3* anno = addText<SoAnnoText3>({"Hi", "there"}, SoAnnoText3::CENTER);
    EXPECT_FALSE(anno->isOfType(SoText3::getClassTypeId()));
    const Capture annoResult = capture();
    root->removeChild(anno);
    const Capture textResult = captureText({"Hi", "there"}, SoText3::CENTER);
    ASSERT_GT(annoResult.triangles.size(), 0u);
    ASSERT_EQ(annoResult.triangles.size(), textResult.triangles.size());
    for (size_t i = 0; i < annoResult.triangles.size(); ++i) {
        EXPECT_EQ(annoResult.triangles[i].face, textResult.triangles[i].face);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(annoResult.triangles[i].p[k], textResult.triangles[i].p[k]);
    }
}

TEST_F(Text3Test, FieldsAreRegisteredInFileOrderWithTheirDefaults) {
    for (SoFieldContainer* node : {static_cast<SoFieldContainer*>(new SoText3),
                                   static_cast<SoFieldContainer*>(new SoAnnoText3)}) {
        node->ref();
        ASSERT_EQ(node->getNumFields(), 4);
        const char* names[] = {"string", "spacing", "justification", "parts"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_STREQ(node->getFieldNameAt(i), names[i]);
            EXPECT_TRUE(node->getFieldAt(i)->isDefault());
        }
        auto* justification = static_cast<SoSFEnum*>(node->getField("justification"));
        auto* parts = static_cast<SoSFBitMask*>(node->getField("parts"));
        EXPECT_EQ(justification->getValue(), SoText3::LEFT);
        EXPECT_EQ(parts->getValue(), SoText3::FRONT);
        int value = 0;
        EXPECT_TRUE(justification->findValue("CENTER", value));
        EXPECT_EQ(value, 3);
        EXPECT_TRUE(parts->findValue("ALL", value));
        EXPECT_EQ(value, 7);
        node->unref();
    }
    auto* text = new SoText3;
    text->ref();
    ASSERT_EQ(text->string.getNum(), 1);
    EXPECT_EQ(text->string[0], "");
    EXPECT_FLOAT_EQ(text->spacing.getValue(), 1.0f);
    text->unref();
}

}  // namespace
