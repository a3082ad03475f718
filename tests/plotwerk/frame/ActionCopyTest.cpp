// Copies of a backend: the settings travel, the output object and the apply state do not.

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class ActionCopyTest : public ::testing::Test {
  protected:
    void SetUp() override { SoPlotWerk::init(); }
    void TearDown() override { SoPlotWerk::finish(); }

    static void configure(SoVectorizePSAction& action) {
        action.setDrawingDimensions(120.0f, 80.0f);
        action.setStartPosition(5.0f, 7.0f);
        action.setOrientation(SoVectorizeAction::LANDSCAPE);
        action.setBorder(3.0f, SbColor(0, 0, 1));
        action.setBackgroundColor(1, SbColor(1, 1, 0));
        action.setNominalWidth(0.5f);
        action.setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
        action.setHLHSRMode(SoVectorizeAction::HLHSR_PAINTER);
        action.getPSVectorOutput()->setLevel(3);
        action.getPSVectorOutput()->setColored(0);
        action.getPSVectorOutput()->setNumericAccuracyFactor(0.5f);
    }

    /// The document an action writes for a red triangle, read back from a temporary file.
    static std::string document(SoVectorizePSAction& action) {
        SoSeparator* root = new SoSeparator;
        root->ref();
        auto* camera = new SoOrthographicCamera;
        camera->position.setValue(SbVec3f(0, 0, 5));
        root->addChild(camera);
        auto* coords = new SoCoordinate3;
        const SbVec3f corners[3] = {{-1, -1, 0}, {1, -1, 0}, {0, 1, 0}};
        coords->point.setValues(0, 3, corners);
        root->addChild(coords);
        root->addChild(new SoFaceSet);
        std::FILE* file = std::tmpfile();
        action.getPSVectorOutput()->setFilePointer(file);
        action.apply(root);
        std::fflush(file);
        std::rewind(file);
        std::string text;
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            text.append(chunk, n);
        action.getPSVectorOutput()->closeFile();
        root->unref();
        return text;
    }
};

TEST_F(ActionCopyTest, ACopyKeepsEverySettingAndGetsItsOwnOutput) {
    SoVectorizePSAction original;
    configure(original);
    SoVectorizePSAction copy(original);

    EXPECT_NE(copy.getPSVectorOutput(), original.getPSVectorOutput());
    EXPECT_EQ(copy.getVectorOutput(), copy.getPSVectorOutput());
    EXPECT_EQ(copy.getPSVectorOutput()->getLevel(), 3u);
    EXPECT_EQ(copy.getPSVectorOutput()->getColored(), 0);
    EXPECT_FLOAT_EQ(copy.getPSVectorOutput()->getNumericAccuracy(), 0.5f);
    EXPECT_EQ(copy.getDrawingDimensions(), SbVec2f(120.0f, 80.0f));
    EXPECT_EQ(copy.getStartPosition(), SbVec2f(5.0f, 7.0f));
    EXPECT_EQ(copy.getOrientation(), SoVectorizeAction::LANDSCAPE);
    float width = 0;
    SbColor color;
    copy.getBorder(&width, &color);
    EXPECT_FLOAT_EQ(width, 3.0f);
    EXPECT_EQ(color, SbColor(0, 0, 1));
    EXPECT_EQ(copy.getBackgroundColor(&color), 1);
    EXPECT_EQ(color, SbColor(1, 1, 0));
    EXPECT_FLOAT_EQ(copy.getNominalWidth(), 0.5f);
    EXPECT_EQ(copy.getHLHSRMode(), SoVectorizeAction::HLHSR_PAINTER);
    EXPECT_EQ(copy.getTypeId(), SoVectorizePSAction::getClassTypeId());
}

TEST_F(ActionCopyTest, CopiesAndAssignedActionsWriteTheSameDocumentIndependently) {
    SoVectorizePSAction original;
    configure(original);
    // Copied before any apply: an apply ends with the hidden-line mode off.
    SoVectorizePSAction copy(original);
    SoVectorizePSAction assigned;
    assigned = original;
    const std::string expected = document(original);
    ASSERT_NE(expected.find("%!PS-Adobe-3.0"), std::string::npos);
    ASSERT_NE(expected.find(" pfa"), std::string::npos);

    EXPECT_EQ(document(copy), expected);
    EXPECT_EQ(document(assigned), expected);
    // What the copies wrote left the original alone; its mode is off after its apply.
    EXPECT_EQ(original.getHLHSRMode(), SoVectorizeAction::HLHSR_OFF);
    copy.getPSVectorOutput()->setLevel(1);
    EXPECT_EQ(original.getPSVectorOutput()->getLevel(), 3u);
}

TEST_F(ActionCopyTest, AStreamHasOneOwnerSoACopiedOutputWritesToStandardOutput) {
    SoPSVectorOutput output;
    std::FILE* file = std::tmpfile();
    output.setFilePointer(file);
    output.setLevel(1);
    SoPSVectorOutput copy(output);
    EXPECT_EQ(copy.getFilePointer(), stdout);
    EXPECT_EQ(copy.getLevel(), 1u);
    SoPSVectorOutput assigned;
    assigned = output;
    EXPECT_EQ(assigned.getFilePointer(), stdout);
    EXPECT_EQ(output.getFilePointer(), file);
}

}  // namespace
