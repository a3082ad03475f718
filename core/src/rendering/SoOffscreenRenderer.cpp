// The offscreen target: an OSMesa context drawing into a buffer we own.
//
// OSMesa renders with llvmpipe in software and binds a context to the calling thread
// together with a plain memory buffer, so no display or window system is involved. Rows
// are kept bottom-up (OSMesa's default), the order glReadPixels uses, so getBuffer() and a
// read-back agree byte for byte.
//
// The context is made once per renderer and only rebound when the buffer had to be
// reallocated (a new window size): rebinding is cheap, but Mesa keeps a small framebuffer
// record for every context bound, so contexts are not recreated needlessly.

#include <GL/osmesa.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>
#include <Tessara/rendering/SoPNGImage.h>

#include <algorithm>

#include "rendering/SoGLFunctions.h"

namespace {

OSMesaContext createContext() {
    // clang-format off
    const int attributes[] = {OSMESA_FORMAT, OSMESA_RGBA,
                              OSMESA_DEPTH_BITS, 24,
                              OSMESA_STENCIL_BITS, 8,
                              OSMESA_ACCUM_BITS, 0,
                              OSMESA_PROFILE, OSMESA_COMPAT_PROFILE,
                              0};
    // clang-format on
    return OSMesaCreateContextAttribs(attributes, nullptr);
}

/// What is current on this thread, to be put back after a temporary context.
struct CurrentBinding {
    OSMesaContext context = nullptr;
    void* buffer = nullptr;
    GLint width = 0, height = 0;

    static CurrentBinding save() {
        CurrentBinding binding;
        binding.context = OSMesaGetCurrentContext();
        GLint format = 0;
        if (binding.context != nullptr &&
            !OSMesaGetColorBuffer(binding.context, &binding.width, &binding.height, &format,
                                  &binding.buffer)) {
            binding.context = nullptr;
        }
        return binding;
    }
    void restore() const {
        if (context != nullptr)
            OSMesaMakeCurrent(context, buffer, GL_UNSIGNED_BYTE, width, height);
        else
            OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    }
};

SbVec2s queryMaximumResolution() {
    const CurrentBinding previous = CurrentBinding::save();
    OSMesaContext context = createContext();
    if (context == nullptr) return SbVec2s(0, 0);
    unsigned char pixel[4] = {0, 0, 0, 0};
    GLint width = 0, height = 0;
    GLint viewport[2] = {0, 0};
    const SoGLFunctions& gl = SoGLFunctions::get();
    if (OSMesaMakeCurrent(context, pixel, GL_UNSIGNED_BYTE, 1, 1) && gl.isComplete()) {
        OSMesaGetIntegerv(OSMESA_MAX_WIDTH, &width);
        OSMesaGetIntegerv(OSMESA_MAX_HEIGHT, &height);
        gl.GetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    }
    previous.restore();
    OSMesaDestroyContext(context);
    const auto limit = [](GLint a, GLint b) {
        return static_cast<short>(std::clamp(std::min(a, b), 0, 32767));
    };
    return SbVec2s(limit(width, viewport[0]), limit(height, viewport[1]));
}

}  // namespace

SoOffscreenRenderer::SoOffscreenRenderer(const SbViewportRegion& region)
    : region_(region), action_(region) {}

SoOffscreenRenderer::~SoOffscreenRenderer() {
    releaseContext();
}

void SoOffscreenRenderer::releaseContext() {
    if (context_ == nullptr) return;
    auto* context = static_cast<OSMesaContext>(context_);
    // A thread must not be left bound to a context that no longer exists.
    if (OSMesaGetCurrentContext() == context) OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(context);
    context_ = nullptr;
}

void SoOffscreenRenderer::setViewportRegion(const SbViewportRegion& region) {
    region_ = region;
    action_.setViewportRegion(region);
}

SbVec2s SoOffscreenRenderer::getMaximumResolution() {
    static const SbVec2s maximum = queryMaximumResolution();
    return maximum;
}

SoOffscreenRenderer::GLProc SoOffscreenRenderer::getProcAddress(const char* name) {
    if (name == nullptr) return nullptr;
    return reinterpret_cast<GLProc>(OSMesaGetProcAddress(name));
}

bool SoOffscreenRenderer::ensureContext() {
    if (context_ != nullptr) return true;
    if (!SoGLFunctions::get().isComplete()) {
        SoDebugError::post("SoOffscreenRenderer::makeCurrent",
                           "The OpenGL library lacks %s: no offscreen rendering",
                           SoGLFunctions::get().getMissing());
        return false;
    }
    context_ = createContext();
    if (context_ == nullptr) {
        SoDebugError::post("SoOffscreenRenderer::makeCurrent",
                           "OSMesa cannot create an RGBA context with depth and stencil");
        return false;
    }
    return true;
}

bool SoOffscreenRenderer::isBoundToThisThread() const {
    auto* context = static_cast<OSMesaContext>(context_);
    if (context == nullptr || OSMesaGetCurrentContext() != context) return false;
    GLint width = 0, height = 0, format = 0;
    void* buffer = nullptr;
    return OSMesaGetColorBuffer(context, &width, &height, &format, &buffer) &&
           buffer == buffer_.data() && width == bufferSize_[0] && height == bufferSize_[1];
}

bool SoOffscreenRenderer::makeCurrent() {
    const SbVec2s size = region_.getWindowSize();
    const SbVec2s maximum = getMaximumResolution();
    if (size[0] > maximum[0] || size[1] > maximum[1]) {
        SoDebugError::post("SoOffscreenRenderer::makeCurrent",
                           "A %d x %d buffer is larger than the %d x %d OSMesa can draw into",
                           size[0], size[1], maximum[0], maximum[1]);
        return false;
    }
    if (!ensureContext()) return false;
    if (size != bufferSize_) {
        buffer_.assign(static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]) * 4, 0);
        bufferSize_ = size;
    }
    if (isBoundToThisThread()) return true;
    if (!OSMesaMakeCurrent(static_cast<OSMesaContext>(context_), buffer_.data(), GL_UNSIGNED_BYTE,
                           size[0], size[1])) {
        SoDebugError::post("SoOffscreenRenderer::makeCurrent",
                           "OSMesa cannot bind its context to a %d x %d buffer", size[0], size[1]);
        return false;
    }
    return true;
}

bool SoOffscreenRenderer::beginRender() {
    if (!makeCurrent()) return false;
    const SoGLFunctions& gl = SoGLFunctions::get();
    // Whatever masks or scissor one's own drawing left behind, the whole buffer is cleared.
    gl.PushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                  GL_SCISSOR_BIT);
    gl.Disable(GL_SCISSOR_TEST);
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.DepthMask(GL_TRUE);
    gl.StencilMask(~0u);
    gl.ClearColor(background_[0], background_[1], background_[2], 1.0f);
    gl.ClearDepth(1.0);
    gl.ClearStencil(0);
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gl.PopAttrib();
    return true;
}

bool SoOffscreenRenderer::render(SoNode* scene) {
    if (scene == nullptr) {
        SoDebugError::post("SoOffscreenRenderer::render", "No scene to render");
        return false;
    }
    if (!beginRender()) return false;
    action_.apply(scene);
    SoGLFunctions::get().Finish();
    return true;
}

bool SoOffscreenRenderer::render(SoPath* path) {
    if (path == nullptr) {
        SoDebugError::post("SoOffscreenRenderer::render", "No path to render");
        return false;
    }
    if (!beginRender()) return false;
    action_.apply(path);
    SoGLFunctions::get().Finish();
    return true;
}

const unsigned char* SoOffscreenRenderer::getBuffer() const {
    return buffer_.empty() ? nullptr : buffer_.data();
}

bool SoOffscreenRenderer::writeToPNG(const SbString& fileName, bool withAlpha) const {
    if (buffer_.empty()) {
        SoDebugError::post("SoOffscreenRenderer::writeToPNG",
                           "Nothing has been drawn yet: \"%s\" is not written",
                           fileName.getString());
        return false;
    }
    if (withAlpha) return SoPNGImage(bufferSize_, 4, buffer_.data()).write(fileName);
    std::vector<unsigned char> rgb(buffer_.size() / 4 * 3);
    for (size_t from = 0, to = 0; from < buffer_.size(); from += 4, to += 3) {
        rgb[to] = buffer_[from];
        rgb[to + 1] = buffer_[from + 1];
        rgb[to + 2] = buffer_[from + 2];
    }
    return SoPNGImage(bufferSize_, 3, rgb.data()).write(fileName);
}
