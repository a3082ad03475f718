#pragma once

#include <Tessara/math/SbColor.h>

/// The 256 colours a backend without a pen table draws with: a cube of three bits of red,
/// three of green and two of blue (blue is the colour the eye resolves least), index
/// rrrgggbb.
class SoColorCube {
  public:
    /// The index of the cube colour nearest below a colour given in bytes 0..255.
    static int indexOf(int red, int green, int blue);
    /// The same for a colour of components 0..1, each taken to a byte as SoColorByte does.
    static int indexOf(const SbColor& colour);
    /// The colour of index k (0..255) in bytes: each field's value spread over 0..255.
    static void colorOf(int k, int rgb[3]);
};
