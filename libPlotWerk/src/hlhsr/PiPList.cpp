#include "PiPList.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>

namespace {
constexpr int INITIAL_CAPACITY = 100;
}

PiPList::PiPList() : items(new void*[INITIAL_CAPACITY]()), count(0), capacity(INITIAL_CAPACITY) {}

PiPList::~PiPList() {
    delete[] items;
}

void PiPList::reserveFor(int needed) {
    if (needed <= capacity) return;
    const int grown = 2 * needed;
    void** larger = new void*[grown]();
    std::copy(items, items + count, larger);
    delete[] items;
    items = larger;
    capacity = grown;
}

int PiPList::append(void* p) {
    reserveFor(count + 1);
    items[count++] = p;
    return count;
}

// A start before the list or at or past its end takes nothing; n < 0 takes the whole tail;
// otherwise the range is clamped to the end. Removing from index 0 and removing exactly the
// tail both work: the record list relies on the same range to delete what it removes.
int PiPList::removalEnd(int start, int n) const {
    if (start < 0 || start >= count) return start;
    if (n < 0) return count;
    return std::min(count, start + n);
}

void PiPList::remove(int start, int n) {
    const int end = removalEnd(start, n);
    if (end <= start) return;
    std::copy(items + end, items + count, items + start);
    const int removed = end - start;
    std::fill(items + count - removed, items + count, nullptr);
    count -= removed;
}

void PiPList::set(int index, void* p) {
    if (index < 0) {
        SoDebugError::post("PiPList::set", "Negative index %d: nothing stored", index);
        return;
    }
    reserveFor(index + 1);
    items[index] = p;
    count = std::max(count, index + 1);
}

void* PiPList::get(int index) const {
    return index >= 0 && index < count ? items[index] : nullptr;
}

void*& PiPList::operator[](int index) {
    if (index < 0) {
        SoDebugError::post("PiPList::operator[]", "Negative index %d: index 0 used", index);
        index = 0;
    }
    reserveFor(index + 1);
    count = std::max(count, index + 1);
    return items[index];
}
