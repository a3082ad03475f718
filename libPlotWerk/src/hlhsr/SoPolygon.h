#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbVec3f.h>

#include "SoPrimitiveMultiPoints.h"
#include "SoSharedString.h"

/// A stored polygon, filled, outlined or drawn as points. Its vertex order always faces the
/// viewer: the stored plane normal has a depth component not greater than 0.
class SoPolygon : public SoPrimitiveMultiPoints {
  public:
    void print(SoHLHSRVectorize* engine) override;
    void render(std::uint32_t idColor) override;
    int getType() const override;
    /// Also copies the draw style, line and marker values, strings and fill pattern.
    void copyAttributes(const SoPrimitiveMultiPoints& other) override;
    /// Cuts this polygon by cutter's plane into a piece on the viewer's side (front) and one
    /// behind (back); 1 when both were made, 0 (and nothing made) otherwise.
    virtual int split(const SoPolygon& cutter, SoPolygon*& front, SoPolygon*& back) const;
    bool cutBy(const SoPolygon& cutter, SoGraphicPrimitive*& front,
               SoGraphicPrimitive*& back) const override;

    /// Copies points and colours (from 4 points on, the last point takes the first one's
    /// colour), shifts the depths by depthOffset, then computes extents and normal.
    void set(int numPoints, const SbVec4f* points, const SbColor* colors, int multicolor,
             float lineWidth, float markerSize, unsigned short linePattern,
             int linePatternScaleFactor, int drawStyle, const SbString& string1,
             const SbString& string2, const unsigned char* pattern, float depthOffset,
             float offsetFactor, float offsetUnits);
    /// The signed distance of p from the polygon's plane (through its first point, along its
    /// normal), in double precision.
    double planeDistance(const SbVec4f& p) const {
        const float *n = normal.getValue(), *o = points[0].getValue();
        return double(n[0]) * (double(p[0]) - double(o[0])) +
               double(n[1]) * (double(p[1]) - double(o[1])) +
               double(n[2]) * (double(p[2]) - double(o[2]));
    }
    /// Replaces the outline by n points that already carry the depth offset, all in the
    /// first point's colour, and computes extents and normal again.
    void setOutline(int n, const SbVec4f* newPoints);
    /// The unit normal of the plane through all the points (zero when they enclose no area);
    /// a normal facing away from the viewer reverses the vertex order (vertex 0 and a
    /// closing duplicate of it stay in place).
    void computeNormal();
    /// Forgets the polygon offset that render() last applied, so the next render sets it
    /// again (needed whenever a fresh OpenGL context is made current).
    static void resetRenderState();

    int reserved1 = 0;
    int reserved2 = 0;
    /// 0 filled, 1 outline (printed as a polyline), 2 points (printed as marks).
    int drawStyle = 0;
    float markerSize = 0.0f;
    float lineWidth = 0.0f;
    unsigned short linePattern = 0xFFFF;
    int linePatternScaleFactor = 1;
    SbVec3f normal{0.0f, 0.0f, 0.0f};
    /// The fill pattern's category and name, passed through to the print operation.
    SoSharedString string1;
    SoSharedString string2;
    /// The 32 x 32 fill mask, not owned; null for a solid fill.
    const unsigned char* pattern = nullptr;
    /// A fill through a pattern shows what lies behind it through its gaps: it hides nothing.
    bool isPatternedFill() const { return drawStyle == 0 && pattern != nullptr; }
    /// The OpenGL polygon offset in force at capture, for render() only.
    float offsetFactor = 0.0f;
    float offsetUnits = 0.0f;

  private:
    void reverseOrder();
};
