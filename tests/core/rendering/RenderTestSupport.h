#pragma once

// Scenes and pixel checks shared by the rendering tests. Scenes are seen through an
// orthographic camera whose view is x, y in [-1, 1] on a square viewport, so that on a
// 64 x 64 buffer one unit is 32 pixels and pixel column c covers x in [c/32 - 1, (c+1)/32 - 1].

#include <Tessara/base/SoDB.h>
#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

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

/// Number of pixels for which `test` holds.
inline int countPixels(const SoOffscreenRenderer& renderer, const std::function<bool(Rgba)>& test) {
    const SbVec2s size = renderer.getBufferSize();
    int count = 0;
    for (int y = 0; y < size[1]; ++y)
        for (int x = 0; x < size[0]; ++x) count += test(pixelAt(renderer, x, y)) ? 1 : 0;
    return count;
}

inline bool isBlack(Rgba c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

/// The x (or y) of the middle of pixel column (or row) `index` on a 64-pixel side.
inline float pixelCentre(int index) {
    return (index + 0.5f) / 32.0f - 1.0f;
}

/// The camera described above, looking down -z from z = 5.
inline SoOrthographicCamera* addCamera(SoGroup* root) {
    auto* camera = new SoOrthographicCamera;
    camera->position.setValue(SbVec3f(0, 0, 5));
    camera->height.setValue(2.0f);
    camera->nearDistance.setValue(1.0f);
    camera->farDistance.setValue(10.0f);
    root->addChild(camera);
    return camera;
}

/// A rectangle in the plane z, counterclockwise seen from +z (clockwise with `clockwise`).
inline SoSeparator* rectangle(float x0, float y0, float x1, float y1, float z = 0.0f,
                              bool clockwise = false) {
    auto* group = new SoSeparator;
    auto* coords = new SoCoordinate3;
    if (clockwise)
        coords->point.setValues(
            {SbVec3f(x0, y0, z), SbVec3f(x0, y1, z), SbVec3f(x1, y1, z), SbVec3f(x1, y0, z)});
    else
        coords->point.setValues(
            {SbVec3f(x0, y0, z), SbVec3f(x1, y0, z), SbVec3f(x1, y1, z), SbVec3f(x0, y1, z)});
    group->addChild(coords);
    group->addChild(new SoFaceSet);
    return group;
}

/// Flat colour, no lighting, for the nodes that follow.
inline void addUnlitColor(SoGroup* root, const SbColor& color) {
    auto* model = new SoLightModel;
    model->model.setValue(SoLightModel::BASE_COLOR);
    root->addChild(model);
    auto* base = new SoBaseColor;
    base->rgb.setValue(color);
    root->addChild(base);
}

/// A scene root that lives for one test, with the database initialised around it.
class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }

    /// Renders `root` on a fresh size x size renderer with a black background.
    void renderRoot(SoOffscreenRenderer& renderer) { ASSERT_TRUE(renderer.render(root)); }

    SoSeparator* root = nullptr;
};

/// A path for a scratch file, removed again with this object.
class ScratchFile {
  public:
    explicit ScratchFile(const char* suffix) {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/tessara_render_XXXXXX";
        const int fd = mkstemp(&pattern[0]);
        if (fd >= 0) close(fd);
        std::remove(pattern.c_str());
        path_ = pattern + suffix;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace rendertest
