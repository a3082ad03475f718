#include <PlotWerk/SoPSVectorOutput.h>

SoPSVectorOutput::SoPSVectorOutput() = default;

SoPSVectorOutput::~SoPSVectorOutput() = default;

void SoPSVectorOutput::setColored(int value) {
    colored_ = value;
}

int SoPSVectorOutput::getColored() const {
    return colored_;
}

void SoPSVectorOutput::setLevel(unsigned int value) {
    level_ = value < 1 ? 1 : (value > 3 ? 3 : value);
}

unsigned int SoPSVectorOutput::getLevel() const {
    return level_;
}

void SoPSVectorOutput::setNumericAccuracyFactor(float factor) {
    numericAccuracyFactor_ = factor;
}

float SoPSVectorOutput::getNumericAccuracy() const {
    return numericAccuracyFactor_;
}
