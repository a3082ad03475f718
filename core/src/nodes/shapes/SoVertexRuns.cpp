#include "nodes/shapes/SoVertexRuns.h"

#include "nodes/shapes/SoShapeProblems.h"

SoVertexRuns::SoVertexRuns(const SoMFInt32& numVertices, int numCoords, SoShapeProblems* problems,
                           const char* noun)
    : numVertices_(numVertices),
      numCoords_(numCoords < 0 ? 0 : numCoords),
      problems_(problems),
      noun_(noun) {}

bool SoVertexRuns::next() {
    if (index_ >= numVertices_.getNum()) return false;
    const int k = index_++;
    const int asked = numVertices_[k];
    const int remaining = numCoords_ - next_;
    first_ = next_;
    valid_ = true;
    if (asked == -1) {
        length_ = remaining;
    } else if (asked < 0) {
        if (problems_)
            problems_->note("%s %d: vertex count %d is invalid; skipped", noun_, k, asked);
        length_ = 0;
        valid_ = false;
    } else if (asked > remaining) {
        if (problems_)
            problems_->note("%s %d asks for %d vertices but only %d remain; clamped", noun_, k,
                            asked, remaining);
        length_ = remaining;
    } else {
        length_ = asked;
    }
    next_ += length_;
    return true;
}
