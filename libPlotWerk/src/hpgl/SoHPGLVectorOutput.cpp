#include <PlotWerk/SoHPGLVectorOutput.h>

SoHPGLVectorOutput::SoHPGLVectorOutput() = default;

SoHPGLVectorOutput::~SoHPGLVectorOutput() = default;
