#pragma once

#include <PlotWerk/SoVectorOutput.h>

/// The stream of the PostScript backend, with the document's kind: colour or grey, the
/// language level, and the numeric accuracy that sets the drawing unit.
class SoPSVectorOutput : public SoVectorOutput {
  public:
    SoPSVectorOutput();
    /// Copies the settings; the copy writes to standard output, since a stream has one owner.
    SoPSVectorOutput(const SoPSVectorOutput&) = default;
    SoPSVectorOutput& operator=(const SoPSVectorOutput&) = default;
    ~SoPSVectorOutput() override;

    /// Non-zero: RGB colours (the default); 0: grey levels.
    void setColored(int colored);
    int getColored() const;
    /// PostScript language level, clamped to 1..3 (default 2).
    void setLevel(unsigned int level);
    unsigned int getLevel() const;
    /// The smallest accuracy factor, a unit of 2.4 micrometres: finer than any printer's dot,
    /// and coarse enough for the coordinates of the largest sheet to fit PostScript's integers.
    static constexpr float kFinestAccuracy = 0.01f;
    /// The drawing unit is factor x 0.24 mm (default factor 0.1). A factor below
    /// kFinestAccuracy or not finite is refused: the setting keeps its value, with an error.
    void setNumericAccuracyFactor(float factor);
    float getNumericAccuracy() const;

  private:
    int colored_ = 1;
    unsigned int level_ = 2;
    float numericAccuracyFactor_ = 0.1f;
};
