#pragma once

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoSubAction.h>
#include <Tessara/math/SbViewportRegion.h>

/// Draws a scene with fixed-function OpenGL into the current offscreen (OSMesa) context,
/// as a screen would show it: the scene's camera fitted to the viewport, its lights and
/// materials, draw styles, line patterns, point sizes, markers, images and 2D text. The
/// context is usually an SoOffscreenRenderer's, made current by it.
///
/// Every OpenGL setting it changes is put back when it returns; the colour and depth
/// buffers are not cleared (the renderer does that).
class SoGLRenderAction : public SoAction {
    SO_ACTION_HEADER(SoGLRenderAction);

  public:
    explicit SoGLRenderAction(const SbViewportRegion& region = SbViewportRegion());
    ~SoGLRenderAction() override;

    /// The window the current buffer stands for and the viewport drawn into within it.
    void setViewportRegion(const SbViewportRegion& region) { viewportRegion_ = region; }
    const SbViewportRegion& getViewportRegion() const { return viewportRegion_; }
    /// Smooth (Gouraud, the default) or flat shading; flat gives each triangle the colour
    /// of its last vertex, as OpenGL does.
    void setSmoothShading(bool smooth) { smoothShading_ = smooth; }
    bool isSmoothShading() const { return smoothShading_; }

    /// Draws; without a current OSMesa context, reports it and draws nothing.
    void apply(SoNode* node) override;
    void apply(SoPath* path) override;
    void apply(const SoPathList& pathList, int obeysRules = 0) override;

  private:
    void draw(SoNode* node, SoPath* path, const SoPathList* pathList, int obeysRules);

    SbViewportRegion viewportRegion_;
    bool smoothShading_ = true;
};
