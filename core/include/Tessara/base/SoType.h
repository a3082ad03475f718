#pragma once

#include <Tessara/base/SbName.h>

#include <vector>

/// A handle on a registered run-time type: a name, a parent, and an optional factory.
/// Types form single-inheritance trees rooted at the core's base classes.
class SoType {
  public:
    using InstantiationMethod = void* (*)();

    /// The bad type: what an unregistered class reports.
    SoType() = default;

    /// Registers a new type below `parent`; a name already taken yields the bad type.
    static SoType createType(SoType parent, const SbName& name,
                             InstantiationMethod factory = nullptr, short data = 0);
    /// Unregisters a type; false when unknown or when a registered type still derives from it.
    static bool removeType(const SbName& name);
    static SoType fromName(const SbName& name);
    static SoType badType() { return SoType(); }

    bool isBad() const { return key_ < 0; }
    SbName getName() const;
    SoType getParent() const;
    bool isDerivedFrom(SoType parent) const;
    bool canCreateInstance() const;
    /// A new instance from the factory, or null for abstract types.
    void* createInstance() const;
    short getData() const;
    /// A small dense index, usable as a table key; -1 for the bad type.
    int getKey() const { return key_; }

    /// Number of keys handed out so far (removed types keep theirs).
    static int getNumTypes();
    /// Appends every registered type derived from `parent` (itself included); returns the count.
    static int getAllDerivedFrom(SoType parent, std::vector<SoType>& list);

    bool operator==(const SoType& t) const { return key_ == t.key_; }
    bool operator!=(const SoType& t) const { return key_ != t.key_; }
    bool operator<(const SoType& t) const { return key_ < t.key_; }

  private:
    explicit SoType(int key) : key_(key) {}
    int key_ = -1;
};
