#pragma once

#include <PlotWerk/SoVectorizeAction.h>

#include <vector>

/// The smallest concrete action: the frame hooks do nothing, the print operations keep
/// their default trace. The protected helpers are opened for the tests.
class FrameTestAction : public SoVectorizeAction {
  public:
    using SoVectorizeAction::getOffsetX;
    using SoVectorizeAction::getOffsetY;
    using SoVectorizeAction::getPrintedWidth;
    using SoVectorizeAction::penAssignment;
    using SoVectorizeAction::translateColor;

  protected:
    void writeHeader() override {}
    void writeFooter() override {}
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
};

/// Every setting an application can read back from an action, as numbers in a fixed order
/// (a pen table by its size): two actions with equal lists have equal settings.
inline std::vector<float> settingsOf(const SoVectorizeAction& a) {
    float border = 0;
    SbColor borderColor, background;
    a.getBorder(&border, &borderColor);
    const int backgroundOn = a.getBackgroundColor(&background);
    // A few settings of one kind to a line.
    // clang-format off
    return {a.getDrawingDimensions()[0], a.getDrawingDimensions()[1], a.getStartPosition()[0],
            a.getStartPosition()[1], float(a.getOrientation()),
            border, borderColor[2], float(backgroundOn), background[1],
            a.getNominalWidth(), a.getLinePatternSize(), a.getPixelImageSize(),
            float(a.getLineEndStyle()), float(a.getLineJoinsStyle()), a.getMiterLimit(),
            float(a.getColorTranslationMethod()), float(a.getPenNum()), float(a.getColorPriority()),
            float(a.getHLHSRMode()), a.getHLHSRRasterQuality(), float(a.getHLHSRRasterCaching()),
            float(a.getHLHSRRasterTileSize()),
            float(a.getHiddenLineFeatureEdges()), a.getHiddenLineFeatureAngle(),
            float(a.isLightingEnabled()), float(a.getShadeModel()),
            a.getPolygonOffset(), a.getLineOffset(), a.getMarkerOffset()};
    // clang-format on
}
