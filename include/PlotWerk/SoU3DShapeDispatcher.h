#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// Between the 3D export's shape callbacks and the engine: gives each outermost shape the
/// renderer its draw style asks for (shapes nested in it share it), and holds the pseudo
/// lighting and the wireframe normal offset that the engine reads. One per open engine,
/// reached through SoToU3DActionPrivate::shapeDispatcher. Its settings are read when it is
/// made: "VXN_U3DEXPORT_WITH_DRAWSTYLE" (0: every shape filled; 1: draw styles; 2, the
/// default: draw styles, line-style quads outlined without their diagonal),
/// "VXN_U3DEXPORT_USE_PSEUDO_LIGHTING" (0: old, 1: new, else off; default 2) and
/// "VXN_U3DEXPORT_WIREFRAME_NORMAL_OFFSET" (default 0).
class SoU3DShapeDispatcher {
  public:
    using Renderer = SoToU3DActionPrivate::ISoRenderPrimitivesUsingDrawStyle;

    explicit SoU3DShapeDispatcher(SoToU3DAction* action);
    ~SoU3DShapeDispatcher();
    SoU3DShapeDispatcher(const SoU3DShapeDispatcher&) = delete;
    SoU3DShapeDispatcher& operator=(const SoU3DShapeDispatcher&) = delete;

    /// A shape begins: the outermost one gets a renderer for the draw style in `action`.
    void beginShape(SoCallbackAction* action);
    /// A shape ends: the outermost one's renderer is deleted.
    void endShape();

    /// The current shape's renderer; null between shapes.
    Renderer* getRenderer() const { return renderer_; }
    SoToU3DActionPrivate::IPseudoLighting* getPseudoLighting() const { return pseudoLighting_; }
    float getNormalOffset() const { return normalOffset_; }

  private:
    Renderer* makeRenderer(SoCallbackAction* action) const;

    SoToU3DAction* action_;
    Renderer* renderer_ = nullptr;
    int depth_ = 0;
    bool useDrawStyle_ = true;
    bool linesAsQuads_ = true;
    SoToU3DActionPrivate::IPseudoLighting* pseudoLighting_ = nullptr;
    float normalOffset_ = 0.0f;
};
