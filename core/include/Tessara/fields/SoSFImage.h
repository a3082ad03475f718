#pragma once

#include <Tessara/fields/SoField.h>
#include <Tessara/math/SbVec2s.h>

#include <vector>

/// A field holding a raster image: width × height pixels of 1 to 4 bytes (grey,
/// grey+alpha, RGB, RGBA), rows from the bottom up.
class SoSFImage : public SoField {
  public:
    /// The pixel bytes (null when empty), with size and components out.
    const unsigned char* getValue(SbVec2s& size, int& numComponents) const;
    /// Copies size[0] × size[1] × numComponents bytes; a null `bytes` gives a black image.
    void setValue(const SbVec2s& size, int numComponents, const unsigned char* bytes);
    SbVec2s getSize() const { return size_; }
    int getNumComponents() const { return numComponents_; }
    bool operator==(const SoSFImage& other) const;

    /// "width height components" then one integer per pixel, its bytes packed big-endian.
    bool read(SoInput* in) override;
    void write(SoOutput* out) const override;

  private:
    SbVec2s size_{0, 0};
    int numComponents_ = 0;
    std::vector<unsigned char> bytes_;
};
