#pragma once

#include <Tessara/base/SbName.h>
#include <Tessara/base/SoTypedObject.h>

/// Reference-counted base of nodes and paths. An object starts with a count of 0 and is
/// deleted when a call to unref() brings the count back to 0.
class SoBase : public SoTypedObject {
  public:
    void ref() const;
    void unref() const;
    /// Decrements without deleting: hands a created object back to a caller that refs it.
    void unrefNoDelete() const;
    int getRefCount() const { return refCount_; }

    /// The name written after DEF in scene files.
    virtual SbName getName() const { return name_; }
    virtual void setName(const SbName& name) { name_ = name; }

    static SoType getClassTypeId() { return classTypeId; }
    static void initClass();
    static void exitClass();

  protected:
    SoBase() = default;
    ~SoBase() override;
    SoBase(const SoBase&) = delete;
    SoBase& operator=(const SoBase&) = delete;

  private:
    static SoType classTypeId;
    mutable int refCount_ = 0;
    SbName name_;
};
