#include "output/ScreenPicture.h"

#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>
#include <Tessara/rendering/SoPNGImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CommandError.h"
#include "views/ViewSheet.h"

namespace {

short pixelsFor(float millimetres) {
    const float pixels = std::round(millimetres / 25.4f * ScreenPicture::kResolution);
    const short largest = SoOffscreenRenderer::getMaximumResolution()[0];
    if (!(pixels >= 1.0f)) return 1;
    return pixels > largest ? largest : static_cast<short>(pixels);
}

int pixelOf(float millimetres) {
    return int(std::lround(millimetres / 25.4f * ScreenPicture::kResolution));
}

// The rendered RGBA pixels, rows from the bottom. The picture is opaque: the alpha the
// renderer clears to says nothing about the scene.
std::vector<unsigned char> render(SoSeparator* scene, const PrintOptions& options,
                                  const SbVec2s& size) {
    SbViewportRegion region(size[0], size[1]);
    region.setPixelsPerInch(ScreenPicture::kResolution);
    SoOffscreenRenderer renderer(region);
    renderer.setBackgroundColor(options.background ? *options.background : SbColor(1, 1, 1));
    renderer.getGLRenderAction().setSmoothShading(options.smooth);
    if (!renderer.render(scene)) throw CommandError("cannot render the picture offscreen");
    const unsigned char* rgba = renderer.getBuffer();
    return std::vector<unsigned char>(rgba, rgba + 4 * std::size_t(size[0]) * size[1]);
}

// Encoded in memory, so that writing the output fails only where the system says why.
std::string pngBytes(const SoPNGImage& picture) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    if (!memory) throw CommandError("cannot encode the picture");
    const bool encoded = picture.write(memory, "the picture");
    const bool closed = std::fclose(memory) == 0;
    std::string bytes = encoded && closed ? std::string(buffer, size) : std::string();
    std::free(buffer);
    if (bytes.empty()) throw CommandError("cannot encode the picture");
    return bytes;
}

}  // namespace

// Each part of the sheet is rendered on its own and copied into its place; its edges are
// where its origin and far corner fall, so that neighbours meet without a gap.
std::string ScreenPicture::encode(SoSeparator* scene, const PrintOptions& options,
                                  const SbVec2f& drawingMm) {
    const SbVec2s size(pixelsFor(drawingMm[0]), pixelsFor(drawingMm[1]));
    std::vector<unsigned char> rgb(3 * std::size_t(size[0]) * std::size_t(size[1]));
    // The screen draws font sizes in points.
    const float point = 25.4f / 72.0f;
    for (const ViewSheet::Part& part : ViewSheet::layout(scene, options, drawingMm, point)) {
        int from[2], to[2];
        for (int axis = 0; axis < 2; ++axis) {
            from[axis] = std::min(pixelOf(part.origin[axis]), size[axis] - 1);
            to[axis] = std::clamp(pixelOf(part.origin[axis] + part.size[axis]), from[axis] + 1,
                                  int(size[axis]));
        }
        const SbVec2s partSize(short(to[0] - from[0]), short(to[1] - from[1]));
        const std::vector<unsigned char> rgba = render(part.scene.get(), options, partSize);
        for (int y = 0; y < partSize[1]; ++y)
            for (int x = 0; x < partSize[0]; ++x)
                for (int c = 0; c < 3; ++c)
                    rgb[3 * (std::size_t(from[1] + y) * size[0] + from[0] + x) + c] =
                        rgba[4 * (std::size_t(y) * partSize[0] + x) + c];
    }
    return pngBytes(SoPNGImage(size, 3, rgb.data()));
}
