#include "SoCairoMarker.h"

#include <Tessara/math/SbVec2s.h>
#include <Tessara/nodes/SoMarkerSet.h>

bool SoCairoMarker::load(int markerIndex) {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool isLSBFirst = false;
    if (!SoMarkerSet::getMarker(markerIndex, size, bytes, isLSBFirst) || size[0] <= 0 ||
        size[1] <= 0)
        return false;
    width_ = size[0], height_ = size[1];
    // Rows from the bottom, as the page's y runs.
    for (int row = 0; row < height_; ++row)
        for (int column = 0; column < width_;) {
            int end = column;
            while (end < width_ && SoMarkerSet::isMarkerBitSet(markerIndex, row * width_ + end))
                ++end;
            if (end > column) runs_.push_back({row, column, end - column});
            column = end + 1;
        }
    return true;
}

void SoCairoMarker::addPath(cairo_t* cr, double x, double y, double pixel) const {
    const double left = x - width_ * pixel / 2, bottom = y - height_ * pixel / 2;
    for (const Run& run : runs_)
        cairo_rectangle(cr, left + run.column * pixel, bottom + run.row * pixel, run.length * pixel,
                        pixel);
}
