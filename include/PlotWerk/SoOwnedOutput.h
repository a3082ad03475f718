#pragma once

/// The output object a backend action owns: made with the action, copied into a fresh object
/// when the action is copied (the copy writes to its own stream), assigned by value and
/// deleted with the action. Its operations are instantiated where `Output` is complete, in
/// the backend's source file.
template <class Output>
class SoOwnedOutput {
  public:
    SoOwnedOutput() : output_(new Output) {}
    SoOwnedOutput(const SoOwnedOutput& other) : output_(new Output(*other.output_)) {}
    SoOwnedOutput& operator=(const SoOwnedOutput& other) {
        *output_ = *other.output_;
        return *this;
    }
    ~SoOwnedOutput() { delete output_; }

    Output* get() const { return output_; }
    Output* operator->() const { return output_; }
    Output& operator*() const { return *output_; }

  private:
    Output* output_;
};
