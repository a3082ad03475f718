#include <PlotWerk/SoCGMVectorOutput.h>

SoCGMVectorOutput::SoCGMVectorOutput() = default;

SoCGMVectorOutput::~SoCGMVectorOutput() = default;

void SoCGMVectorOutput::setBinary(int value) {
    binary_ = value;
}

int SoCGMVectorOutput::isBinary() const {
    return binary_;
}

void SoCGMVectorOutput::setVersion(int value) {
    version_ = value;
}

int SoCGMVectorOutput::getVersion() const {
    return version_;
}

void SoCGMVectorOutput::setIndexed(int value) {
    indexed_ = value;
}

int SoCGMVectorOutput::isIndexed() const {
    return indexed_;
}

int SoCGMVectorOutput::openFile(const SbString& fileName) {
    return openFileWithMode(fileName, binary_ ? "wb" : "wt");
}

int SoCGMVectorOutput::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}
