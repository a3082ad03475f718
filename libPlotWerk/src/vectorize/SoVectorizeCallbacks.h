#pragma once

#include <Tessara/actions/SoCallbackAction.h>

class SbVec3f;
class SoNode;
class SoPrimitiveVertex;
class SoVectorizeAction;

/// The traversal callbacks of the vectorizing action: they turn what the core delivers
/// (cameras, triangles, segments, points, text, images, annotations) into clip-space
/// primitives for the clipper. Every handler gets the action as its user data.
class SoVectorizeCallbacks {
  public:
    /// Registers every handler on `cba`; annotation subgraphs are collected for a later pass
    /// only when `withAnnotations` is 1 (the later pass itself draws them in place).
    static void registerOn(SoCallbackAction& cba, SoVectorizeAction* action, int withAnnotations);

    /// Forces the viewport to the drawing area's proportions before the camera reads it.
    static SoCallbackAction::Response camera(void* userData, SoCallbackAction* cba,
                                             const SoNode* node);
    static void triangle(void* userData, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                         const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3);
    /// Chains segments that share end points into one polyline in the capture buffer.
    static void lineSegment(void* userData, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                            const SoPrimitiveVertex* v2);
    /// Gathers points in the capture buffer.
    static void point(void* userData, SoCallbackAction* cba, const SoPrimitiveVertex* v);
    /// After every node: sends what the capture buffer holds to the clipper.
    static SoCallbackAction::Response flush(void* userData, SoCallbackAction* cba,
                                            const SoNode* node);
    static SoCallbackAction::Response text2(void* userData, SoCallbackAction* cba,
                                            const SoNode* node);
    /// Makes texture-rendered 3D text generate polygons, which the triangle handler draws.
    static SoCallbackAction::Response text3(void* userData, SoCallbackAction* cba,
                                            const SoNode* node);
    /// Annotation text, printed as 3D glyphs or as 2D text as its properties ask.
    static SoCallbackAction::Response annoText3(void* userData, SoCallbackAction* cba,
                                                const SoNode* node);
    /// After annotation text: shapes are drawn again.
    static SoCallbackAction::Response annoText3Post(void* userData, SoCallbackAction* cba,
                                                    const SoNode* node);
    static SoCallbackAction::Response image(void* userData, SoCallbackAction* cba,
                                            const SoNode* node);
    /// Keeps a copy of the path to the annotation for the pass that draws it on top.
    static SoCallbackAction::Response annotation(void* userData, SoCallbackAction* cba,
                                                 const SoNode* node);

  private:
    static void drawText2(SoVectorizeAction* action, SoCallbackAction* cba, const SoNode* node,
                          int isAnnotation);
    static void drawText3(SoVectorizeAction* action, SoCallbackAction* cba);
    static void flushPending(SoVectorizeAction* action, SoCallbackAction* cba);
    static void flushMarkers(SoVectorizeAction* action, SoCallbackAction* cba,
                             const SoNode* markerSet);
    /// A back face of a solid, which the screen does not draw either.
    static bool facesAway(SoVectorizeAction* action, SoCallbackAction* cba,
                          const SoPrimitiveVertex* const* vertices);
    /// The triangle's unit normals in normals, returned, when the drawing needs them; else null.
    static const SbVec3f* surfaceNormals(SoVectorizeAction* action, SoCallbackAction* cba,
                                         const SoPrimitiveVertex* const* vertices,
                                         SbVec3f* normals);
    static void captureVertex(SoVectorizeAction* action, SoCallbackAction* cba,
                              const SoPrimitiveVertex* v, int slot, int& fullyTransparent);
    /// The buffered object-space points, taken to clip space in place.
    static void transformCaptureToClip(SoVectorizeAction* action, SoCallbackAction* cba);
};
