#pragma once

#include <chrono>
#include <cstdio>

/// A percentage of the work done, redrawn in place on a terminal. Counting is one addition
/// and one comparison; the display changes only when the figure does, at most a few times
/// per second, so a print of millions of primitives does not slow down to talk about it.
class ProgressMeter {
  public:
    explicit ProgressMeter(FILE* stream) : stream(stream) {}
    /// Shows 0 % of `total` units of work; the figure stays at 99 % until finish() whatever
    /// the count, since the primitives printed need not match those counted beforehand.
    void start(long total);

    void advance(long units) {
        done += units;
        if (done >= nextCheck) update();
    }
    /// Shows 100 % and ends the line.
    void finish();

  private:
    void update();
    void draw(int percent);

    FILE* stream;
    long total = 1;
    long done = 0;
    long nextCheck = 0;
    int shown = -1;
    std::chrono::steady_clock::time_point lastDraw;
};
