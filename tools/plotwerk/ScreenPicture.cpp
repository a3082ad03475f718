#include "ScreenPicture.h"

#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/math/SbViewportRegion.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>
#include <Tessara/rendering/SoPNGImage.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CommandError.h"

namespace {

short pixelsFor(float millimetres) {
    const float pixels = std::round(millimetres / 25.4f * ScreenPicture::kResolution);
    const short largest = SoOffscreenRenderer::getMaximumResolution()[0];
    if (!(pixels >= 1.0f)) return 1;
    return pixels > largest ? largest : static_cast<short>(pixels);
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

std::string ScreenPicture::encode(SoSeparator* scene, const PrintOptions& options,
                                  const SbVec2f& drawingMm) {
    const SbVec2s size(pixelsFor(drawingMm[0]), pixelsFor(drawingMm[1]));
    SbViewportRegion region(size[0], size[1]);
    region.setPixelsPerInch(kResolution);
    SoOffscreenRenderer renderer(region);
    renderer.setBackgroundColor(options.background ? *options.background : SbColor(1, 1, 1));
    renderer.getGLRenderAction().setSmoothShading(options.smooth);
    if (!renderer.render(scene)) throw CommandError("cannot render the picture offscreen");

    // The picture is opaque: the alpha the renderer clears to says nothing about the scene.
    const unsigned char* rgba = renderer.getBuffer();
    const std::size_t count = static_cast<std::size_t>(size[0]) * static_cast<std::size_t>(size[1]);
    std::vector<unsigned char> rgb(3 * count);
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c) rgb[3 * i + c] = rgba[4 * i + c];
    return pngBytes(SoPNGImage(size, 3, rgb.data()));
}
