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

    void append(void* ptr) { items_.push_back(ptr); }
    /// Inserts before index; index == getLength() appends. Other indices post and do nothing.
    void insert(void* ptr, int index);
    /// Removes the item at index, keeping the order of the rest.
    void remove(int index);
    /// Replaces the item at index.
    void set(int index, void* ptr);
    /// Index of the first item equal to ptr, or -1.
    int find(const void* ptr) const;
    int getLength() const { return static_cast<int>(items_.size()); }
    /// Keeps the first length items; a length outside 0..getLength() posts and does nothing.
    void truncate(int length);
    /// Makes this list a copy of other.
    void copy(const SbPList& other) { items_ = other.items_; }

    /// An index outside the list posts an error and gives a null dummy instead of crashing;
    /// writes to that dummy are dropped.
    void*& operator[](int index);
    void* const& operator[](int index) const;

    friend bool operator==(const SbPList& a, const SbPList& b) { return a.items_ == b.items_; }
    friend bool operator!=(const SbPList& a, const SbPList& b) { return a.items_ != b.items_; }

    /// The items as a plain array (null when the list is empty); valid until the list changes.
    void** getArrayPtr() { return items_.empty() ? nullptr : items_.data(); }
    void* const* getArrayPtr() const { return items_.empty() ? nullptr : items_.data(); }

  private:
    bool isValidIndex(const char* where, int index) const;

    std::vector<void*> items_;
    mutable void* dummy_ = nullptr;
};
