#pragma once

#include "output/ProgressMeter.h"

/// A backend that reports its progress: each print operation counts the primitives it is
/// handed (a polygon stands for one triangle, an n-point polyline for n - 1 segments) and
/// then does what the backend does.
template <class Backend>
class WithProgress : public Backend {
  public:
    explicit WithProgress(ProgressMeter& meter) : meter_(meter) {}

  protected:
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override {
        meter_.advance(1);
        Backend::printPolygon(points, n, colors, multicolor, patternString1, patternString2,
                              pattern);
    }
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override {
        meter_.advance(n > 1 ? n - 1 : 1);
        Backend::printPolyLine(points, n, colors, multicolor, lineWidth, linePattern,
                               linePatternScaleFactor);
    }
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override {
        meter_.advance(n);
        Backend::printPolyMark(points, n, colors, multicolor, markerSet);
    }
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override {
        meter_.advance(n);
        Backend::printPolyMark(points, n, colors, multicolor, pointSize);
    }

  private:
    ProgressMeter& meter_;
};
