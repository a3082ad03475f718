#pragma once

#include <vector>

class SoBase;

/// A list of reference-counted objects: the list holds a reference on each entry.
class SoBaseList {
  public:
    SoBaseList() = default;
    SoBaseList(const SoBaseList& other);
    SoBaseList& operator=(const SoBaseList& other);
    ~SoBaseList();

    void append(SoBase* item);
    void insert(SoBase* item, int index);
    void remove(int index);
    void truncate(int length);
    void set(int index, SoBase* item);
    int find(const SoBase* item) const;
    int getLength() const { return static_cast<int>(items_.size()); }
    bool operator==(const SoBaseList& other) const { return items_ == other.items_; }
    bool operator!=(const SoBaseList& other) const { return items_ != other.items_; }

  protected:
    /// The entry at `index`, or null (with a message) when out of range.
    SoBase* get(int index) const;

  private:
    std::vector<SoBase*> items_;
};
