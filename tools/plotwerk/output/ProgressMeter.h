#pragma once

#include <chrono>
#include <cstdio>

/// A percentage of the work done, redrawn in place on a terminal. Counting is one addition
/// and one comparison; the display changes only when the figure does, at most a few times
/// per second, so a print of millions of primitives does not slow down to talk about it.
/// Without a stream it counts and shows nothing.
class ProgressMeter {
  public:
    explicit ProgressMeter(FILE* stream) : stream_(stream) {}
    bool shown() const { return stream_ != nullptr; }
    /// Shows 0 % of `total` units of work; the figure stays at 99 % until finish() whatever
    /// the count, since the primitives printed need not match those counted beforehand.
    void start(long total);

    void advance(long units) {
        done_ += units;
        if (done_ >= nextCheck_) update();
    }
    /// Units counted that were no work after all.
    void takeBack(long units) { done_ -= units; }
    long done() const { return done_; }
    /// Shows 100 % and ends the line.
    void finish();

  private:
    void update();
    void draw(int percent);

    FILE* stream_;
    long total_ = 1;
    long done_ = 0;
    long nextCheck_ = 0;
    int shown_ = -1;
    std::chrono::steady_clock::time_point lastDraw_;
};
