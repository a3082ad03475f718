#include "SoGlyphBuilder.h"

#include <Tessara/misc/SoPolygonTessellator.h>

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace {

// The state FT_Outline_Decompose threads through its callbacks.
struct Flattener {
    float scale;
    int segments;
    std::vector<std::vector<SbVec2f>>* contours;
    SbVec2f pen;

    SbVec2f toEm(const FT_Vector* v) const {
        return SbVec2f(static_cast<float>(v->x) * scale, static_cast<float>(v->y) * scale);
    }
    void add(const SbVec2f& p) {
        std::vector<SbVec2f>& contour = contours->back();
        if (contour.empty() || !(contour.back() == p)) contour.push_back(p);
        pen = p;
    }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->contours->emplace_back();
    f->add(f->toEm(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->add(f->toEm(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const SbVec2f p0 = f->pen, p1 = f->toEm(control), p2 = f->toEm(to);
    for (int i = 1; i <= f->segments; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(f->segments);
        const float u = 1.0f - t;
        f->add(p0 * (u * u) + p1 * (2.0f * u * t) + p2 * (t * t));
    }
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const SbVec2f p0 = f->pen, p1 = f->toEm(c1), p2 = f->toEm(c2), p3 = f->toEm(to);
    for (int i = 1; i <= f->segments; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(f->segments);
        const float u = 1.0f - t;
        f->add(p0 * (u * u * u) + p1 * (3.0f * u * u * t) + p2 * (3.0f * u * t * t) +
               p3 * (t * t * t));
    }
    return 0;
}

float cross(const SbVec2f& a, const SbVec2f& b, const SbVec2f& c) {
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

}  // namespace

std::shared_ptr<SoGlyph> SoGlyphBuilder::build(FT_Face face, FT_UInt glyphIndex,
                                               int segmentsPerCurve) {
    auto glyph = std::make_shared<SoGlyph>();
    // Unscaled, unhinted outlines: hinting snaps to a pixel grid that vector output lacks.
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    if (!face || face->units_per_EM == 0 || FT_Load_Glyph(face, glyphIndex, flags) != 0)
        return glyph;
    const float scale = 1.0f / static_cast<float>(face->units_per_EM);
    glyph->advance = static_cast<float>(face->glyph->advance.x) * scale;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return glyph;
    const FT_Outline& outline = face->glyph->outline;
    glyph->fillsRightOfContour =
        FT_Outline_Get_Orientation(const_cast<FT_Outline*>(&outline)) != FT_ORIENTATION_POSTSCRIPT;
    flatten(outline, scale, std::max(1, segmentsPerCurve), *glyph);
    tessellate(*glyph);
    computeInk(*glyph);
    return glyph;
}

void SoGlyphBuilder::flatten(const FT_Outline& outline, float scale, int segments, SoGlyph& glyph) {
    FT_Outline_Funcs funcs{};
    funcs.move_to = &moveTo;
    funcs.line_to = &lineTo;
    funcs.conic_to = &conicTo;
    funcs.cubic_to = &cubicTo;
    Flattener flattener{scale, segments, &glyph.contours, SbVec2f(0, 0)};
    if (FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, &flattener) != 0)
        glyph.contours.clear();
    // The decomposer closes each contour by returning to its start; the loops are implicit.
    for (auto& contour : glyph.contours)
        if (contour.size() > 1 && contour.front() == contour.back()) contour.pop_back();
    glyph.contours.erase(std::remove_if(glyph.contours.begin(), glyph.contours.end(),
                                        [](const auto& c) { return c.size() < 3; }),
                         glyph.contours.end());
}

void SoGlyphBuilder::tessellate(SoGlyph& glyph) {
    if (glyph.contours.empty()) return;
    // Font outlines are filled by the non-zero rule: overlapping contours of one glyph (as
    // in composite accented letters) must not punch holes into each other.
    SoPolygonTessellator tess(SoPolygonTessellator::NONZERO);
    tess.beginPolygon();
    for (const auto& contour : glyph.contours) {
        tess.beginContour();
        for (const SbVec2f& p : contour) tess.addVertex(SbVec3f(p[0], p[1], 0.0f));
        tess.endContour();
    }
    if (!tess.endPolygon()) return;
    const std::vector<int>& ids = tess.getTriangles();
    for (size_t i = 0; i + 2 < ids.size(); i += 3) {
        SbVec2f corner[3];
        for (int k = 0; k < 3; ++k) {
            const SbVec3f& p = tess.getPoint(ids[i + k]);
            corner[k].setValue(p[0], p[1]);
        }
        const float area2 = cross(corner[0], corner[1], corner[2]);
        if (std::fabs(area2) < 1e-12f) continue;
        if (area2 < 0.0f) std::swap(corner[1], corner[2]);
        glyph.triangles.insert(glyph.triangles.end(), corner, corner + 3);
    }
}

void SoGlyphBuilder::computeInk(SoGlyph& glyph) {
    for (const auto& contour : glyph.contours) {
        for (const SbVec2f& p : contour) {
            if (!glyph.hasInk()) {
                glyph.inkMin = glyph.inkMax = p;
                continue;
            }
            glyph.inkMin.setValue(std::min(glyph.inkMin[0], p[0]), std::min(glyph.inkMin[1], p[1]));
            glyph.inkMax.setValue(std::max(glyph.inkMax[0], p[0]), std::max(glyph.inkMax[1], p[1]));
        }
    }
}
