#include <PlotWerk/SoCGMVectorOutput.h>

SoCGMVectorOutput::SoCGMVectorOutput() = default;

SoCGMVectorOutput::SoCGMVectorOutput(const SoCGMVectorOutput& other)
    : SoVectorOutput(), binary(other.binary), version(other.version), indexed(other.indexed) {}

SoCGMVectorOutput& SoCGMVectorOutput::operator=(const SoCGMVectorOutput& other) {
    // The stream stays where it is: two objects closing one stream would close it twice.
    binary = other.binary;
    version = other.version;
    indexed = other.indexed;
    return *this;
}

SoCGMVectorOutput::~SoCGMVectorOutput() = default;

void SoCGMVectorOutput::setBinary(int value) {
    binary = value;
}

int SoCGMVectorOutput::isBinary() const {
    return binary;
}

void SoCGMVectorOutput::setVersion(int value) {
    version = value;
}

int SoCGMVectorOutput::getVersion() const {
    return version;
}

void SoCGMVectorOutput::setIndexed(int value) {
    indexed = value;
}

int SoCGMVectorOutput::isIndexed() const {
    return indexed;
}

int SoCGMVectorOutput::openFile(const SbString& fileName) {
    return openFileWithMode(fileName, binary ? "wb" : "wt");
}

int SoCGMVectorOutput::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}
