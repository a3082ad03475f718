// Font lookup: family names, styles, fallbacks and what happens when fonts are missing.

#include <Tessara/elements/SoFontNameElement.h>
#include <Tessara/misc/SoPreferences.h>

#include <string>

#include "TextTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

class FontLookupTest : public TextTest {
  protected:
    void TearDown() override {
        SoPreferences::removeValue("TESSARA_FONT_DIR");
        TextTest::TearDown();
    }
    Triangles captureIn(const std::string& fontName, const char* text = "Ra") {
        font->name.setValue(SbName(fontName.c_str()));
        return captureText({text});
    }
};

// The classic names take the faces Ghostscript and cairo print them in: fontconfig's
// stand-ins, Ghostscript's own fonts.
TEST_F(FontLookupTest, ClassicFamilyAndStyleNamesMapToTheFacesThePrintsShow) {
    const struct {
        const char* name;
        std::string sameAs;
    } cases[] = {
        {"defaultFont", "DejaVu Sans"},
        {"Helvetica", "Nimbus Sans"},
        {"Courier", "NimbusMonoPS"},
        {"Times-Roman", "Nimbus Roman"},
        {"Helvetica-Bold", "Nimbus Sans Bold"},
        {"Helvetica-Oblique", "Nimbus Sans Italic"},
        {"Times-BoldItalic", "Nimbus Roman Bold Italic"},
        {"DejaVu Sans Italic", "DejaVuSans-Oblique"},  // the Sans family calls it Oblique
    };
    DebugErrorRecorder recorder;
    for (const auto& c : cases) {
        EXPECT_TRUE(sameTriangles(captureIn(c.name), captureIn(c.sameAs))) << c.name;
        EXPECT_FALSE(captureIn(c.name).empty()) << c.name;
    }
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    const Triangles faces[] = {captureIn("Helvetica"), captureIn("Courier"), captureIn("Times"),
                               captureIn("Helvetica-Oblique"), captureIn("Times-Italic")};
    for (const Triangles& a : faces)
        for (const Triangles& b : faces) EXPECT_EQ(sameTriangles(a, b), &a == &b);
    // The bold stem is thicker.
    EXPECT_GT(boxOf(captureIn("Helvetica-Bold", "I")).getSize()[0],
              1.2f * boxOf(captureIn("Helvetica", "I")).getSize()[0]);
}

// Ghostscript's fonts are installed wherever the tests run; their directory is not the
// one names are looked for in first.
TEST_F(FontLookupTest, InstalledFamiliesAreFoundByNameAndStyle) {
    DebugErrorRecorder recorder;
    const Triangles regular = captureIn("Nimbus Sans"), bold = captureIn("Nimbus Sans Bold");
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    EXPECT_FALSE(regular.empty());
    EXPECT_FALSE(sameTriangles(regular, captureIn("defaultFont")));
    EXPECT_FALSE(sameTriangles(regular, bold));
    EXPECT_TRUE(sameTriangles(bold, captureIn("NimbusSans-Bold")));
    const Triangles boldItalic = captureIn("Nimbus Roman Bold Italic");
    EXPECT_TRUE(sameTriangles(boldItalic, captureIn("NimbusRoman-BoldItalic")));
    EXPECT_FALSE(sameTriangles(boldItalic, captureIn("Nimbus Roman")));
}

TEST_F(FontLookupTest, UnknownNamesAndMissingFilesWarnOnceAndFallBackToTheDefault) {
    const Triangles expected = captureIn("defaultFont");
    const std::string defaultFace = SoFontNameElement::getFontServerFontName().getString();
    DebugErrorRecorder recorder;
    EXPECT_TRUE(sameTriangles(captureIn("No Such Face 1"), expected));
    EXPECT_TRUE(sameTriangles(captureIn("No Such Face 1"), expected));
    ASSERT_EQ(recorder.size(), 1u) << recorder.dump();
    EXPECT_EQ(recorder.messages()[0].severity, SoDebugError::WARNING);
    EXPECT_TRUE(recorder.contains("", "\"No Such Face 1\"")) << recorder.dump();
    EXPECT_TRUE(recorder.contains("", defaultFace)) << recorder.dump();
    EXPECT_TRUE(sameTriangles(captureIn("/nonexistent/tessara/Missing.ttf"), expected));
    EXPECT_TRUE(recorder.contains("", "Missing.ttf\"")) << recorder.dump();
    EXPECT_EQ(recorder.size(), 2u) << recorder.dump();
}

TEST_F(FontLookupTest, WithoutTheDefaultFontTextDrawsNothing) {
    SoPreferences::setValue("TESSARA_FONT_DIR", "/nonexistent/tessara-fonts-1");
    DebugErrorRecorder recorder;
    SoText3* text = addText({"Ra"});
    text->parts.setValue(SoText3::ALL);
    EXPECT_TRUE(triangles().empty());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u) << recorder.dump();
    EXPECT_TRUE(box().isEmpty());
    font->name.setValue(SbName("No Such Face 2"));
    EXPECT_TRUE(triangles().empty());
    // Each missing file is reported once, not on every traversal.
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u) << recorder.dump();
    EXPECT_TRUE(SoFontNameElement::getFontServerFontName().isEmpty());

    SoPreferences::removeValue("TESSARA_FONT_DIR");
    EXPECT_FALSE(triangles().empty());
}

TEST_F(FontLookupTest, FontsComeBackAfterTheDatabaseIsFinished) {
    const Triangles before = captureIn("Courier");
    // The fixture holds one init; a full finish closes every face.
    SoDB::finish();
    SoDB::init();
    EXPECT_TRUE(sameTriangles(captureIn("Courier"), before));
}

}  // namespace
