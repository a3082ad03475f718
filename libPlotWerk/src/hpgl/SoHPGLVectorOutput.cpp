#include <PlotWerk/SoHPGLVectorOutput.h>

SoHPGLVectorOutput::SoHPGLVectorOutput() = default;

SoHPGLVectorOutput::SoHPGLVectorOutput(const SoHPGLVectorOutput&) : SoVectorOutput() {}

SoHPGLVectorOutput& SoHPGLVectorOutput::operator=(const SoHPGLVectorOutput&) {
    // Nothing to copy: the stream stays where it is, two objects must not close one stream.
    return *this;
}

SoHPGLVectorOutput::~SoHPGLVectorOutput() = default;
