#pragma once

#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbViewportRegion.h>

#include <vector>

class SoNode;
class SoPath;

/// Draws scenes with OpenGL into an RGBA8 buffer in memory, with a 24-bit depth and an 8-bit
/// stencil buffer: a software (OSMesa) compatibility context that needs no display, so every
/// fixed-function call works. Each renderer has its own context and buffer; several may live
/// at once, and whichever made itself current last receives the GL calls of its thread.
class SoOffscreenRenderer {
  public:
    /// An OpenGL function as getProcAddress() returns it, to be cast to its real type.
    using GLProc = void (*)();

    /// A renderer whose buffer has the region's window size. The context is created on the
    /// first makeCurrent() or render().
    explicit SoOffscreenRenderer(const SbViewportRegion& region);
    /// Releases the context (made not current first when it is) and the buffer.
    virtual ~SoOffscreenRenderer();
    SoOffscreenRenderer(const SoOffscreenRenderer&) = delete;
    SoOffscreenRenderer& operator=(const SoOffscreenRenderer&) = delete;

    /// The buffer takes the window size; the scene is drawn into the region's viewport.
    /// Takes effect at the next makeCurrent() or render().
    void setViewportRegion(const SbViewportRegion& region);
    const SbViewportRegion& getViewportRegion() const { return region_; }
    /// The colour the whole buffer is cleared to before a scene is drawn (black by default).
    void setBackgroundColor(const SbColor& color) { background_ = color; }
    const SbColor& getBackgroundColor() const { return background_; }
    /// The action render() applies; change its settings (shading) through it.
    SoGLRenderAction& getGLRenderAction() { return action_; }

    /// Creates the context and buffer when missing (or resizes the buffer to the window
    /// size) and makes them current on this thread, so that GL calls draw into the buffer.
    /// False, with an SoDebugError message, when OSMesa cannot provide them.
    bool makeCurrent();
    /// Makes current, clears colour, depth and stencil to the background, applies the
    /// render action to the scene, and waits for the drawing to finish. False on a null
    /// scene or when no context can be made current.
    bool render(SoNode* scene);
    bool render(SoPath* path);

    /// The pixels, 4 bytes each (RGBA), rows from the bottom up: what the last drawing left
    /// there (complete after render(), or after glFinish() for one's own drawing). Null
    /// before the buffer exists.
    const unsigned char* getBuffer() const;
    /// The size of getBuffer(), in pixels; (0, 0) before the buffer exists.
    SbVec2s getBufferSize() const { return bufferSize_; }
    /// Writes the buffer as an 8-bit PNG, RGB (or RGBA with `withAlpha`), top row first.
    /// False, with an SoDebugError message, when nothing was drawn or the file cannot be
    /// written.
    bool writeToPNG(const SbString& fileName, bool withAlpha = false) const;

    /// The largest buffer OSMesa can draw into; (0, 0) when no context can be created.
    static SbVec2s getMaximumResolution();
    /// The OpenGL function of that name ("glReadPixels"), from the same implementation the
    /// renderer's contexts use; null when it has no such function. Drawing code outside the
    /// core should call GL through these rather than through a libGL it may also load.
    static GLProc getProcAddress(const char* name);

  private:
    bool ensureContext();
    bool isBoundToThisThread() const;
    void releaseContext();
    bool beginRender();

    SbViewportRegion region_;
    SbColor background_{0.0f, 0.0f, 0.0f};
    SoGLRenderAction action_;
    void* context_ = nullptr;  // the OSMesaContext, opaque so this header needs no GL
    std::vector<unsigned char> buffer_;
    SbVec2s bufferSize_{0, 0};
};
