#include <PlotWerk/SoPSVectorOutput.h>

SoPSVectorOutput::SoPSVectorOutput() = default;

SoPSVectorOutput::SoPSVectorOutput(const SoPSVectorOutput& other)
    : SoVectorOutput(),
      colored(other.colored),
      level(other.level),
      numericAccuracyFactor(other.numericAccuracyFactor) {}

SoPSVectorOutput& SoPSVectorOutput::operator=(const SoPSVectorOutput& other) {
    // The stream stays where it is: two objects closing one stream would close it twice.
    colored = other.colored;
    level = other.level;
    numericAccuracyFactor = other.numericAccuracyFactor;
    return *this;
}

SoPSVectorOutput::~SoPSVectorOutput() = default;

void SoPSVectorOutput::setColored(int value) {
    colored = value;
}

int SoPSVectorOutput::getColored() const {
    return colored;
}

void SoPSVectorOutput::setLevel(unsigned int value) {
    level = value < 1 ? 1 : (value > 3 ? 3 : value);
}

unsigned int SoPSVectorOutput::getLevel() const {
    return level;
}

void SoPSVectorOutput::setNumericAccuracyFactor(float factor) {
    numericAccuracyFactor = factor;
}

float SoPSVectorOutput::getNumericAccuracy() const {
    return numericAccuracyFactor;
}
