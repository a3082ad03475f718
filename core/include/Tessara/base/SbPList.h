#pragma once

#include <vector>

/// Growable list of untyped pointers; the base of the typed lists of the core.
class SbPList {
  public:
    SbPList() = default;
    /// Reserves room for initialSize pointers; the list still starts empty.
    explicit SbPList(int initialSize);
    SbPList(const SbPList& other) = default;
    SbPList(SbPList&& other) noexcept = default;
    SbPList& operator=(const SbPList& other) = default;
    SbPList& operator=(SbPList&& other) noexcept = default;
    virtual ~SbPList() = default;

    void append(void* ptr) { m_items.push_back(ptr); }
    /// Inserts before index; index == getLength() appends. Other indices post and do nothing.
    void insert(void* ptr, int index);
    /// Removes the item at index, keeping the order of the rest.
    void remove(int index);
    /// Replaces the item at index.
    void set(int index, void* ptr);
    /// Index of the first item equal to ptr, or -1.
    int find(const void* ptr) const;
    int getLength() const { return static_cast<int>(m_items.size()); }
    /// Keeps the first length items; a length outside 0..getLength() posts and does nothing.
    void truncate(int length);
    /// Makes this list a copy of other.
    void copy(const SbPList& other) { m_items = other.m_items; }

    /// An index outside the list posts an error and gives a null dummy instead of crashing;
    /// writes to that dummy are dropped.
    void*& operator[](int index);
    void* const& operator[](int index) const;

    friend bool operator==(const SbPList& a, const SbPList& b) { return a.m_items == b.m_items; }
    friend bool operator!=(const SbPList& a, const SbPList& b) { return a.m_items != b.m_items; }

    /// The items as a plain array (null when the list is empty); valid until the list changes.
    void** getArrayPtr() { return m_items.empty() ? nullptr : m_items.data(); }
    void* const* getArrayPtr() const { return m_items.empty() ? nullptr : m_items.data(); }

  private:
    bool isValidIndex(const char* where, int index) const;

    std::vector<void*> m_items;
    mutable void* m_dummy = nullptr;
};
