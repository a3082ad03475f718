#pragma once

#include <Tessara/base/SoBase.h>

#include <cstdint>
#include <vector>

class SoField;

/// An object with named fields (every node). The fields are members of the subclass,
/// registered in its constructor in the order scene files write them.
class SoFieldContainer : public SoBase {
  public:
    int getNumFields() const { return static_cast<int>(fields_.size()); }
    SoField* getFieldAt(int i) const;
    const char* getFieldNameAt(int i) const;
    /// The field called `name`, or null.
    SoField* getField(const SbName& name) const;
    /// The name under which `field` is registered, or null.
    const char* getFieldName(const SoField* field) const;

    /// Called by a field whenever its value changes.
    virtual void fieldChanged(SoField* field);
    /// Changes with every field change: caches derived from the fields compare it.
    uint64_t getChangeCount() const { return changeCount_; }

  protected:
    SoFieldContainer() = default;
    ~SoFieldContainer() override;
    /// Registers a member field under a name (constructors only).
    void addField(const char* name, SoField& field);

  private:
    std::vector<std::pair<const char*, SoField*>> fields_;
    uint64_t changeCount_ = 0;
};
