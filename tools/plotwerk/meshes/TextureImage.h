#pragma once

#include <Tessara/math/SbColor.h>

#include <cstddef>
#include <string>
#include <vector>

/// A colour texture of an imported mesh, kept with its ever coarser halvings, so that a vertex
/// can take the texture's mean over about the area its faces cover.
class TextureImage {
  public:
    /// Decodes PNG or JPEG data, told apart by their signatures. False, with a message that
    /// names `label`, when the data is neither, cannot be decoded or is too large; the image
    /// is then empty.
    bool decode(const unsigned char* bytes, size_t size, const std::string& label);
    /// Takes uncompressed texels, four bytes each in blue, green, red, alpha order, the top
    /// row first (the layout importers hand over). False, with a message, for a bad size.
    bool setTexels(const unsigned char* texels, int width, int height, const std::string& label);

    bool isEmpty() const { return levels_.empty(); }
    int getWidth() const { return levels_.empty() ? 0 : levels_[0].width; }
    int getHeight() const { return levels_.empty() ? 0 : levels_[0].height; }

    /// The colour at (u, v), v counted up from the bottom row and the texture repeated beyond
    /// 0 to 1, as the mean over a square about half of `footprint` texels on a side: the
    /// footprint is the distance to the neighbouring vertices. Black when empty; a
    /// coordinate that is not finite counts as 0.
    SbColor colorAt(float u, float v, float footprint) const;

  private:
    /// Red, green and blue bytes, the bottom row first.
    struct Level {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> rgb;
    };

    bool accept(Level base, const std::string& label);
    static Level halved(const Level& finer);

    std::vector<Level> levels_;
};
