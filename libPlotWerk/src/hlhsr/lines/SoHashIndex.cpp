#include "SoHashIndex.h"

#include <algorithm>

// At most half the slots are taken, so that a probe meets a free one soon.
void SoHashIndex::add(std::uint64_t hash, int index) {
    if (2 * (count_ + 1) > slots_.size()) {
        std::vector<Slot> old(std::max<size_t>(16, 2 * slots_.size()));
        old.swap(slots_);
        for (const Slot& slot : old)
            if (slot.index >= 0) place(slot);
    }
    place({halfOf(hash), index});
    ++count_;
}

void SoHashIndex::place(const Slot& slot) {
    size_t at = slot.key & mask();
    while (slots_[at].index >= 0) at = (at + 1) & mask();
    slots_[at] = slot;
}
