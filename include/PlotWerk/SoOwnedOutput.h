#pragma once

/// The output object a backend action owns: made with the action, copied into a fresh object
/// when the action is copied (the copy writes to its own stream), assigned by value and
/// deleted with the action. Its operations are instantiated where `Output` is complete, in
/// the backend's source file.
template <class Output>
class SoOwnedOutput {
  public:
    SoOwnedOutput() : output(new Output) {}
    SoOwnedOutput(const SoOwnedOutput& other) : output(new Output(*other.output)) {}
    SoOwnedOutput& operator=(const SoOwnedOutput& other) {
        *output = *other.output;
        return *this;
    }
    ~SoOwnedOutput() { delete output; }

    Output* get() const { return output; }
    Output* operator->() const { return output; }
    Output& operator*() const { return *output; }

  private:
    Output* output;
};
