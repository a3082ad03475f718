#pragma once

#include <Tessara/math/SbVec2s.h>
#include <Tessara/nodes/SoPointSet.h>

/// A point set drawn with bitmap markers: each point takes the marker of its markerIndex
/// (past the end the list starts again). The marker bitmaps live in a process-wide library that
/// starts with the built-in shapes below and can be extended or changed by the application.
class SoMarkerSet : public SoPointSet {
    SO_NODE_HEADER(SoMarkerSet);

  public:
    /// The built-in markers: every shape in 5x5, 7x7 and 9x9 pixels.
    // clang-format off
    enum MarkerType {
        PLUS_5_5 = 0, PLUS_7_7 = 1, PLUS_9_9 = 2,
        CROSS_5_5 = 3, CROSS_7_7 = 4, CROSS_9_9 = 5,
        STAR_5_5 = 6, STAR_7_7 = 7, STAR_9_9 = 8,
        CIRCLE_LINE_5_5 = 9, CIRCLE_LINE_7_7 = 10, CIRCLE_LINE_9_9 = 11,
        CIRCLE_FILLED_5_5 = 12, CIRCLE_FILLED_7_7 = 13, CIRCLE_FILLED_9_9 = 14,
        SQUARE_LINE_5_5 = 15, SQUARE_LINE_7_7 = 16, SQUARE_LINE_9_9 = 17,
        SQUARE_FILLED_5_5 = 18, SQUARE_FILLED_7_7 = 19, SQUARE_FILLED_9_9 = 20,
        DIAMOND_LINE_5_5 = 21, DIAMOND_LINE_7_7 = 22, DIAMOND_LINE_9_9 = 23,
        DIAMOND_FILLED_5_5 = 24, DIAMOND_FILLED_7_7 = 25, DIAMOND_FILLED_9_9 = 26,
        TRIANGLE_LINE_5_5 = 27, TRIANGLE_LINE_7_7 = 28, TRIANGLE_LINE_9_9 = 29,
        TRIANGLE_FILLED_5_5 = 30, TRIANGLE_FILLED_7_7 = 31, TRIANGLE_FILLED_9_9 = 32,
        HOURGLASS_LINE_5_5 = 33, HOURGLASS_LINE_7_7 = 34, HOURGLASS_LINE_9_9 = 35,
        HOURGLASS_FILLED_5_5 = 36, HOURGLASS_FILLED_7_7 = 37, HOURGLASS_FILLED_9_9 = 38,
        SATELLITE_LINE_5_5 = 39, SATELLITE_LINE_7_7 = 40, SATELLITE_LINE_9_9 = 41,
        SATELLITE_FILLED_5_5 = 42, SATELLITE_FILLED_7_7 = 43, SATELLITE_FILLED_9_9 = 44,
        NUM_MARKERS = 45
    };
    // clang-format on

    SoMarkerSet();

    /// The marker of each point, in order; past the end the list starts again.
    SoMFInt32 markerIndex{0};

    /// The bitmap of a marker: `size` is (width, height) in pixels, `bytes` holds the rows,
    /// bottom row first, each ceil(width / 8) bytes long, and `isLSBFirst` tells whether the
    /// leftmost pixel of a byte is its lowest bit. False when the index is not defined.
    /// The bytes stay valid until that marker is replaced or removed.
    static bool getMarker(int markerIndex, SbVec2s& size, const unsigned char*& bytes,
                          bool& isLSBFirst);
    /// Whether pixel `bitNumber` = row * width + column (row 0 at the bottom, column 0 at
    /// the left) of the marker is set; false for undefined markers and bits outside it.
    static bool isMarkerBitSet(int markerIndex, int bitNumber);
    /// Defines (or replaces) a marker from rows laid out as getMarker() describes them;
    /// `isUpToDown` says the first row given is the top one.
    static void addMarker(int markerIndex, const SbVec2s& size, const unsigned char* bytes,
                          bool isLSBFirst = true, bool isUpToDown = false);
    /// Forgets a marker; false when it was not defined.
    static bool removeMarker(int markerIndex);
    static int getNumDefinedMarkers();

  protected:
    ~SoMarkerSet() override;
};
