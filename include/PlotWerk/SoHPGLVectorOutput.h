#pragma once

#include <PlotWerk/SoVectorOutput.h>

/// The stream of the HP-GL/2 backend. A plot has no options of its own: the pens, the page
/// and the line styles come from the action's settings.
class SoHPGLVectorOutput : public SoVectorOutput {
  public:
    SoHPGLVectorOutput();
    /// The copy writes to standard output, since a stream has one owner.
    SoHPGLVectorOutput(const SoHPGLVectorOutput&) = default;
    SoHPGLVectorOutput& operator=(const SoHPGLVectorOutput&) = default;
    ~SoHPGLVectorOutput() override;
};
