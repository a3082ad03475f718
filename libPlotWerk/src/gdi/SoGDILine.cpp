#include "SoGDILine.h"

#include <cstdlib>
#include <numeric>

SoGDILine::SoGDILine(HDC dc, std::vector<int> elements) : dc_(dc), elements_(std::move(elements)) {}

void SoGDILine::moveTo(int x, int y, long long skip) {
    index_ = 0;
    remaining_ = elements_.empty() ? 0 : elements_[0];
    x_ = x, y_ = y;
    MoveToEx(dc_, x, y, nullptr);
    const long long period = std::accumulate(elements_.begin(), elements_.end(), 0LL);
    if (period <= 0 || skip <= 0) return;
    for (skip %= period; skip >= remaining_; remaining_ = elements_[std::size_t(index_)]) {
        skip -= remaining_;
        index_ = (index_ + 1) % static_cast<int>(elements_.size());
    }
    remaining_ -= static_cast<int>(skip);
}

// A Bresenham walk: the error term decides when the minor coordinate moves, so the dash
// lengths count steps along the major axis, not along the segment.
void SoGDILine::lineTo(int x, int y) {
    if (elements_.empty()) {
        LineTo(dc_, x, y);
        x_ = x, y_ = y;
        return;
    }
    const long long dx = static_cast<long long>(x) - x_, dy = static_cast<long long>(y) - y_;
    const bool yMajor = std::llabs(dx) < std::llabs(dy);
    const long long n = yMajor ? std::llabs(dy) : std::llabs(dx);
    const long long m = yMajor ? std::llabs(dx) : std::llabs(dy);
    const int majorSign = (yMajor ? dy : dx) < 0 ? -1 : 1;
    const int minorSign = (yMajor ? dx : dy) < 0 ? -1 : 1;
    int& major = yMajor ? y_ : x_;
    int& minor = yMajor ? x_ : y_;
    long long error = n;
    for (long long step = 0; step < n; ++step) {
        error -= m;
        if (error < 1) {
            minor += minorSign;
            error += n;
        }
        major += majorSign;
        if (--remaining_ > 0) continue;
        stepDone();
        if (step + 1 == n) return;
    }
    if (index_ % 2 == 0) LineTo(dc_, x_, y_);
}

void SoGDILine::stepDone() {
    index_ = (index_ + 1) % static_cast<int>(elements_.size());
    remaining_ = elements_[index_];
    if (index_ % 2 == 1)
        LineTo(dc_, x_, y_);
    else
        MoveToEx(dc_, x_, y_, nullptr);
}
