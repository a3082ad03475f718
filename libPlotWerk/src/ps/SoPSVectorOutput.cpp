#include <PlotWerk/SoPSVectorOutput.h>
#include <Tessara/base/SoDebugError.h>

#include <cmath>

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
    if (std::isfinite(factor) && factor >= kFinestAccuracy) {
        numericAccuracyFactor_ = factor;
        return;
    }
    SoDebugError::post("SoPSVectorOutput::setNumericAccuracyFactor",
                       "An accuracy factor of %g is ignored: it must be at least %g",
                       double(factor), double(kFinestAccuracy));
}

float SoPSVectorOutput::getNumericAccuracy() const {
    return numericAccuracyFactor_;
}
