#pragma once

#include <chrono>

/// Times the stages of a computation, for the benchmarks that report where the time goes.
class SoStopwatch {
  public:
    SoStopwatch() : start_(Clock::now()) {}
    /// Seconds since the start or the last lap, and a new lap begins.
    double lap() {
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - start_).count();
        start_ = now;
        return seconds;
    }

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_;
};
