#pragma once

#include <Tessara/fields/SoFields.h>
#include <Tessara/math/SbVec3f.h>

class SoCallbackAction;
class SoGLFunctions;
class SoImage;

/// Draws what lives in window pixels rather than in object space: the bitmaps of marker
/// sets, the images of SoImage, and screen-aligned text.
class SoGLRasterDrawer {
  public:
    explicit SoGLRasterDrawer(const SoGLFunctions& gl) : gl_(gl) {}
    SoGLRasterDrawer(const SoGLRasterDrawer&) = delete;
    SoGLRasterDrawer& operator=(const SoGLRasterDrawer&) = delete;

    /// The marker centred on an object-space point, under the current matrices, in `rgba`.
    /// Nothing for an undefined marker or a point outside the view.
    void drawMarker(int markerIndex, const SbVec3f& point, const float rgba[4]) const;
    /// The image of `image` anchored at the object origin, aligned and sized by its fields.
    void drawImage(const SoImage* image) const;
    /// Text laid out as SoText2 lays it out (lines `spacing` font sizes apart, justified
    /// about the origin) in the font in force, anchored at the projected object origin and
    /// drawn at that depth. Its size is in points, or for `annotation` text what a font-size
    /// step along the object's axes measures on the screen, turned with its baseline when
    /// the annotation settings ask for it. Changes the matrices; the caller restores them.
    void drawText(SoCallbackAction* cba, const SoMFString& strings, float spacing,
                  int justification, const float rgba[4], bool annotation) const;

  private:
    const SoGLFunctions& gl_;
};
