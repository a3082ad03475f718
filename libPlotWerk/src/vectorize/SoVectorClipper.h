#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec4f.h>

#include <cstdint>
#include <vector>

#include "SoPointMarkers.h"

class SoHLHSRVectorize;

class SoCallbackAction;
class SoImage;
class SoMarkerSet;
class SoNode;
class SoVectorizeAction;

/// Clips the captured primitives (clip coordinates in, normalised coordinates out) against
/// the view volume and hands every surviving piece to the page: projection to millimetres
/// and the action's print operation chosen by the draw style.
class SoVectorClipper {
  public:
    explicit SoVectorClipper(SoVectorizeAction* action);

    /// A convex polygon (a captured triangle); the arrays are not changed. normals, when
    /// given, are the shape's unit normals at the points, handed on with the polygon.
    void clipPolygon(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                     const SbVec3f* normals = nullptr);
    /// A polyline, split into visible runs; the arrays (the capture buffer) are worked in place.
    void clipPolyLine(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors);
    /// Dots (null markerSet) or markers, each kept or dropped alone; worked in place. Point
    /// i is point ordinals[i] of the marker set (i when ordinals is null).
    void clipPolyMark(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                      SoMarkerSet* markerSet, const int* ordinals);
    /// An SoText2 or SoAnnoText3 node anchored at `origin`: kept or dropped whole.
    void clipText(SoCallbackAction* cba, const SbVec4f& origin, const SbColor& color,
                  SoNode* textNode, int isAnnotation);
    /// An image anchored at `origin`; only depth decides, the backend clips it on the page.
    void clipImage(SoCallbackAction* cba, const SbVec4f& origin, SoImage* imageNode);
    /// Printed size (in nominal widths) of annotation text of `fontSize`, and its on-page
    /// angle (radians) out.
    float computeFontSizeAngleViewing(SoCallbackAction* cba, float fontSize, float& angle);

  private:
    /// Which side of a plane is kept: coordinate `axis` compared with `limit`.
    struct Plane {
        int axis;
        float limit;
        bool keepAbove;
        bool inside(const SbVec4f& p) const {
            return keepAbove ? p[axis] >= limit : p[axis] <= limit;
        }
    };
    /// The planes after the near one, in the order polylines meet them.
    enum LinePlane { FAR_PLANE = 0, X_MIN, X_MAX, Y_MIN, Y_MAX, LINE_PLANE_COUNT };

    SbVec4f computeNearReference(SoCallbackAction* cba) const;
    Plane nearPlane() const { return Plane{2, nearReference_[2], true}; }
    Plane linePlane(int which) const;
    bool inFront(const SbVec4f& p) const { return p[2] < nearReference_[2]; }

    /// The point where edge a→b crosses `plane`, and its colour when interpolated.
    void cut(const Plane& plane, const SbVec4f& a, const SbVec4f& b, const SbColor& colorA,
             const SbColor& colorB, int interpolate, SbVec4f& point, SbColor& color) const;
    void cutNear(const SbVec4f& a, const SbVec4f& b, const SbColor& colorA, const SbColor& colorB,
                 int interpolate, SbVec4f& point, SbColor& color) const;
    static void divideByW(SbVec4f* points, int n);

    // Polygons.
    int clipPolygonPass(const Plane& plane, bool isNear);
    void emitPolygon(SoCallbackAction* cba, const SbColor& firstColor);

    // Polylines: the near plane, then one function per plane for each visible run.
    void clipPolyLineFar(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                         int multicolor);
    void clipPolyLineXMin(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                          int multicolor);
    void clipPolyLineXMax(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                          int multicolor);
    void clipPolyLineYMin(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                          int multicolor);
    void clipPolyLineYMax(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                          int multicolor);
    void splitRuns(SoCallbackAction* cba, int which, SbVec4f* points, int n, SbColor* colors,
                   int multicolor);
    void passRunOn(SoCallbackAction* cba, int which, SbVec4f* points, int n, SbColor* colors,
                   int multicolor);
    void emitPolyLine(SoCallbackAction* cba, SbVec4f* points, int n, SbColor* colors,
                      int multicolor);

    /// Moves the marks that keep(i) accepts to the front, their markers with them; the count.
    template <class Keep>
    int keepMarks(SbVec4f* points, SbColor* colors, int n, Keep keep);

    // Text and images.
    bool keepsAnchor(SbVec4f& origin) const;
    void emitText(SoCallbackAction* cba, SbVec4f origin, const SbColor& color, SoNode* textNode,
                  int isAnnotation);
    void emitImage(SoImage* imageNode, SbVec4f origin);

    /// The hidden-line engine of the apply, or null when pieces print directly.
    SoHLHSRVectorize* engine() const;
    static int engineStyleOf(int drawStyle);
    static void polygonOffsetOf(SoCallbackAction* cba, float& factor, float& units);
    static bool finite(const SbVec4f& point);
    /// Posts and gives true when a coordinate is NaN or infinite.
    static bool leavesOut(const char* where, const SbVec4f* points, int n);
    static int differsFromFirst(const SbColor* colors, int n);

    SoVectorizeAction* action_;
    /// Clip-space point of the near plane, for the clipping call in progress.
    SbVec4f nearReference_;
    /// Working arrays of the polygon passes: room for a triangle, one vertex more per plane
    /// and the closing vertex; they grow only for larger input polygons.
    std::vector<SbVec4f> polygonPoints_;
    std::vector<SbColor> polygonColors_;
    std::vector<SbVec4f> passPoints_;
    std::vector<SbColor> passColors_;
    /// The marker of each mark of the marker set being clipped, and the node that prints them.
    std::vector<std::int32_t> markers_;
    SoPointMarkers pointMarkers_;
    int polygonCount_ = 0;
    int polygonMulticolor_ = 0;
    /// The normals at the working polygon's points, when the polygon came with them.
    bool withNormals_ = false;
    std::vector<SbVec3f> polygonNormals_;
    std::vector<SbVec3f> passNormals_;
};
