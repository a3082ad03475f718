#include <Tessara/fields/SoFieldCodec.h>
#include <Tessara/fields/SoSFImage.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>

#include <algorithm>
#include <cstdio>

const unsigned char* SoSFImage::getValue(SbVec2s& size, int& numComponents) const {
    size = size_;
    numComponents = numComponents_;
    return bytes_.empty() ? nullptr : bytes_.data();
}

void SoSFImage::setValue(const SbVec2s& size, int numComponents, const unsigned char* bytes) {
    const int w = std::max<int>(0, size[0]);
    const int h = std::max<int>(0, size[1]);
    const int nc = std::clamp(numComponents, 0, 4);
    size_ = SbVec2s(static_cast<short>(w), static_cast<short>(h));
    numComponents_ = nc;
    const size_t count = static_cast<size_t>(w) * h * nc;
    if (bytes)
        bytes_.assign(bytes, bytes + count);
    else
        bytes_.assign(count, 0);
    valueChanged();
}

bool SoSFImage::operator==(const SoSFImage& other) const {
    return size_ == other.size_ && numComponents_ == other.numComponents_ && bytes_ == other.bytes_;
}

bool SoSFImage::read(SoInput* in) {
    int32_t w = 0, h = 0, nc = 0;
    if (!SoFieldCodec::read(in, w) || !SoFieldCodec::read(in, h) || !SoFieldCodec::read(in, nc))
        return false;
    if (w < 0 || h < 0 || w > 32767 || h > 32767 || nc < 0 || nc > 4) {
        in->postError("SoSFImage::read", "Invalid image size %d x %d with %d components", w, h, nc);
        return false;
    }
    // Grown as pixels arrive: a file that claims a huge image but holds few pixels must not
    // allocate gigabytes before it is found short.
    const size_t count = static_cast<size_t>(w) * h * nc;
    std::vector<unsigned char> bytes;
    bytes.reserve(std::min<size_t>(count, 1 << 16));
    for (size_t pixel = 0; pixel < static_cast<size_t>(w) * h; ++pixel) {
        uint32_t packed = 0;
        if (!SoFieldCodec::read(in, packed)) return false;
        for (int c = 0; c < nc; ++c)
            bytes.push_back(static_cast<unsigned char>(packed >> (8 * (nc - 1 - c))));
    }
    size_ = SbVec2s(static_cast<short>(w), static_cast<short>(h));
    numComponents_ = nc;
    bytes_.swap(bytes);
    valueChanged();
    return true;
}

void SoSFImage::write(SoOutput* out) const {
    SoFieldCodec::write(out, static_cast<int32_t>(size_[0]));
    out->write(' ');
    SoFieldCodec::write(out, static_cast<int32_t>(size_[1]));
    out->write(' ');
    SoFieldCodec::write(out, static_cast<int32_t>(numComponents_));
    const size_t pixels = static_cast<size_t>(size_[0]) * size_[1];
    char text[16];
    for (size_t pixel = 0; pixel < pixels; ++pixel) {
        uint32_t packed = 0;
        for (int c = 0; c < numComponents_; ++c)
            packed = (packed << 8) | bytes_[pixel * numComponents_ + c];
        std::snprintf(text, sizeof(text), "0x%0*X", 2 * numComponents_, packed);
        if (pixel % 8 == 0)
            out->newLine();
        else
            out->write(" ");
        out->write(text);
    }
}
