#include <PlotWerk/SoCairoVectorOutput.h>

SoCairoVectorOutput::SoCairoVectorOutput() = default;

SoCairoVectorOutput::~SoCairoVectorOutput() = default;
