#pragma once

#include <Tessara/math/SbVec2s.h>

#include <map>
#include <mutex>
#include <vector>

/// The process-wide table of marker bitmaps behind SoMarkerSet's static interface. Bitmaps
/// are stored bottom row first, in the bit order they were given in.
class SoMarkerLibrary {
  public:
    struct Marker {
        SbVec2s size;
        std::vector<unsigned char> bytes;
        bool isLSBFirst = true;
    };

    /// The one library of the process, holding the built-in markers from its first use.
    static SoMarkerLibrary& instance();

    bool get(int index, SbVec2s& size, const unsigned char*& bytes, bool& isLSBFirst);
    bool isBitSet(int index, int bitNumber);
    /// Copies the rows; `isUpToDown` rows are flipped so that storage is always bottom-up.
    void add(int index, const SbVec2s& size, const unsigned char* bytes, bool isLSBFirst,
             bool isUpToDown);
    bool remove(int index);
    int getNumDefined();

    static int bytesPerRow(int width) { return (width + 7) / 8; }
    static bool testBit(const Marker& marker, int column, int row);

  private:
    SoMarkerLibrary();
    void addBuiltIns();

    std::mutex mutex_;
    std::map<int, Marker> markers_;
};
