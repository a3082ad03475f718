// Font lookup: name resolution, fallbacks and what happens when fonts are missing.

#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/elements/SoFontNameElement.h>
#include <Tessara/misc/SoPreferences.h>

#include <string>

#include "TextTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

const char* const kDejaVuDir = "/usr/share/fonts/truetype/dejavu";

class FontLookupTest : public TextTest {
  protected:
    void TearDown() override {
        SoPreferences::removeValue("TESSARA_FONT_DIR");
        TextTest::TearDown();
    }
    Capture captureIn(const char* fontName, std::initializer_list<const char*> lines) {
        font->name.setValue(SbName(fontName));
        return captureText(lines);
    }
    // Where character `index` of the line starts drawing: with equal glyphs after different
    // prefixes, this compares the widths of the prefixes.
    float inkStart(const Capture& capture, int index) {
        return boxOf(capture.ofFace(index)).getMin()[0];
    }
};

bool sameTriangles(const Capture& a, const Capture& b) {
    if (a.triangles.size() != b.triangles.size()) return false;
    for (size_t i = 0; i < a.triangles.size(); ++i)
        for (int k = 0; k < 3; ++k)
            if (!(a.triangles[i].p[k] == b.triangles[i].p[k])) return false;
    return true;
}

TEST_F(FontLookupTest, TheDefaultFaceIsDejaVuSans) {
    EXPECT_EQ(SoFontNameElement::getFontServerFontName(), "DejaVu Sans");
}

TEST_F(FontLookupTest, ClassicFamilyNamesMapToTheMetricAlikeFaces) {
    DebugErrorRecorder recorder;
    const Capture sans = captureIn("defaultFont", {"Ra"});
    EXPECT_TRUE(sameTriangles(captureIn("Helvetica", {"Ra"}), sans));
    EXPECT_TRUE(sameTriangles(captureIn("Arial", {"Ra"}), sans));
    EXPECT_TRUE(sameTriangles(captureIn("DejaVu Sans", {"Ra"}), sans));
    const Capture mono = captureIn("Courier", {"Ra"});
    EXPECT_FALSE(sameTriangles(mono, sans));
    EXPECT_TRUE(sameTriangles(captureIn("DejaVu Sans Mono", {"Ra"}), mono));
    EXPECT_TRUE(sameTriangles(captureIn("dejavusansmono", {"Ra"}), mono));
    const Capture serif = captureIn("Times", {"Ra"});
    EXPECT_FALSE(sameTriangles(serif, sans));
    EXPECT_TRUE(sameTriangles(captureIn("Times-Roman", {"Ra"}), serif));
    const std::string serifPath = std::string(kDejaVuDir) + "/DejaVuSerif.ttf";
    EXPECT_TRUE(sameTriangles(captureIn(serifPath.c_str(), {"Ra"}), serif));
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(FontLookupTest, CourierIsMonospaced) {
    const Capture narrow = captureIn("Courier", {"iiiI"});
    const Capture wide = captureIn("Courier", {"MMMI"});
    EXPECT_NEAR(inkStart(narrow, 3), inkStart(wide, 3), 1e-4f);
    const Capture sansNarrow = captureIn("Helvetica", {"iiiI"});
    const Capture sansWide = captureIn("Helvetica", {"MMMI"});
    EXPECT_LT(inkStart(sansNarrow, 3), inkStart(sansWide, 3) - 1.0f);
}

TEST_F(FontLookupTest, StyleSuffixesPickTheStyledFiles) {
    DebugErrorRecorder recorder;
    const Capture regular = captureIn("Helvetica", {"I"});
    const Capture bold = captureIn("Helvetica-Bold", {"I"});
    EXPECT_TRUE(sameTriangles(captureIn("DejaVu Sans Bold", {"I"}), bold));
    EXPECT_TRUE(sameTriangles(captureIn("DejaVuSans-Bold", {"I"}), bold));
    // The bold stem is thicker.
    EXPECT_GT(boxOf(bold.triangles).getSize()[0], 1.2f * boxOf(regular.triangles).getSize()[0]);
    // Slanted faces: the Sans family calls them Oblique, the Serif family Italic.
    const Capture oblique = captureIn("Helvetica-Oblique", {"I"});
    EXPECT_TRUE(sameTriangles(captureIn("Arial Italic", {"I"}), oblique));
    EXPECT_FALSE(sameTriangles(oblique, regular));
    EXPECT_FALSE(sameTriangles(captureIn("Times-BoldItalic", {"I"}), captureIn("Times", {"I"})));
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

TEST_F(FontLookupTest, AnUnknownNameWarnsOnceAndFallsBackToTheDefault) {
    const Capture expected = captureIn("defaultFont", {"Ra"});
    DebugErrorRecorder recorder;
    const Capture first = captureIn("No Such Face 1", {"Ra"});
    const Capture second = captureIn("No Such Face 1", {"Ra"});
    EXPECT_TRUE(sameTriangles(first, expected));
    EXPECT_TRUE(sameTriangles(second, expected));
    ASSERT_EQ(recorder.size(), 1u) << recorder.dump();
    EXPECT_EQ(recorder.messages()[0].severity, SoDebugError::WARNING);
    EXPECT_EQ(recorder.messages()[0].message,
              "Font \"No Such Face 1\" not found, using DejaVu Sans");
    captureIn("No Such Face 2", {"Ra"});
    EXPECT_EQ(recorder.size(), 2u) << recorder.dump();
}

TEST_F(FontLookupTest, AMissingFontFileFallsBackToTheDefault) {
    const Capture expected = captureIn("defaultFont", {"Ra"});
    DebugErrorRecorder recorder;
    const Capture result = captureIn("/nonexistent/tessara/Missing.ttf", {"Ra"});
    EXPECT_TRUE(sameTriangles(result, expected));
    EXPECT_TRUE(recorder.contains("", "Missing.ttf\" not found")) << recorder.dump();
}

TEST_F(FontLookupTest, WithoutTheDefaultFontTextDrawsNothing) {
    SoPreferences::setValue("TESSARA_FONT_DIR", "/nonexistent/tessara-fonts-1");
    DebugErrorRecorder recorder;
    SoText3* text = addText({"Ra"});
    text->parts.setValue(SoText3::ALL);
    EXPECT_TRUE(capture().triangles.empty());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u) << recorder.dump();
    SoGetBoundingBoxAction action;
    action.apply(root);
    EXPECT_TRUE(action.getBoundingBox().isEmpty());
    font->name.setValue(SbName("Helvetica"));
    EXPECT_TRUE(capture().triangles.empty());
    // Each missing file is reported once, not on every traversal.
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u) << recorder.dump();
    EXPECT_TRUE(SoFontNameElement::getFontServerFontName().isEmpty());

    SoPreferences::removeValue("TESSARA_FONT_DIR");
    EXPECT_FALSE(capture().triangles.empty());
}

TEST_F(FontLookupTest, FontsComeBackAfterTheDatabaseIsFinished) {
    const Capture before = captureIn("Courier", {"Ra"});
    // The fixture holds one init; a full finish closes every face.
    SoDB::finish();
    SoDB::init();
    EXPECT_TRUE(sameTriangles(captureIn("Courier", {"Ra"}), before));
}

}  // namespace
