#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../SoGraphicPrimitiveList.h"

/// Turns a tile of identifier pixels read back from the offscreen pass into records in tile
/// pixel coordinates: pixel (column c, row r) of the tile has its centre at (c, r), depth 0.
class SoImageVectorizer {
  public:
    explicit SoImageVectorizer(double tolerance);
    SoImageVectorizer(const SoImageVectorizer&) = delete;
    SoImageVectorizer& operator=(const SoImageVectorizer&) = delete;
    virtual ~SoImageVectorizer();

    /// Traces a tile of w x h pixels and appends what it finds to getTraced(). tile: 4 bytes
    /// per pixel as OpenGL reads RGBA back (byte 0 red = least significant), rows in buffer
    /// order (row 0 first, the bottom row of the tile); the identifier of a pixel is its low
    /// 24 bits (r | g << 8 | b << 16), alpha ignored. Not owned, read only during the call. A
    /// null tile or a size <= 0 traces nothing.
    virtual void vectorize(const unsigned char* tile, int w, int h) = 0;
    /// The traced records, in tracing order; each one's sourceId is the identifier it came
    /// from. The list owns them; the caller may take them out (PiPList API).
    SoGraphicPrimitiveList& getTraced();
    /// How far, in pixels, a simplified outline may stray from the pixel boundary.
    double getTolerance() const { return tolerance; }

  protected:
    /// The identifier bits of a cell.
    static constexpr std::uint32_t ID_MASK = 0x00FFFFFFu;
    /// The value of every cell of the frame around the tile; equal to no identifier, with or
    /// without flag bits above ID_MASK.
    static constexpr std::uint32_t BORDER = 0xFFFFFFFFu;

    /// Fills `cells` with the tile framed by one cell of BORDER on every side: width x height
    /// cells, width = w + 2, row 1 holding the tile's row 0. False, and no cells, when the
    /// tile is null or empty.
    bool loadBordered(const unsigned char* tile, int w, int h);

    /// The bordered image, row-major; kept between calls so that a reused tracer does not
    /// allocate again.
    std::vector<std::uint32_t> cells;
    std::ptrdiff_t width = 0;
    std::ptrdiff_t height = 0;
    SoGraphicPrimitiveList traced;
    double tolerance;
};
