#include "output/ProgressMeter.h"

#include <algorithm>
#include <limits>

namespace {

// Five redraws a second are enough to look alive.
constexpr std::chrono::milliseconds kRedrawInterval(200);

}  // namespace

void ProgressMeter::start(long expected) {
    total_ = std::max(expected, 1L);
    done_ = 0;
    nextCheck_ = 0;
    draw(0);
}

void ProgressMeter::update() {
    const int percent = static_cast<int>(std::min(99L, done_ * 100 / total_));
    nextCheck_ =
        percent >= 99 ? std::numeric_limits<long>::max() : (total_ * (percent + 1) + 99) / 100;
    const auto now = std::chrono::steady_clock::now();
    if (percent != shown_ && now - lastDraw_ >= kRedrawInterval) draw(percent);
}

void ProgressMeter::draw(int percent) {
    if (!stream_) return;
    std::fprintf(stream_, "\rplotwerk: printing %3d%%", percent);
    std::fflush(stream_);
    shown_ = percent;
    lastDraw_ = std::chrono::steady_clock::now();
}

void ProgressMeter::finish() {
    if (!stream_) return;
    draw(100);
    std::fputc('\n', stream_);
    std::fflush(stream_);
}
