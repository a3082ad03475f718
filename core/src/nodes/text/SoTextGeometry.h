#pragma once

#include <Tessara/fields/SoFields.h>
#include <Tessara/math/SbBox3f.h>

#include <functional>
#include <vector>

#include "SoFontLibrary.h"

class SoAction;
class SoPrimitiveVertex;

/// The polygonal geometry of extruded text, shared by the 3D text nodes: lines laid out
/// with the font name, size, render style and complexity in force, then emitted as
/// triangles (and outlines) in object space.
///
/// Layout: line k has its baseline at y = -k * size * spacing; pens advance by the font's
/// unkerned advances; justification places the line's start (LEFT), end (RIGHT) or middle
/// (CENTER) at x = 0. The front lies in z = 0 facing +z, the back in z = -size / 10 facing
/// -z, and the sides join them along the outline, facing outwards.
class SoTextGeometry {
  public:
    enum Part { FRONT = 1, SIDES = 2, BACK = 4 };
    enum Justification { LEFT = 1, RIGHT = 2, CENTER = 3 };
    using TriangleSink = std::function<void(const SoPrimitiveVertex*, const SoPrimitiveVertex*,
                                            const SoPrimitiveVertex*)>;
    using LineSink = std::function<void(const SoPrimitiveVertex*, const SoPrimitiveVertex*)>;

    SoTextGeometry(SoAction* action, const SoMFString& strings, float spacing, int justification,
                   int parts);

    /// Emits the parts asked for: triangles whose details are SoFaceDetails (part index
    /// FRONT 0 / SIDES 1 / BACK 2, face index = character index over all lines), and, in the
    /// POLYGON_AND_OUTLINE style, the front outline as segments (SoLineDetail: line index =
    /// character index). Texture styles emit nothing.
    void generate(const TriangleSink& triangles, const LineSink& lines) const;
    /// The ink box of the text (with the extrusion depth when sides or back are on).
    void computeBBox(SbBox3f& box, SbVec3f& center) const;

    /// The extrusion depth for a font size.
    static float depthFor(float size) { return size * 0.1f; }
    /// The code points of UTF-8 text.
    static std::u32string toUtf32(const SbString& text);

  private:
    /// Where the pen of line `k` starts, in object units.
    SbVec2f lineOrigin(int k) const;
    void emitFront(const SoGlyph& glyph, const SbVec2f& at, int charIndex, bool back,
                   const TriangleSink& sink) const;
    void emitSides(const SoGlyph& glyph, const SbVec2f& at, int charIndex,
                   const TriangleSink& sink) const;
    void emitOutline(const SoGlyph& glyph, const SbVec2f& at, int charIndex,
                     const LineSink& sink) const;
    int materialIndexOf(int partIndex) const { return materialPerPart_ ? partIndex : 0; }

    std::vector<SoFontLibrary::ShapedLine> lines_;
    float size_ = 0.0f;
    float spacing_ = 1.0f;
    int justification_ = LEFT;
    int parts_ = FRONT;
    int renderStyle_ = 0;
    bool materialPerPart_ = false;
};
