#pragma once

#include "SoImageVectorizer.h"

/// Turns the pixel runs of line identifiers (those with LINE_BIT set, the identifiers of the
/// line pass) into two-point SoPolyLine records from pixel centre to pixel centre, depth 0,
/// whose sourceId is the identifier. A run is followed from its first pixel in buffer order
/// along pixels of the same identifier, sideways or to the next row; a run of one pixel
/// gives nothing. Other identifiers are ignored. A run thicker than one pixel may give
/// several segments side by side.
class SoLinesVectorizer : public SoImageVectorizer {
  public:
    /// The bit that sets the identifiers of the line pass apart from the others.
    static constexpr std::uint32_t LINE_BIT = 0x00800000u;

    explicit SoLinesVectorizer(double tolerance);
    void vectorize(const unsigned char* tile, int w, int h) override;
};
