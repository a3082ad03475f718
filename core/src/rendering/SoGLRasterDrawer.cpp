// Pictures in window pixels.
//
// Markers and images go through the raster position, so OpenGL itself decides, as on any
// screen, that one whose anchor falls outside the view is not drawn at all and that the
// rest is depth-tested at the anchor's depth. Text has no bitmap font to draw with here;
// its glyphs are the filled outlines the 3D text nodes use, laid out in points and put on
// the window with a pixel-exact projection at the anchor's depth.

#include "rendering/SoGLRasterDrawer.h"

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/elements/SoAnnoText3CharOrientElement.h>
#include <Tessara/elements/SoAnnoText3FontSizeHintElement.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoFontSizeElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>

#include "nodes/text/SoTextGeometry.h"
#include "rendering/SoGLFunctions.h"

namespace {

GLenum pixelFormat(int numComponents) {
    switch (numComponents) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        default:
            return GL_NONE;
    }
}

/// How far the anchor moves for an alignment of 0 (start), 1 (middle) or 2 (end).
float alignmentShift(int alignment, int extent) {
    if (alignment == 1) return -0.5f * static_cast<float>(extent);
    if (alignment == 2) return -static_cast<float>(extent);
    return 0.0f;
}

/// The object origin in window pixels and depth in normalised device coordinates; false
/// when it lies outside the view volume (where a raster position would be invalid).
bool projectOrigin(SoCallbackAction* cba, const SbViewportRegion& region, SbVec3f& window) {
    const SbMatrix toClip =
        cba->getModelMatrix() * cba->getViewingMatrix() * cba->getProjectionMatrix();
    SbVec4f clip;
    toClip.multVecMatrix(SbVec4f(0, 0, 0, 1), clip);
    if (!(clip[3] > 0.0f)) return false;
    const SbVec3f ndc(clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]);
    for (int i = 0; i < 3; ++i) {
        if (!(std::fabs(ndc[i]) <= 1.0f)) return false;
    }
    const SbVec2s origin = region.getViewportOriginPixels();
    const SbVec2s size = region.getViewportSizePixels();
    window.setValue(origin[0] + (ndc[0] + 1.0f) * 0.5f * size[0],
                    origin[1] + (ndc[1] + 1.0f) * 0.5f * size[1], ndc[2]);
    return true;
}

/// Window pixels per object unit of annotation text, and the angle of its baseline when
/// the characters follow it: a font-size step along the object's x and y axes (and z, for
/// the annotation hint) projected to the window, the smaller of x and y for the fitting
/// hint, the largest otherwise, as the vectorizer sizes the printed text.
float annotationScale(SoCallbackAction* cba, const SbViewportRegion& region, float& angle) {
    SoState* state = cba->getState();
    const float size = SoFontSizeElement::get(state);
    angle = 0.0f;
    if (!(size > 0.0f)) return 0.0f;
    const bool fit =
        SoAnnoText3FontSizeHintElement::get(state) != SoAnnoText3FontSizeHintElement::ANNOTATION;
    const SbMatrix toClip =
        cba->getModelMatrix() * cba->getViewingMatrix() * cba->getProjectionMatrix();
    const SbVec2s viewport = region.getViewportSizePixels();
    SbVec2f window[4];
    const SbVec4f steps[4] = {SbVec4f(0, 0, 0, 1), SbVec4f(size, 0, 0, 1), SbVec4f(0, size, 0, 1),
                              SbVec4f(0, 0, size, 1)};
    for (int i = 0; i < 4; ++i) {
        SbVec4f clip;
        toClip.multVecMatrix(steps[i], clip);
        if (!(clip[3] > 0.0f)) return 0.0f;
        window[i].setValue(clip[0] / clip[3] * 0.5f * viewport[0],
                           clip[1] / clip[3] * 0.5f * viewport[1]);
    }
    const auto length = [&](int i) { return (window[i] - window[0]).length(); };
    const float pixels =
        fit ? std::min(length(1), length(2)) : std::max({length(1), length(2), length(3)});
    if (SoAnnoText3CharOrientElement::get(state))
        angle = std::atan2(window[1][1] - window[0][1], window[1][0] - window[0][0]);
    return std::isfinite(pixels) ? pixels / size : 0.0f;
}

/// Takes window pixels (with depth already in device coordinates) to clip coordinates of
/// the viewport, for row vectors.
SbMatrix windowToClip(const SbViewportRegion& region) {
    const SbVec2s origin = region.getViewportOriginPixels();
    const SbVec2s size = region.getViewportSizePixels();
    const float sx = 2.0f / static_cast<float>(size[0]);
    const float sy = 2.0f / static_cast<float>(size[1]);
    return SbMatrix(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, 1, 0, -origin[0] * sx - 1.0f,
                    -origin[1] * sy - 1.0f, 0, 1);
}

}  // namespace

void SoGLRasterDrawer::drawMarker(int markerIndex, const SbVec3f& point,
                                  const float rgba[4]) const {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool isLSBFirst = false;
    if (!SoMarkerSet::getMarker(markerIndex, size, bytes, isLSBFirst) || bytes == nullptr) return;
    gl_.Color4fv(rgba);
    gl_.RasterPos3fv(point.getValue());
    gl_.PixelStorei(GL_UNPACK_LSB_FIRST, isLSBFirst ? GL_TRUE : GL_FALSE);
    // Whole-pixel origin: an odd-sized marker's middle pixel lands on the point's pixel.
    gl_.Bitmap(size[0], size[1], static_cast<float>(size[0] / 2), static_cast<float>(size[1] / 2),
               0.0f, 0.0f, bytes);
    gl_.PixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

void SoGLRasterDrawer::drawImage(const SoImage* image) const {
    SbVec2s size;
    int numComponents = 0;
    const unsigned char* pixels = image->image.getValue(size, numComponents);
    const GLenum format = pixelFormat(numComponents);
    if (pixels == nullptr || format == GL_NONE || size[0] <= 0 || size[1] <= 0) return;
    const int width = image->width.getValue() > 0 ? image->width.getValue() : size[0];
    const int height = image->height.getValue() > 0 ? image->height.getValue() : size[1];

    const float origin[3] = {0.0f, 0.0f, 0.0f};
    gl_.RasterPos3fv(origin);
    GLboolean valid = GL_FALSE;
    gl_.GetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return;
    // An empty bitmap only moves the raster position: the alignment, in window pixels.
    gl_.Bitmap(0, 0, 0.0f, 0.0f, alignmentShift(image->horAlignment.getValue(), width),
               alignmentShift(image->vertAlignment.getValue(), height), nullptr);
    gl_.PixelZoom(static_cast<float>(width) / size[0], static_cast<float>(height) / size[1]);
    gl_.DrawPixels(size[0], size[1], format, GL_UNSIGNED_BYTE, pixels);
    gl_.PixelZoom(1.0f, 1.0f);
}

void SoGLRasterDrawer::drawText(SoCallbackAction* cba, const SoMFString& strings, float spacing,
                                int justification, const float rgba[4], bool annotation) const {
    SoState* state = cba->getState();
    const SbViewportRegion& region = SoViewportRegionElement::get(state);
    const SbVec2s viewport = region.getViewportSizePixels();
    SbVec3f anchor;
    if (viewport[0] <= 0 || viewport[1] <= 0 || !projectOrigin(cba, region, anchor)) return;
    // Screen text is always filled glyphs, whatever style the 3D text nodes are set to.
    state->push();
    SoFontRenderStyleElement::set(state, SoFontRenderStyleElement::POLYGON);
    const SoTextGeometry geometry(cba, strings, spacing, justification, SoTextGeometry::FRONT);
    state->pop();

    float angle = 0.0f;
    const float scale =
        annotation ? annotationScale(cba, region, angle) : region.getPixelsPerPoint();
    if (!(scale > 0.0f)) return;
    const float c = std::cos(angle) * scale, s = std::sin(angle) * scale;
    gl_.PushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
    gl_.Disable(GL_LIGHTING);
    gl_.Disable(GL_CULL_FACE);
    gl_.Disable(GL_POLYGON_STIPPLE);
    gl_.Disable(GL_POLYGON_OFFSET_FILL);
    gl_.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl_.MatrixMode(GL_PROJECTION);
    gl_.LoadMatrixf(windowToClip(region).getValue());
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.LoadIdentity();
    gl_.Color4fv(rgba);
    gl_.Begin(GL_TRIANGLES);
    const auto vertex = [&](const SoPrimitiveVertex* v) {
        const SbVec3f& p = v->getPoint();
        gl_.Vertex3f(anchor[0] + p[0] * c - p[1] * s, anchor[1] + p[0] * s + p[1] * c, anchor[2]);
    };
    geometry.generate(
        [&](const SoPrimitiveVertex* a, const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
            vertex(a);
            vertex(b);
            vertex(c);
        },
        [](const SoPrimitiveVertex*, const SoPrimitiveVertex*) {});
    gl_.End();
    gl_.PopAttrib();
}
