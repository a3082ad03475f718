#include "SoMarkerLibrary.h"

#include <Tessara/base/SoDebugError.h>

#include <algorithm>

#include "SoMarkerRaster.h"

SoMarkerLibrary& SoMarkerLibrary::instance() {
    static SoMarkerLibrary library;
    return library;
}

SoMarkerLibrary::SoMarkerLibrary() {
    addBuiltIns();
}

void SoMarkerLibrary::addBuiltIns() {
    int index = 0;
    for (int shape = 0; shape < SoMarkerRaster::NUM_SHAPES; ++shape) {
        for (int n : SoMarkerRaster::kSizes) {
            const std::vector<bool> pixels =
                SoMarkerRaster::draw(static_cast<SoMarkerRaster::Shape>(shape), n);
            Marker marker;
            marker.size.setValue(static_cast<short>(n), static_cast<short>(n));
            marker.isLSBFirst = false;
            const int stride = bytesPerRow(n);
            marker.bytes.assign(static_cast<size_t>(stride) * n, 0);
            for (int row = 0; row < n; ++row)
                for (int col = 0; col < n; ++col)
                    if (pixels[static_cast<size_t>(row) * n + col])
                        marker.bytes[static_cast<size_t>(row) * stride + col / 8] |=
                            static_cast<unsigned char>(0x80 >> (col % 8));
            markers_[index++] = std::move(marker);
        }
    }
}

bool SoMarkerLibrary::testBit(const Marker& marker, int column, int row) {
    const unsigned char byte =
        marker.bytes[static_cast<size_t>(row) * bytesPerRow(marker.size[0]) + column / 8];
    const int shift = marker.isLSBFirst ? column % 8 : 7 - column % 8;
    return ((byte >> shift) & 1) != 0;
}

bool SoMarkerLibrary::get(int index, SbVec2s& size, const unsigned char*& bytes, bool& isLSBFirst) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = markers_.find(index);
    if (it == markers_.end()) return false;
    size = it->second.size;
    bytes = it->second.bytes.data();
    isLSBFirst = it->second.isLSBFirst;
    return true;
}

bool SoMarkerLibrary::isBitSet(int index, int bitNumber) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = markers_.find(index);
    if (it == markers_.end()) return false;
    const Marker& marker = it->second;
    const int width = marker.size[0];
    if (bitNumber < 0 || bitNumber >= width * marker.size[1]) return false;
    return testBit(marker, bitNumber % width, bitNumber / width);
}

void SoMarkerLibrary::add(int index, const SbVec2s& size, const unsigned char* bytes,
                          bool isLSBFirst, bool isUpToDown) {
    if (size[0] <= 0 || size[1] <= 0 || !bytes) {
        SoDebugError::post("SoMarkerSet::addMarker", "Marker %d ignored: size %dx%d%s", index,
                           size[0], size[1], bytes ? "" : " without bitmap");
        return;
    }
    Marker marker;
    marker.size = size;
    marker.isLSBFirst = isLSBFirst;
    const size_t stride = static_cast<size_t>(bytesPerRow(size[0]));
    const size_t rows = static_cast<size_t>(size[1]);
    marker.bytes.assign(bytes, bytes + stride * rows);
    if (isUpToDown) {
        for (size_t row = 0; row < rows; ++row) {
            const unsigned char* source = bytes + (rows - 1 - row) * stride;
            std::copy(source, source + stride, marker.bytes.begin() + row * stride);
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    markers_[index] = std::move(marker);
}

bool SoMarkerLibrary::remove(int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    return markers_.erase(index) > 0;
}

int SoMarkerLibrary::getNumDefined() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(markers_.size());
}
