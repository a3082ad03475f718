#include <Tessara/base/SbPList.h>
#include <Tessara/base/SoDebugError.h>

#include <algorithm>

SbPList::SbPList(int initialSize) {
    if (initialSize > 0) items_.reserve(static_cast<std::size_t>(initialSize));
}

bool SbPList::isValidIndex(const char* where, int index) const {
    if (index >= 0 && index < getLength()) return true;
    SoDebugError::post(where, "index %d is outside a list of %d items", index, getLength());
    return false;
}

void SbPList::insert(void* ptr, int index) {
    if (index == getLength()) {
        append(ptr);
        return;
    }
    if (!isValidIndex("SbPList::insert", index)) return;
    items_.insert(items_.begin() + index, ptr);
}

void SbPList::remove(int index) {
    if (!isValidIndex("SbPList::remove", index)) return;
    items_.erase(items_.begin() + index);
}

void SbPList::set(int index, void* ptr) {
    if (!isValidIndex("SbPList::set", index)) return;
    items_[static_cast<std::size_t>(index)] = ptr;
}

int SbPList::find(const void* ptr) const {
    const auto found = std::find(items_.begin(), items_.end(), ptr);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void SbPList::truncate(int length) {
    if (length < 0 || length > getLength()) {
        SoDebugError::post("SbPList::truncate", "cannot truncate a list of %d items to %d",
                           getLength(), length);
        return;
    }
    items_.resize(static_cast<std::size_t>(length));
}

void*& SbPList::operator[](int index) {
    if (!isValidIndex("SbPList::operator[]", index)) {
        // Reset every time: a caller may have written through an earlier bad index.
        dummy_ = nullptr;
        return dummy_;
    }
    return items_[static_cast<std::size_t>(index)];
}

void* const& SbPList::operator[](int index) const {
    if (!isValidIndex("SbPList::operator[]", index)) {
        dummy_ = nullptr;
        return dummy_;
    }
    return items_[static_cast<std::size_t>(index)];
}
