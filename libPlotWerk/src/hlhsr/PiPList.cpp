#include "PiPList.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>

namespace {
constexpr int INITIAL_CAPACITY = 100;
}

PiPList::PiPList()
    : items_(new void*[INITIAL_CAPACITY]()), count_(0), capacity_(INITIAL_CAPACITY) {}

PiPList::~PiPList() {
    delete[] items_;
}

void PiPList::reserveFor(int needed) {
    if (needed <= capacity_) return;
    const int grown = 2 * needed;
    void** larger = new void*[grown]();
    std::copy(items_, items_ + count_, larger);
    delete[] items_;
    items_ = larger;
    capacity_ = grown;
}

int PiPList::append(void* p) {
    reserveFor(count_ + 1);
    items_[count_++] = p;
    return count_;
}

// A start before the list or at or past its end takes nothing; n < 0 takes the whole tail;
// otherwise the range is clamped to the end. Removing from index 0 and removing exactly the
// tail both work: the record list relies on the same range to delete what it removes.
int PiPList::removalEnd(int start, int n) const {
    if (start < 0 || start >= count_) return start;
    if (n < 0) return count_;
    return std::min(count_, start + n);
}

void PiPList::remove(int start, int n) {
    const int end = removalEnd(start, n);
    if (end <= start) return;
    std::copy(items_ + end, items_ + count_, items_ + start);
    const int removed = end - start;
    std::fill(items_ + count_ - removed, items_ + count_, nullptr);
    count_ -= removed;
}

void PiPList::set(int index, void* p) {
    if (index < 0) {
        SoDebugError::post("PiPList::set", "Negative index %d: nothing stored", index);
        return;
    }
    reserveFor(index + 1);
    items_[index] = p;
    count_ = std::max(count_, index + 1);
}

void* PiPList::get(int index) const {
    return index >= 0 && index < count_ ? items_[index] : nullptr;
}

void*& PiPList::operator[](int index) {
    if (index < 0) {
        SoDebugError::post("PiPList::operator[]", "Negative index %d: index 0 used", index);
        index = 0;
    }
    reserveFor(index + 1);
    count_ = std::max(count_, index + 1);
    return items_[index];
}
