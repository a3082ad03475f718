#include "ProgressMeter.h"

#include <algorithm>
#include <limits>

namespace {

// Five redraws a second are enough to look alive.
constexpr std::chrono::milliseconds kRedrawInterval(200);

}  // namespace

void ProgressMeter::start(long expected) {
    total = std::max(expected, 1L);
    done = 0;
    nextCheck = 0;
    draw(0);
}

void ProgressMeter::update() {
    const int percent = static_cast<int>(std::min(99L, done * 100 / total));
    nextCheck =
        percent >= 99 ? std::numeric_limits<long>::max() : (total * (percent + 1) + 99) / 100;
    const auto now = std::chrono::steady_clock::now();
    if (percent != shown && now - lastDraw >= kRedrawInterval) draw(percent);
}

void ProgressMeter::draw(int percent) {
    std::fprintf(stream, "\rplotwerk: printing %3d%%", percent);
    std::fflush(stream);
    shown = percent;
    lastDraw = std::chrono::steady_clock::now();
}

void ProgressMeter::finish() {
    draw(100);
    std::fputc('\n', stream);
    std::fflush(stream);
}
