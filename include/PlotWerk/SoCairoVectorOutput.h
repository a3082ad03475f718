#pragma once

#include <PlotWerk/SoVectorOutput.h>

/// The stream of the PDF and SVG backends. The document's settings are the action's; the
/// stream receives each document whole, as cairo writes it.
class SoCairoVectorOutput : public SoVectorOutput {
  public:
    SoCairoVectorOutput();
    /// The copy writes to standard output, since a stream has one owner.
    SoCairoVectorOutput(const SoCairoVectorOutput&) = default;
    SoCairoVectorOutput& operator=(const SoCairoVectorOutput&) = default;
    ~SoCairoVectorOutput() override;
};
