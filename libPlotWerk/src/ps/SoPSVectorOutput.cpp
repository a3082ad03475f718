#include <PlotWerk/SoPSVectorOutput.h>

SoPSVectorOutput::SoPSVectorOutput() = default;

SoPSVectorOutput::SoPSVectorOutput(const SoPSVectorOutput& other)
    : SoVectorOutput(),
      colored_(other.colored_),
      level_(other.level_),
      numericAccuracyFactor_(other.numericAccuracyFactor_) {}

SoPSVectorOutput& SoPSVectorOutput::operator=(const SoPSVectorOutput& other) {
    // The stream stays where it is: two objects closing one stream would close it twice.
    colored_ = other.colored_;
    level_ = other.level_;
    numericAccuracyFactor_ = other.numericAccuracyFactor_;
    return *this;
}

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
