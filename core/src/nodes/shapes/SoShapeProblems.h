#pragma once

/// Collects what was wrong with a shape's input during one traversal and reports it in one
/// warning when it goes away, so that a broken mesh of a million faces posts one message,
/// not a million.
class SoShapeProblems {
  public:
    /// `shapeName` names the node type in the message; `source` is the reporting function.
    SoShapeProblems(const char* shapeName, const char* source);
    ~SoShapeProblems();
    SoShapeProblems(const SoShapeProblems&) = delete;
    SoShapeProblems& operator=(const SoShapeProblems&) = delete;

    /// Records one problem; only the first is described in the warning, the others are
    /// counted.
    void note(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int getCount() const { return count_; }

  private:
    const char* shapeName_;
    const char* source_;
    int count_ = 0;
    char first_[256] = {};  // formatted once: later problems cost no formatting
};
