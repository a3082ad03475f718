#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbVec2s.h>

#include <cstddef>
#include <cstdio>
#include <vector>

/// An 8-bit image in memory (grey, grey+alpha, RGB or RGBA; rows from the bottom up, as
/// OpenGL reads them back and as SoSFImage keeps them) that is written to and read from
/// PNG files.
class SoPNGImage {
  public:
    /// An empty image.
    SoPNGImage() = default;
    /// Copies size[0] x size[1] x numComponents bytes, rows from the bottom up. A size that
    /// is not positive, a component count outside 1..4 or null pixels is reported and
    /// leaves the image empty.
    SoPNGImage(const SbVec2s& size, int numComponents, const unsigned char* pixels);

    /// Same as the constructor; false (image emptied) on bad arguments.
    bool setValue(const SbVec2s& size, int numComponents, const unsigned char* pixels);
    bool isEmpty() const { return pixels_.empty(); }
    const SbVec2s& getSize() const { return size_; }
    int getNumComponents() const { return numComponents_; }
    /// The pixel bytes, rows from the bottom up; null when empty.
    const unsigned char* getPixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }
    /// The bytes of pixel (x, y), y counted from the bottom row; null outside the image.
    const unsigned char* getPixel(int x, int y) const;

    /// Writes an 8-bit PNG with the image's components, top row first. False, with an
    /// SoDebugError message naming the file, when the image is empty or the file cannot be
    /// written (a partial file is removed).
    bool write(const SbString& fileName) const;
    /// The same into an open stream (not closed); `label` names it in messages.
    bool write(FILE* file, const char* label) const;
    /// Reads a PNG file of any colour type and depth, converted to 8 bits per component
    /// and to `numComponents` components (1..4; 0 keeps what the file has, with a palette
    /// becoming RGB or RGBA). False, with a message and the image left unchanged, when the
    /// file cannot be read or decoded.
    bool read(const SbString& fileName, int numComponents = 0);
    /// The same from `size` bytes of PNG data in memory; `label` names them in messages.
    bool read(const void* bytes, size_t size, const char* label, int numComponents = 0);

  private:
    /// Reads once `begin` has opened the PNG data in libpng's image record.
    template <class Begin>
    bool decode(const char* label, int numComponents, const Begin& begin);

    SbVec2s size_{0, 0};
    int numComponents_ = 0;
    std::vector<unsigned char> pixels_;
};
