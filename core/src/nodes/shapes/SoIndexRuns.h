#pragma once

#include <Tessara/fields/SoFields.h>

#include <cstdint>
#include <vector>

#include "nodes/shapes/SoVertexData.h"

/// Walks an index field made of runs that end at -1: the faces of an indexed face set, the
/// polylines of an indexed line set. The last run may omit its -1; "-1 -1" is an empty run.
class SoIndexRuns {
  public:
    SoIndexRuns(const int32_t* indices, int num) : indices_(indices), num_(num) {}

    /// Moves to the next run; false when there is none.
    bool next() {
        if (pos_ >= num_) return false;
        start_ = pos_;
        while (pos_ < num_ && indices_[pos_] != -1) ++pos_;
        length_ = pos_ - start_;
        ++pos_;  // past the -1
        return true;
    }
    int getStart() const { return start_; }
    int getLength() const { return length_; }

    /// Runs (as parts and faces), indices, and the largest index below numCoords plus one.
    static void count(const SoMFInt32& field, int numCoords, SoShapeCounts& counts);
    /// The runs as faces for normal generation; -1 separators dropped.
    static void buildFaceList(const SoMFInt32& field, std::vector<int32_t>& corners,
                              std::vector<int32_t>& starts);

  private:
    const int32_t* indices_;
    int num_;
    int pos_ = 0;
    int start_ = 0;
    int length_ = 0;
};
