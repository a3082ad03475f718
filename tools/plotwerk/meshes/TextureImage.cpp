// Textures of downloaded models are PNG or JPEG, at up to several thousand texels a side,
// while the meshes that carry them range from a dozen faces to millions. A vertex therefore
// takes the texture's mean over the area its faces span (the halving whose texels are about
// that size), not the one texel under it: a brick cube's corners take the wall's colour, not
// whichever brick or joint happens to lie there.

#include "meshes/TextureImage.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/rendering/SoPNGImage.h>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>

namespace {

// 8192 x 8192 texels: the largest textures in common use, about 260 MB with the halvings.
constexpr long long maxTexels = 8192LL * 8192LL;

bool isPng(const unsigned char* bytes, size_t size) {
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof(signature) && std::memcmp(bytes, signature, sizeof(signature)) == 0;
}

bool fits(long long width, long long height, const std::string& label) {
    if (width > 0 && height > 0 && width * height <= maxTexels) return true;
    SoDebugError::post("TextureImage", "The texture \"%s\" is %lld x %lld texels: %s",
                       label.c_str(), width, height,
                       width <= 0 || height <= 0 ? "empty" : "too large");
    return false;
}

/// The size a PNG's header states (its first chunk is always IHDR), checked before decoding:
/// a few bytes of compressed zeros can claim a billion texels.
bool pngFits(const unsigned char* bytes, size_t size, const std::string& label) {
    if (size < 24) return true;  // the decoder says what is wrong with it
    auto word = [&](size_t at) {
        return static_cast<long long>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 |
               bytes[at + 3];
    };
    return fits(word(16), word(20), label);
}

bool isJpeg(const unsigned char* bytes, size_t size) {
    return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

/// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
/// back into decodeJpeg, past libjpeg's own C frames only.
struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jumpOut(j_common_ptr info) {
    auto* failure = reinterpret_cast<JpegFailure*>(info->err);
    (*info->err->format_message)(info, failure->message);
    std::longjmp(failure->jump, 1);
}

// Warnings about recoverable damage: the picture is still usable, and a texture is no
// reason to interrupt a print.
void ignoreWarning(j_common_ptr) {}

/// Decodes into `rgb`, the bottom row first. Nothing with a destructor lives in this frame,
/// so a jump back into it skips no cleanup.
bool decodeJpeg(const unsigned char* bytes, size_t size, int& width, int& height,
                std::vector<unsigned char>& rgb, char* error) {
    jpeg_decompress_struct info;
    JpegFailure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jumpOut;
    failure.manager.output_message = ignoreWarning;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(error, JMSG_LENGTH_MAX, "%s", failure.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (static_cast<long long>(info.image_width) * info.image_height > maxTexels) {
        std::snprintf(error, JMSG_LENGTH_MAX, "%u x %u texels: too large", info.image_width,
                      info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    while (info.output_scanline < info.output_height) {
        const size_t fromBottom = info.output_height - 1 - info.output_scanline;
        JSAMPROW row = rgb.data() + fromBottom * static_cast<size_t>(width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

/// The texel index of a coordinate repeated beyond 0 to 1. A vertex at a whole coordinate
/// above 0 lies on a tile's far edge (most meshes span 0 to 1), so it takes the last texel.
int wrapped(float coordinate, int count) {
    if (!std::isfinite(coordinate)) return 0;
    double fraction = coordinate - std::floor(double(coordinate));
    if (fraction == 0.0 && coordinate > 0.0f) fraction = 1.0;
    return std::min(count - 1, static_cast<int>(fraction * count));
}

}  // namespace

bool TextureImage::decode(const unsigned char* bytes, size_t size, const std::string& label) {
    levels_.clear();
    Level base;
    if (isPng(bytes, size)) {
        SoPNGImage png;
        if (!pngFits(bytes, size, label) || !png.read(bytes, size, label.c_str(), 3)) return false;
        base.width = png.getSize()[0];
        base.height = png.getSize()[1];
        base.rgb.assign(png.getPixels(), png.getPixels() + size_t(base.width) * base.height * 3);
        return accept(std::move(base), label);
    }
    if (isJpeg(bytes, size)) {
        char error[JMSG_LENGTH_MAX] = "";
        if (!decodeJpeg(bytes, size, base.width, base.height, base.rgb, error)) {
            SoDebugError::post("TextureImage::decode", "Cannot decode the JPEG texture \"%s\": %s",
                               label.c_str(), error);
            return false;
        }
        return accept(std::move(base), label);
    }
    SoDebugError::post("TextureImage::decode", "The texture \"%s\" is neither PNG nor JPEG",
                       label.c_str());
    return false;
}

bool TextureImage::setTexels(const unsigned char* texels, int width, int height,
                             const std::string& label) {
    levels_.clear();
    if (!fits(width, height, label)) return false;
    Level base;
    base.width = width;
    base.height = height;
    base.rgb.resize(size_t(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const unsigned char* from = texels + size_t(height - 1 - row) * width * 4;
        unsigned char* to = base.rgb.data() + size_t(row) * width * 3;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return accept(std::move(base), label);
}

bool TextureImage::accept(Level base, const std::string& label) {
    if (!fits(base.width, base.height, label)) return false;
    levels_.push_back(std::move(base));
    while (levels_.back().width > 1 || levels_.back().height > 1)
        levels_.push_back(halved(levels_.back()));
    return true;
}

// Each texel of the coarser level is the mean of the two by two it covers; an odd last row or
// column is taken twice.
TextureImage::Level TextureImage::halved(const Level& finer) {
    Level coarser;
    coarser.width = std::max(1, finer.width / 2);
    coarser.height = std::max(1, finer.height / 2);
    coarser.rgb.resize(size_t(coarser.width) * coarser.height * 3);
    for (int y = 0; y < coarser.height; ++y) {
        const int y0 = std::min(2 * y, finer.height - 1),
                  y1 = std::min(2 * y + 1, finer.height - 1);
        for (int x = 0; x < coarser.width; ++x) {
            const int x0 = std::min(2 * x, finer.width - 1),
                      x1 = std::min(2 * x + 1, finer.width - 1);
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int fx, int fy) {
                    return finer.rgb[(size_t(fy) * finer.width + fx) * 3 + c];
                };
                const int sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
                coarser.rgb[(size_t(y) * coarser.width + x) * 3 + c] =
                    static_cast<unsigned char>((sum + 2) / 4);
            }
        }
    }
    return coarser;
}

SbColor TextureImage::colorAt(float u, float v, float footprint) const {
    if (levels_.empty()) return SbColor(0, 0, 0);
    // Half the footprint: a vertex stands for the area half-way to its neighbours.
    size_t level = 0;
    for (float side = 4.0f; level + 1 < levels_.size() && side <= footprint; side *= 2.0f) ++level;
    const Level& texels = levels_[level];
    const int x = wrapped(u, texels.width), y = wrapped(v, texels.height);
    const unsigned char* rgb = &texels.rgb[(size_t(y) * texels.width + x) * 3];
    return SbColor(rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f);
}
