#pragma once

class SoFieldContainer;
class SoInput;
class SoOutput;

/// A value of a node that scene files name, read and write. A field remembers whether it
/// still holds its default (writers skip such fields) and tells its node when it changes.
class SoField {
  public:
    virtual ~SoField();
    SoField(const SoField&) = delete;
    SoField& operator=(const SoField&) = delete;

    bool isDefault() const { return isDefault_; }
    void setDefault(bool flag) { isDefault_ = flag; }
    /// An ignored field does not affect the state (as if it were not set).
    bool isIgnored() const { return isIgnored_; }
    void setIgnored(bool flag);

    SoFieldContainer* getContainer() const { return container_; }
    void setContainer(SoFieldContainer* container) { container_ = container; }

    /// Reads the value text that follows the field name in a scene file.
    virtual bool read(SoInput* in) = 0;
    /// Writes the value text (without the name).
    virtual void write(SoOutput* out) const = 0;

    /// Marks the field as changed without changing its value.
    void touch() { valueChanged(); }

  protected:
    SoField() = default;
    /// Every setter calls this: the field no longer holds its default and the node learns.
    void valueChanged();

  private:
    SoFieldContainer* container_ = nullptr;
    bool isDefault_ = true;
    bool isIgnored_ = false;
};
