// The printed size and angle of annotation text drawn as 2D text.
//
// The view maps one world unit to 100 mm and the nominal width is set to 0.5 mm, so a font
// size of 0.1 world units measures 10 mm on the page and prints as 20 nominal widths; the
// second line of each text sits one printed size lower.

#include <Tessara/misc/SoPreferences.h>

#include <string>
#include <vector>

#include "ClipScene.h"
#include "support/DebugErrorRecorder.h"

using namespace cliptest;

namespace {

constexpr const char* kMaxSizeKey = "VXN_MAX_ANNO_RENDER2D_SIZE";
constexpr float kNominal = 0.5f;

struct SizeCase {
    const char* name;
    std::string scene;  ///< transforms and text properties before the text
    float sizeMm;       ///< what the font size measures on the page
    float angle;        ///< of the baseline on the page, in radians
};

std::string property(const char* hint, bool oriented) {
    return std::string("AnnoText3Property { fontSizeHint ") + hint +
           "  isCharOrientedRasterPrint " + (oriented ? "TRUE" : "FALSE") + " } ";
}

const std::string kAnnotation = property("ANNOTATION", true);
const std::string kTurned30 = "Rotation { rotation 0 0 1 0.5235988 } ";

const std::vector<SizeCase> kCases = {
    {"SizeIsWhatTheFontSizeMeasuresOnThePage", kAnnotation + "Font { size 0.1 }", 10, 0},
    {"AnnotationHintTakesTheLongestAxis",
     "Scale { scaleFactor 2 1 1 } " + kAnnotation + "Font { size 0.1 }", 20, 0},
    {"FitHintTakesTheShortestAxis",
     "Scale { scaleFactor 2 1 1 } " + property("FIT_TEXT_VECTOR", true) + "Font { size 0.1 }", 10,
     0},
    // Turned a quarter about x, the text's z axis points down the page.
    {"AnnotationHintMeasuresTheDepthAxisToo",
     "Rotation { rotation 1 0 0 1.5707963 } Scale { scaleFactor 1 1 3 } " + kAnnotation +
         "Font { size 0.1 }",
     30, 0},
    {"OrientedTextFollowsItsBaseline", kTurned30 + kAnnotation + "Font { size 0.1 }", 10,
     0.5235988f},
    {"TextNotOrientedStaysLevel", kTurned30 + property("ANNOTATION", false) + "Font { size 0.1 }",
     10, 0},
    {"ZeroSizeBecomesOneMillimetre", property("FIT_TEXT_VECTOR", true) + "Font { size 0 }", 1, 0},
    {"SizeIsCappedAtAMetreByDefault", kAnnotation + "Font { size 20 }", 1000, 0},
};

class AnnotationSizeTest : public ClipTest {
  protected:
    void SetUp() override { SoPreferences::removeValue(kMaxSizeKey); }
    void TearDown() override { SoPreferences::removeValue(kMaxSizeKey); }

    /// The lines printed for the two-line annotation text after `scene`.
    static std::vector<RecordedCall> printedLines(const std::string& scene) {
        DebugErrorRecorder errors;  // the glyph builder's note about an empty font
        auto action = makeAction();
        action->setNominalWidth(kNominal);
        print(*action, ortho() + scene + " AnnoText3 { string [ \"first\", \"second\" ] }");
        return action->ofKind(RecordedCall::TEXT2);
    }
};

TEST_F(AnnotationSizeTest, PrintedSizeAngleAndLineStep) {
    for (const SizeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<RecordedCall> lines = printedLines(c.scene);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NEAR(lines[0].fontSize, c.sizeMm / kNominal, 1e-2f);
        EXPECT_NEAR(lines[0].angle, c.angle, 1e-5f);
        EXPECT_NEAR(lines[0].origin[0], 100, 1e-3f);
        EXPECT_NEAR(lines[0].origin[1], 100, 1e-3f);
        EXPECT_EQ(lines[1].string, "second");
        EXPECT_NEAR(lines[0].origin[1] - lines[1].origin[1], c.sizeMm, 1e-2f);
    }
}

TEST_F(AnnotationSizeTest, SizeIsCappedByThePreferenceInForce) {
    for (const int cap : {4, 7}) {
        SoPreferences::setInt(kMaxSizeKey, cap);
        const std::vector<RecordedCall> lines = printedLines(kAnnotation + "Font { size 0.1 }");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NEAR(lines[0].fontSize, cap / kNominal, 1e-5f);
    }
}

}  // namespace
