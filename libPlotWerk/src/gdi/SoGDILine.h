#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <vector>

/// The software dash of patterned GDI lines: steps along each segment pixel by pixel (in
/// logical units, along the major axis) and draws the even elements of the pattern with
/// LineTo, skipping the odd ones with MoveToEx. Every moveTo restarts the pattern, so a
/// dashed polyline starts its pattern again at each vertex. Without elements it draws
/// plain lines.
class SoGDILine {
  public:
    /// `elements`: lengths in logical units, drawn and gap alternately.
    SoGDILine(HDC dc, std::vector<int> elements);

    /// Starts a line at (x, y), `skip` logical units into the elements.
    void moveTo(int x, int y, long long skip = 0);
    void lineTo(int x, int y);

  private:
    /// One step along the major axis done: moves on to the next element when this one is
    /// used up, ending a drawn element with LineTo and a gap with MoveToEx.
    void stepDone();

    HDC dc_;
    std::vector<int> elements_;
    int index_ = 0;
    int remaining_ = 0;
    int x_ = 0, y_ = 0;
};
