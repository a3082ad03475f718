#pragma once

#include "output/ProgressMeter.h"

/// A backend that reports its progress: each print operation counts the primitives it is
/// handed (a polygon stands for one triangle, an n-point polyline for n - 1 segments, a text
/// line or an image for one) and then does what the backend does. The border and the
/// background are the frame, not the scene: they count for nothing.
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
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override {
        meter_.advance(1);
        Backend::printText2(origin, color, fontName, fontSize, string, justification, angle);
    }
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override {
        meter_.advance(1);
        Backend::printImage(origin, pixels, sourceSize, requestedSize, numComponents, horAlignment,
                            vertAlignment);
    }
    void printBorder() override {
        framed([this] { Backend::printBorder(); });
    }
    void printBackground() override {
        framed([this] { Backend::printBackground(); });
    }

  private:
    template <class Frame>
    void framed(Frame frame) {
        const long before = meter_.done();
        frame();
        meter_.takeBack(meter_.done() - before);
    }

    ProgressMeter& meter_;
};
