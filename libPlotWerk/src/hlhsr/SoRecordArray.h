#pragma once

#include <cstring>
#include <type_traits>

/// The per-point values of a stored record: up to Local values inside the record itself,
/// more in a block of their own. Nearly every record of a big drawing is a triangle, a
/// segment or a dot, and a heap block for each of its two arrays weighed as much as the
/// values in them. Used like the owning array pointer it replaces: get(), [i], a test for
/// storage.
///
/// Once the values outgrow the record, the bytes of the local values hold the address of
/// the block: copied in and out as bytes, which the trivially copyable values allow.
template <class T, int Local>
class SoRecordArray {
    static_assert(std::is_trivially_copyable<T>::value, "values are copied as bytes");
    static_assert(Local * sizeof(T) >= sizeof(T*), "the block address is kept in local room");

  public:
    SoRecordArray() = default;
    SoRecordArray(const SoRecordArray&) = delete;
    SoRecordArray& operator=(const SoRecordArray&) = delete;
    ~SoRecordArray() { delete[] block(); }

    /// Room for n values (none for n <= 0); the old values are gone.
    void resize(int n) {
        const int size = n > 0 ? n : 0;
        // Allocated first: should it fail, the array still owns what it had.
        T* storage = size > Local ? new T[size] : nullptr;
        delete[] block();
        size_ = size;
        if (storage) std::memcpy(static_cast<void*>(local_), &storage, sizeof storage);
    }
    /// Null without values. Like the owning pointer, a const array hands out its values
    /// for writing.
    T* get() const {
        if (size_ == 0) return nullptr;
        return size_ > Local ? block() : const_cast<T*>(local_);
    }
    T& operator[](int i) const { return get()[i]; }
    explicit operator bool() const { return size_ > 0; }

  private:
    T* block() const {
        if (size_ <= Local) return nullptr;
        T* storage = nullptr;
        std::memcpy(&storage, static_cast<const void*>(local_), sizeof storage);
        return storage;
    }

    T local_[Local];
    int size_ = 0;
};
