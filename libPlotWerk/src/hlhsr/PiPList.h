#pragma once

/// A growable array of untyped pointers: the storage under the hidden-surface record list.
/// It starts with room for 100 entries and doubles past whatever an index needs.
class PiPList {
  public:
    PiPList();
    PiPList(const PiPList&) = delete;
    PiPList& operator=(const PiPList&) = delete;

    virtual ~PiPList();
    /// Adds p at the end; returns the new count.
    virtual int append(void* p);
    /// Takes n entries out from start on (n < 0: everything from start on); see removalEnd().
    virtual void remove(int start, int n);
    /// Stores p at index, growing the array and the count to cover it (new slots are null).
    virtual void set(int index, void* p);
    /// The entry at index; null past the end (or before the start).
    virtual void* get(int index) const;

    int getLength() const { return count_; }
    int getCapacity() const { return capacity_; }
    /// The entry at index, growing the list when index is past the end.
    void*& operator[](int index);

  protected:
    /// The end (exclusive) of the range remove(start, n) takes out, or start when it takes
    /// nothing: the one rule that both this class and a list owning its entries follow.
    int removalEnd(int start, int n) const;

    void** items_;
    int count_;
    int capacity_;

  private:
    /// Makes room for `needed` entries: the capacity becomes twice that when it grows.
    void reserveFor(int needed);
};
