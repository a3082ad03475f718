#pragma once

// Scenes and pixel checks shared by the rendering tests. Scenes are seen through an
// orthographic camera whose view is x, y in [-1, 1] on a square viewport, so that on a
// 64 x 64 buffer one unit is 32 pixels and pixel column c covers x in [c/32 - 1, (c+1)/32 - 1].

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/ReadScene.h"

namespace rendertest {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
};

inline std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

/// Pixel (x, y) of the renderer's buffer, y counted from the bottom row.
inline Rgba pixelAt(const SoOffscreenRenderer& renderer, int x, int y) {
    const SbVec2s size = renderer.getBufferSize();
    const unsigned char* p = renderer.getBuffer() + (static_cast<size_t>(y) * size[0] + x) * 4;
    return Rgba{p[0], p[1], p[2], p[3]};
}

/// Whether each of r, g, b is within `tolerance` of the expected value.
inline bool near(const Rgba& c, int r, int g, int b, int tolerance = 1) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}

/// The pixels for which a test holds: their positions y * width + x in order, and their
/// bounds {minX, minY, maxX, maxY}, all -1 when there are none.
struct Pixels {
    std::vector<int> at;
    std::array<int, 4> box{-1, -1, -1, -1};
};

inline Pixels pixelsWhere(const SoOffscreenRenderer& renderer,
                          const std::function<bool(Rgba)>& test) {
    const SbVec2s size = renderer.getBufferSize();
    Pixels found;
    for (int y = 0; y < size[1]; ++y) {
        for (int x = 0; x < size[0]; ++x) {
            if (!test(pixelAt(renderer, x, y))) continue;
            found.box = found.at.empty()
                            ? std::array<int, 4>{x, y, x, y}
                            : std::array<int, 4>{std::min(found.box[0], x), found.box[1],
                                                 std::max(found.box[2], x), y};
            found.at.push_back(y * size[0] + x);
        }
    }
    return found;
}

inline bool isBlack(Rgba c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

/// The x (or y) of the middle of pixel column (or row) `index` on a 64-pixel side.
inline float pixelCentre(int index) {
    return (index + 0.5f) / 32.0f - 1.0f;
}

/// The camera described above, looking down -z from z = 5, and flat unlit colours.
const std::string kCamera =
    "OrthographicCamera { position 0 0 5  height 2  nearDistance 1  farDistance 10 } ";
const std::string kUnlit = "LightModel { model BASE_COLOR } ";

/// A rectangle in the plane z, counterclockwise seen from +z (clockwise with `clockwise`).
inline std::string rectangle(float x0, float y0, float x1, float y1, float z = 0.0f,
                             bool clockwise = false) {
    const auto p = [z](float x, float y) {
        return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + ", ";
    };
    const std::string corners = clockwise ? p(x0, y0) + p(x0, y1) + p(x1, y1) + p(x1, y0)
                                          : p(x0, y0) + p(x1, y0) + p(x1, y1) + p(x0, y1);
    return "Separator { Coordinate3 { point [ " + corners + "] } FaceSet { } } ";
}

const std::string kWhite = kUnlit + "BaseColor { rgb 1 1 1 } ";

inline bool isWhite(Rgba c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}

/// A white polyline through the x of `xs` along the middle of row 32, after `style`.
inline std::string rowLine(const std::string& style, std::initializer_list<float> xs) {
    std::string points;
    for (float x : xs) points += std::to_string(x) + " " + std::to_string(pixelCentre(32)) + " 0, ";
    return kCamera + kWhite + style + "Coordinate3 { point [ " + points + "] } LineSet { }";
}

/// Points in the middle of pixels (20, 20), (44, 40) and as many more as given, after
/// `before`, then `node`.
inline std::string twoPoints(const std::string& before, const std::string& node,
                             std::initializer_list<std::pair<int, int>> more = {}) {
    std::vector<std::pair<int, int>> pixels = {{20, 20}, {44, 40}};
    pixels.insert(pixels.end(), more);
    std::string points;
    for (const auto& [x, y] : pixels)
        points += std::to_string(pixelCentre(x)) + " " + std::to_string(pixelCentre(y)) + " 0, ";
    return kCamera + before + "Coordinate3 { point [ " + points + "] } " + node;
}

/// The database initialised around each test.
class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }

  public:
    /// Renders the scene of `body` on `renderer`.
    static void render(SoOffscreenRenderer& renderer, const std::string& body) {
        SoSeparator* root = readScene(body);
        ASSERT_NE(root, nullptr) << body;
        EXPECT_TRUE(renderer.render(root));
        root->unref();
    }
    /// The same on a new renderer of `width` x `height` pixels.
    static std::unique_ptr<SoOffscreenRenderer> rendered(const std::string& body, short width = 64,
                                                         short height = 64) {
        auto renderer = std::make_unique<SoOffscreenRenderer>(SbViewportRegion(width, height));
        render(*renderer, body);
        return renderer;
    }
};

}  // namespace rendertest
