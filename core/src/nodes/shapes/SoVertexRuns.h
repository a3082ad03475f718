#pragma once

#include <Tessara/fields/SoFields.h>

class SoShapeProblems;

/// Walks the numVertices field of a non-indexed set: run k takes the next numVertices[k]
/// coordinates, -1 meaning all that remain. A run asking for more coordinates than remain is
/// clamped, a negative count other than -1 is invalid; both are reported when a problem
/// collector is given.
class SoVertexRuns {
  public:
    SoVertexRuns(const SoMFInt32& numVertices, int numCoords, SoShapeProblems* problems,
                 const char* noun);

    /// Moves to the next run; false when there is none.
    bool next();
    /// Run number, first coordinate and length of the current run.
    int getIndex() const { return index_ - 1; }
    int getFirst() const { return first_; }
    int getLength() const { return length_; }
    /// False for a run with an invalid count: it is skipped.
    bool isValid() const { return valid_; }

  private:
    const SoMFInt32& numVertices_;
    int numCoords_;
    SoShapeProblems* problems_;
    const char* noun_;
    int index_ = 0;
    int next_ = 0;  // first coordinate not yet taken
    int first_ = 0;
    int length_ = 0;
    bool valid_ = true;
};
