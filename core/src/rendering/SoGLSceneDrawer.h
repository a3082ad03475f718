#pragma once

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbVec3f.h>

#include "rendering/SoGLLightLoader.h"
#include "rendering/SoGLRasterDrawer.h"

class SoGLFunctions;
class SoNode;
class SoPrimitiveVertex;

/// Turns the primitives a callback traversal delivers into fixed-function OpenGL drawing
/// in the current context; the working part of SoGLRenderAction, one per apply.
class SoGLSceneDrawer {
  public:
    SoGLSceneDrawer(const SoGLFunctions& gl, bool smoothShading);
    SoGLSceneDrawer(const SoGLSceneDrawer&) = delete;
    SoGLSceneDrawer& operator=(const SoGLSceneDrawer&) = delete;

    /// Saves every GL setting the drawing touches and sets the ones that hold throughout.
    void begin();
    /// Puts the saved GL settings back.
    void end();
    /// Registers the drawing callbacks; with `delayAnnotations`, annotation subgraphs are
    /// skipped and kept for drawAnnotations().
    void registerOn(SoCallbackAction& cba, bool delayAnnotations);
    /// Draws the annotation subgraphs put aside, over everything drawn before them.
    void drawAnnotations(const SbViewportRegion& region);
    /// Ends the primitive batch still open, if any.
    void flush() { endBatch(); }

  private:
    enum Batch { NO_BATCH, TRIANGLES, LINE_STRIP, POINTS };

    static SoCallbackAction::Response shapeStarts(void* data, SoCallbackAction* cba,
                                                  const SoNode* node);
    static SoCallbackAction::Response shapeEnds(void* data, SoCallbackAction* cba,
                                                const SoNode* node);
    static SoCallbackAction::Response annotationStarts(void* data, SoCallbackAction* cba,
                                                       const SoNode* node);
    static void triangle(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                         const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3);
    static void lineSegment(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                            const SoPrimitiveVertex* v2);
    static void point(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v);

    void drawTriangle(SoCallbackAction* cba, const SoPrimitiveVertex* const v[3]);
    void drawSegment(SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                     const SoPrimitiveVertex* v2);
    void drawPoint(SoCallbackAction* cba, const SoPrimitiveVertex* v);
    void drawWindowShape(SoCallbackAction* cba, const SoNode* node);

    /// Sets the GL state from the traversal state, once per shape, at its first use.
    bool prepareShape(SoCallbackAction* cba);
    void loadViewportAndMatrices(SoCallbackAction* cba);
    void loadFaceSettings(SoCallbackAction* cba);
    void loadLineAndPointSettings(SoCallbackAction* cba);
    void loadPolygonOffset(SoCallbackAction* cba);
    void loadFillPattern(SoCallbackAction* cba);
    void loadShapeMatrices();

    void beginBatch(Batch batch, bool lit);
    void endBatch();
    void setLighting(bool on);
    /// The vertex's material as glMaterial (lit) or glColor (unlit), when it changed.
    void sendMaterial(SoCallbackAction* cba, int materialIndex, bool lit);
    void sendVertex(SoCallbackAction* cba, const SoPrimitiveVertex* v, bool lit);
    /// The first corner of a lit flat face, as that face shows.
    void sendFlatCorner(SoCallbackAction* cba, const SoPrimitiveVertex* const v[3]);
    static bool isFullyTransparent(SoCallbackAction* cba, int materialIndex);
    static void unlitColor(SoCallbackAction* cba, int materialIndex, float rgba[4]);

    const SoGLFunctions& gl_;
    SoGLLightLoader lights_;
    SoGLRasterDrawer raster_;
    bool smoothShading_;

    bool shapeReady_ = false;
    bool skipShape_ = false;
    bool litModel_ = true;
    int drawStyle_ = 0;
    SbMatrix projection_;
    SbMatrix modelView_;
    int markerCount_ = 0;

    Batch batch_ = NO_BATCH;
    bool lightingOn_ = false;
    int materialIndex_ = -1;
    bool materialLit_ = false;
    SbVec3f stripEnd_;

    SoPathList annotations_;
};
