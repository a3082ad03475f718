#include <Tessara/base/SbPList.h>
#include <Tessara/base/SoDebugError.h>

#include <algorithm>

SbPList::SbPList(int initialSize) {
    if (initialSize > 0) m_items.reserve(static_cast<std::size_t>(initialSize));
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
    m_items.insert(m_items.begin() + index, ptr);
}

void SbPList::remove(int index) {
    if (!isValidIndex("SbPList::remove", index)) return;
    m_items.erase(m_items.begin() + index);
}

void SbPList::set(int index, void* ptr) {
    if (!isValidIndex("SbPList::set", index)) return;
    m_items[static_cast<std::size_t>(index)] = ptr;
}

int SbPList::find(const void* ptr) const {
    const auto found = std::find(m_items.begin(), m_items.end(), ptr);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

void SbPList::truncate(int length) {
    if (length < 0 || length > getLength()) {
        SoDebugError::post("SbPList::truncate", "cannot truncate a list of %d items to %d",
                           getLength(), length);
        return;
    }
    m_items.resize(static_cast<std::size_t>(length));
}

void*& SbPList::operator[](int index) {
    if (!isValidIndex("SbPList::operator[]", index)) {
        // Reset every time: a caller may have written through an earlier bad index.
        m_dummy = nullptr;
        return m_dummy;
    }
    return m_items[static_cast<std::size_t>(index)];
}

void* const& SbPList::operator[](int index) const {
    if (!isValidIndex("SbPList::operator[]", index)) {
        m_dummy = nullptr;
        return m_dummy;
    }
    return m_items[static_cast<std::size_t>(index)];
}
