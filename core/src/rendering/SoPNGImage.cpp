// PNG files through libpng's simplified interface: it does its own error recovery (no
// setjmp in our frames), converts any colour type and depth to the 8-bit layout asked
// for, and walks the rows bottom-up when given a negative stride, which is exactly the
// order OpenGL and SoSFImage keep them in.

#include <Tessara/base/SoDebugError.h>
#include <Tessara/rendering/SoPNGImage.h>
#include <png.h>

#include <cstring>

namespace {

png_uint_32 formatFor(int numComponents) {
    switch (numComponents) {
        case 1:
            return PNG_FORMAT_GRAY;
        case 2:
            return PNG_FORMAT_GA;
        case 3:
            return PNG_FORMAT_RGB;
        default:
            return PNG_FORMAT_RGBA;
    }
}

/// Components per row: what libpng's stride counts.
png_int_32 rowStride(const SbVec2s& size, int numComponents) {
    return static_cast<png_int_32>(size[0]) * numComponents;
}

}  // namespace

SoPNGImage::SoPNGImage(const SbVec2s& size, int numComponents, const unsigned char* pixels) {
    setValue(size, numComponents, pixels);
}

bool SoPNGImage::setValue(const SbVec2s& size, int numComponents, const unsigned char* pixels) {
    pixels_.clear();
    size_.setValue(0, 0);
    numComponents_ = 0;
    if (size[0] <= 0 || size[1] <= 0 || numComponents < 1 || numComponents > 4 ||
        pixels == nullptr) {
        SoDebugError::post("SoPNGImage::setValue",
                           "Bad image: %d x %d pixels of %d components%s; the image is empty",
                           size[0], size[1], numComponents, pixels ? "" : ", no pixel data");
        return false;
    }
    const size_t bytes = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]) *
                         static_cast<size_t>(numComponents);
    pixels_.assign(pixels, pixels + bytes);
    size_ = size;
    numComponents_ = numComponents;
    return true;
}

const unsigned char* SoPNGImage::getPixel(int x, int y) const {
    if (pixels_.empty() || x < 0 || y < 0 || x >= size_[0] || y >= size_[1]) return nullptr;
    const size_t index =
        static_cast<size_t>(y) * static_cast<size_t>(size_[0]) + static_cast<size_t>(x);
    return pixels_.data() + index * static_cast<size_t>(numComponents_);
}

bool SoPNGImage::write(const SbString& fileName) const {
    if (pixels_.empty()) {
        SoDebugError::post("SoPNGImage::write", "No image to write to \"%s\"",
                           fileName.getString());
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size_[0]);
    image.height = static_cast<png_uint_32>(size_[1]);
    image.format = formatFor(numComponents_);
    // Negative stride: our first row is the bottom one, the file's is the top one.
    if (!png_image_write_to_file(&image, fileName.getString(), 0, pixels_.data(),
                                 -rowStride(size_, numComponents_), nullptr)) {
        SoDebugError::post("SoPNGImage::write", "Cannot write \"%s\": %s", fileName.getString(),
                           image.message);
        return false;
    }
    return true;
}

bool SoPNGImage::write(FILE* file, const char* label) const {
    if (pixels_.empty() || !file) {
        SoDebugError::post("SoPNGImage::write", "No image or no stream to write to \"%s\"", label);
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size_[0]);
    image.height = static_cast<png_uint_32>(size_[1]);
    image.format = formatFor(numComponents_);
    if (!png_image_write_to_stdio(&image, file, 0, pixels_.data(),
                                  -rowStride(size_, numComponents_), nullptr)) {
        SoDebugError::post("SoPNGImage::write", "Cannot write \"%s\": %s", label, image.message);
        return false;
    }
    return true;
}

bool SoPNGImage::read(const SbString& fileName, int numComponents) {
    return decode(fileName.getString(), numComponents, [&](png_image& image) {
        return png_image_begin_read_from_file(&image, fileName.getString()) != 0;
    });
}

bool SoPNGImage::read(const void* bytes, size_t size, const char* label, int numComponents) {
    return decode(label, numComponents, [&](png_image& image) {
        return png_image_begin_read_from_memory(&image, bytes, size) != 0;
    });
}

template <class Begin>
bool SoPNGImage::decode(const char* label, int numComponents, const Begin& begin) {
    if (numComponents < 0 || numComponents > 4) {
        SoDebugError::post("SoPNGImage::read", "Bad component count %d for \"%s\"", numComponents,
                           label);
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!begin(image)) {
        SoDebugError::post("SoPNGImage::read", "Cannot read \"%s\": %s", label, image.message);
        return false;
    }
    const int components = numComponents > 0
                               ? numComponents
                               : static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(image.format));
    if (image.width > 32767 || image.height > 32767) {
        SoDebugError::post("SoPNGImage::read", "\"%s\" is %u x %u pixels: too large", label,
                           image.width, image.height);
        png_image_free(&image);
        return false;
    }
    image.format = formatFor(components);
    const SbVec2s size(static_cast<short>(image.width), static_cast<short>(image.height));
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), -rowStride(size, components),
                               nullptr)) {
        SoDebugError::post("SoPNGImage::read", "Cannot decode \"%s\": %s", label, image.message);
        return false;
    }
    pixels_.swap(pixels);
    size_ = size;
    numComponents_ = components;
    return true;
}
