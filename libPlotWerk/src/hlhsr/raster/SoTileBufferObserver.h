#pragma once

#include <Tessara/math/SbVec2s.h>

/// Receives the identifier image of each tile and pass that SoPrimitivesRenderer reads back.
class SoTileBufferObserver {
  public:
    virtual ~SoTileBufferObserver() = default;
    /// buffer: size[0] x size[1] RGBA pixels, rows from the bottom of the tile up, valid only
    /// during the call. origin: the tile's place in the whole raster, in pixels, x from the
    /// left and y from the top. pass: the index of the renderer's pass filter.
    virtual void tileRendered(const unsigned char* buffer, const SbVec2s& origin,
                              const SbVec2s& size, int pass) = 0;
};
