#pragma once

#include <PlotWerk/SoVectorizeAction.h>

/// The smallest concrete action: the frame hooks do nothing, the print operations keep
/// their default trace. The protected helpers are opened for the tests.
class FrameTestAction : public SoVectorizeAction {
  public:
    using SoVectorizeAction::getOffsetX;
    using SoVectorizeAction::getOffsetY;
    using SoVectorizeAction::penAssignment;
    using SoVectorizeAction::translateColor;

  protected:
    void writeHeader() override {}
    void writeFooter() override {}
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
};
