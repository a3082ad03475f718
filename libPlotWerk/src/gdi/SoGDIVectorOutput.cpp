#include <PlotWerk/SoGDIVectorOutput.h>

SoGDIVectorOutput::SoGDIVectorOutput() = default;

SoGDIVectorOutput::SoGDIVectorOutput(const SoGDIVectorOutput& other)
    : SoVectorOutput(other), outputName_(other.outputName_), dc_(other.dc_) {}

SoGDIVectorOutput& SoGDIVectorOutput::operator=(const SoGDIVectorOutput& other) {
    SoVectorOutput::operator=(other);
    outputName_ = other.outputName_;
    dc_ = other.dc_;
    return *this;
}

SoGDIVectorOutput::~SoGDIVectorOutput() = default;

int SoGDIVectorOutput::openFile(const SbString& fileName) {
    if (fileName.isEmpty()) return openFile();
    outputName_ = fileName;
    dc_ = nullptr;
    return 1;
}

int SoGDIVectorOutput::openFile(const char* fileName) {
    return fileName ? openFile(SbString(fileName)) : openFile();
}

int SoGDIVectorOutput::openFile(HDC dc) {
    if (!dc) return openFile();
    dc_ = dc;
    outputName_.makeEmpty();
    return 1;
}

int SoGDIVectorOutput::openFile() {
    outputName_.makeEmpty();
    dc_ = nullptr;
    return 1;
}

void SoGDIVectorOutput::closeFile() {}
