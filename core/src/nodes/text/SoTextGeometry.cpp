#include "SoTextGeometry.h"

#include <Tessara/actions/SoAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/elements/SoComplexityElement.h>
#include <Tessara/elements/SoFontNameElement.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoFontSizeElement.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/misc/SoState.h>

#include <algorithm>
#include <cmath>

namespace {

enum PartIndex { FRONT_PART = 0, SIDES_PART = 1, BACK_PART = 2 };

// Straight pieces per curved outline arc: 2 at complexity 0, 9 at the default 0.5, 16 at 1.
int segmentsFor(float complexity) {
    const float c = std::min(1.0f, std::max(0.0f, complexity));
    return 2 + static_cast<int>(c * 14.0f + 0.5f);
}

SbVec3f toObject(const SbVec2f& p, float size, const SbVec2f& at, float z) {
    return SbVec3f(at[0] + p[0] * size, at[1] + p[1] * size, z);
}

}  // namespace

std::u32string SoTextGeometry::toUtf32(const SbString& text) {
    std::u32string result;
    const std::string& bytes = text.getStdString();
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        size_t k = 1;
        // SbString holds valid UTF-8; the bounds check only guards against a cut sequence.
        for (; k <= static_cast<size_t>(extra) && i + k < bytes.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        result.push_back(code);
        i += k;
    }
    return result;
}

SoTextGeometry::SoTextGeometry(SoAction* action, const SoMFString& strings, float spacing,
                               int justification, int parts)
    : spacing_(spacing), justification_(justification), parts_(parts) {
    SoState* state = action->getState();
    size_ = SoFontSizeElement::get(state);
    renderStyle_ = SoFontRenderStyleElement::get(state);
    const int binding = SoMaterialBindingElement::get(state);
    materialPerPart_ = binding == SoMaterialBindingElement::PER_PART ||
                       binding == SoMaterialBindingElement::PER_PART_INDEXED;
    std::vector<std::u32string> text;
    bool anyChar = false;
    for (int i = 0; i < strings.getNum(); ++i) {
        text.push_back(toUtf32(strings[i]));
        anyChar = anyChar || !text.back().empty();
    }
    // Empty text needs no font: nothing to open, nothing to report.
    if (!anyChar) return;
    if (!(size_ > 0.0f) || !std::isfinite(size_)) {
        SoDebugError::postWarning("SoTextGeometry", "Font size %g is not positive; no text drawn",
                                  static_cast<double>(size_));
        return;
    }
    SoFontLibrary::instance().shapeLines(SoFontNameElement::get(state).getString(), text,
                                         segmentsFor(SoComplexityElement::get(state)), lines_);
}

SbVec2f SoTextGeometry::lineOrigin(int k) const {
    const float width = lines_[k].advance * size_;
    float x = 0.0f;
    if (justification_ == RIGHT) x = -width;
    if (justification_ == CENTER) x = -0.5f * width;
    return SbVec2f(x, -static_cast<float>(k) * size_ * spacing_);
}

void SoTextGeometry::generate(const TriangleSink& triangles, const LineSink& lines) const {
    if (renderStyle_ == SoFontRenderStyleElement::TEXTURE ||
        renderStyle_ == SoFontRenderStyleElement::TEXTURE_DELAYED)
        return;
    for (int k = 0; k < static_cast<int>(lines_.size()); ++k) {
        const SbVec2f origin = lineOrigin(k);
        for (const SoFontLibrary::PlacedGlyph& placed : lines_[k].glyphs) {
            if (!placed.glyph || !placed.glyph->hasInk()) continue;
            const SbVec2f at(origin[0] + placed.x * size_, origin[1]);
            const SoGlyph& glyph = *placed.glyph;
            if (parts_ & FRONT) emitFront(glyph, at, placed.charIndex, false, triangles);
            if (parts_ & SIDES) emitSides(glyph, at, placed.charIndex, triangles);
            if (parts_ & BACK) emitFront(glyph, at, placed.charIndex, true, triangles);
            if (renderStyle_ == SoFontRenderStyleElement::POLYGON_AND_OUTLINE)
                emitOutline(glyph, at, placed.charIndex, lines);
        }
    }
}

void SoTextGeometry::emitFront(const SoGlyph& glyph, const SbVec2f& at, int charIndex, bool back,
                               const TriangleSink& sink) const {
    const int part = back ? BACK_PART : FRONT_PART;
    const float z = back ? -depthFor(size_) : 0.0f;
    SoFaceDetail detail;
    detail.setPartIndex(part);
    detail.setFaceIndex(charIndex);
    SoPrimitiveVertex v[3];
    for (SoPrimitiveVertex& vertex : v) {
        vertex.setNormal(SbVec3f(0, 0, back ? -1.0f : 1.0f));
        vertex.setMaterialIndex(materialIndexOf(part));
        vertex.setDetail(&detail);
    }
    // The back is seen from -z: the same triangles in the opposite order stay
    // counterclockwise for a viewer there.
    const int order[2][3] = {{0, 1, 2}, {0, 2, 1}};
    for (size_t i = 0; i + 2 < glyph.triangles.size(); i += 3) {
        for (int k = 0; k < 3; ++k)
            v[k].setPoint(toObject(glyph.triangles[i + order[back][k]], size_, at, z));
        sink(&v[0], &v[1], &v[2]);
    }
}

void SoTextGeometry::emitSides(const SoGlyph& glyph, const SbVec2f& at, int charIndex,
                               const TriangleSink& sink) const {
    const float depth = depthFor(size_);
    SoFaceDetail detail;
    detail.setPartIndex(SIDES_PART);
    detail.setFaceIndex(charIndex);
    SoPrimitiveVertex v[4];  // front start, front end, back end, back start
    for (SoPrimitiveVertex& vertex : v) {
        vertex.setMaterialIndex(materialIndexOf(SIDES_PART));
        vertex.setDetail(&detail);
    }
    for (const auto& contour : glyph.contours) {
        for (size_t i = 0; i < contour.size(); ++i) {
            const SbVec2f& a = contour[i];
            const SbVec2f& b = contour[(i + 1) % contour.size()];
            const float dx = b[0] - a[0], dy = b[1] - a[1];
            // Outwards is the side of the contour away from the filled area.
            SbVec3f normal = glyph.fillsRightOfContour ? SbVec3f(-dy, dx, 0) : SbVec3f(dy, -dx, 0);
            if (normal.length() == 0.0f) continue;
            normal.normalize();
            v[0].setPoint(toObject(a, size_, at, 0.0f));
            v[1].setPoint(toObject(b, size_, at, 0.0f));
            v[2].setPoint(toObject(b, size_, at, -depth));
            v[3].setPoint(toObject(a, size_, at, -depth));
            for (SoPrimitiveVertex& vertex : v) vertex.setNormal(normal);
            // Counterclockwise seen from outside whichever way the contour runs.
            const SbVec3f turn =
                (v[1].getPoint() - v[0].getPoint()).cross(v[2].getPoint() - v[0].getPoint());
            if (turn.dot(normal) >= 0.0f) {
                sink(&v[0], &v[1], &v[2]);
                sink(&v[0], &v[2], &v[3]);
            } else {
                sink(&v[0], &v[2], &v[1]);
                sink(&v[0], &v[3], &v[2]);
            }
        }
    }
}

void SoTextGeometry::emitOutline(const SoGlyph& glyph, const SbVec2f& at, int charIndex,
                                 const LineSink& sink) const {
    SoLineDetail detail;
    detail.setLineIndex(charIndex);
    detail.setPartIndex(FRONT_PART);
    SoPrimitiveVertex v[2];
    for (SoPrimitiveVertex& vertex : v) {
        vertex.setMaterialIndex(materialIndexOf(FRONT_PART));
        vertex.setDetail(&detail);
    }
    for (const auto& contour : glyph.contours) {
        for (size_t i = 0; i < contour.size(); ++i) {
            v[0].setPoint(toObject(contour[i], size_, at, 0.0f));
            v[1].setPoint(toObject(contour[(i + 1) % contour.size()], size_, at, 0.0f));
            sink(&v[0], &v[1]);
        }
    }
}

void SoTextGeometry::computeBBox(SbBox3f& box, SbVec3f& center) const {
    box.makeEmpty();
    const float zMin = (parts_ & (SIDES | BACK)) ? -depthFor(size_) : 0.0f;
    for (int k = 0; k < static_cast<int>(lines_.size()); ++k) {
        const SbVec2f origin = lineOrigin(k);
        for (const SoFontLibrary::PlacedGlyph& placed : lines_[k].glyphs) {
            if (!placed.glyph || !placed.glyph->hasInk()) continue;
            const SbVec2f at(origin[0] + placed.x * size_, origin[1]);
            box.extendBy(toObject(placed.glyph->inkMin, size_, at, zMin));
            box.extendBy(toObject(placed.glyph->inkMax, size_, at, 0.0f));
        }
    }
    center = box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
}
